#include "sim/framereader.h"

namespace karvsim {

FrameReader::FrameReader(std::chrono::nanoseconds gap)
    : gap_(gap)
{
}

std::optional<CommandFrame> FrameReader::push(std::uint8_t byte, TimePoint at)
{
    if (count_ > 0 && at - lastByte_ > gap_)
        count_ = 0;
    lastByte_ = at;
    partial_[count_++] = byte;
    if (count_ < partial_.size())
        return std::nullopt;
    count_ = 0;
    return partial_;
}

void FrameReader::reset()
{
    count_ = 0;
}

} // namespace karvsim
