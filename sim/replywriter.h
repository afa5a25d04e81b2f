#pragma once

#include "sim/linefaults.h"
#include "sim/lineschedule.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace karvsim {

// Turns replies into timed pieces of output, with the faults of the moment
// applied, and hands them out when they are due. Replies follow one another
// on the line: a reply never starts before the previous one has gone out, and
// with byte timing the bytes of replies that follow closely keep one schedule.
class ReplyWriter
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // Queues `reply`, ready at `now`; `baudRate` sets the byte time when the faults
    // ask for it. Returns false when the reply was not queued (silent, or the panel
    // reads nothing and too much output is already waiting).
    bool enqueue(std::span<const std::uint8_t> reply, const LineFaults &faults, int baudRate,
                 TimePoint now);

    // When the next piece is due; nothing when no output is waiting.
    std::optional<TimePoint> nextDue() const;
    // The bytes that may be written at `now` in one go; empty while nothing is due.
    std::span<const std::uint8_t> due(TimePoint now) const;
    // Takes `count` bytes of `due` as written; true when they finished a reply.
    bool consume(std::size_t count);

private:
    struct Piece
    {
        TimePoint due;
        std::vector<std::uint8_t> bytes;
        bool endsReply;
    };

    static constexpr std::size_t kMaxQueuedBytes = 4096;

    std::deque<Piece> pieces_;
    std::size_t queuedBytes_ = 0;
    LineSchedule line_;
};

} // namespace karvsim
