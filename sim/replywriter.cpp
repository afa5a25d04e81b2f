#include "sim/replywriter.h"

#include <algorithm>

namespace karvsim {

namespace {

std::vector<std::uint8_t> wireBytes(std::span<const std::uint8_t> reply, const LineFaults &faults)
{
    std::vector<std::uint8_t> wire = faults.leadingBytes;
    for (std::size_t i = 0; i < reply.size(); ++i) {
        if (faults.droppedByte != i)
            wire.push_back(reply[i]);
    }
    wire.insert(wire.end(), faults.trailingBytes.begin(), faults.trailingBytes.end());
    return wire;
}

} // namespace

bool ReplyWriter::enqueue(std::span<const std::uint8_t> reply, const LineFaults &faults, int baudRate,
                          TimePoint now)
{
    if (faults.silent)
        return false;
    const std::vector<std::uint8_t> wire = wireBytes(reply, faults);
    if (wire.empty() || queuedBytes_ + wire.size() > kMaxQueuedBytes)
        return false;

    const int pace = faults.byteTiming ? baudRate : 0;
    TimePoint ready = now + faults.replyDelay;
    const std::size_t firstPiece = pieces_.size();
    for (std::size_t i = 0; i < wire.size(); ++i) {
        if (i > 0 && faults.chunkSize > 0 && i % faults.chunkSize == 0)
            ready = line_.free() + faults.chunkPause;
        const TimePoint at = line_.next(ready, pace);
        if (pieces_.size() == firstPiece || pieces_.back().due != at)
            pieces_.push_back({at, {}, false});
        pieces_.back().bytes.push_back(wire[i]);
    }
    pieces_.back().endsReply = true;
    queuedBytes_ += wire.size();
    return true;
}

std::optional<ReplyWriter::TimePoint> ReplyWriter::nextDue() const
{
    if (pieces_.empty())
        return std::nullopt;
    return pieces_.front().due;
}

std::span<const std::uint8_t> ReplyWriter::due(TimePoint now) const
{
    if (pieces_.empty() || pieces_.front().due > now)
        return {};
    return pieces_.front().bytes;
}

bool ReplyWriter::consume(std::size_t count)
{
    Piece &front = pieces_.front();
    count = std::min(count, front.bytes.size());
    front.bytes.erase(front.bytes.begin(), front.bytes.begin() + static_cast<std::ptrdiff_t>(count));
    queuedBytes_ -= count;
    if (!front.bytes.empty())
        return false;
    const bool endsReply = front.endsReply;
    pieces_.pop_front();
    return endsReply;
}

} // namespace karvsim
