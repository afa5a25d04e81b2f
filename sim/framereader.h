#pragma once

#include "sim/frames.h"

#include <chrono>
#include <cstddef>
#include <optional>

namespace karvsim {

// Cuts the unframed byte stream into 9-byte commands. The line carries no
// start marker, so the only way back into step after a stray or lost byte
// is time: the panel writes a frame in one go and paces frames at least
// 100 ms apart, so a silence longer than `gap` between two bytes means the
// bytes before it were a broken frame, and they are dropped.
class FrameReader
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit FrameReader(std::chrono::nanoseconds gap);

    // Takes one byte that arrived at `at`; returns a frame when it completes one.
    std::optional<CommandFrame> push(std::uint8_t byte, TimePoint at);
    // Drops a partial frame (bytes that were garbage on the line).
    void reset();

private:
    std::chrono::nanoseconds gap_;
    CommandFrame partial_{};
    std::size_t count_ = 0;
    TimePoint lastByte_{};
};

} // namespace karvsim
