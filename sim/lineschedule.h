#pragma once

#include <chrono>
#include <cstdint>

namespace karvsim {

// When bytes complete at the far end of a serial line: ten bits a byte at the
// given rate, one byte after the other. While the line stays busy, byte n of
// the run completes at exactly start + n × byte time, from the run's start and
// not from the byte before, so that no rounding and no late wake-up adds up.
// A rate of 0 stands for a line without byte time: bytes complete when ready.
class LineSchedule
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // A byte that is ready to go at `ready` (it goes when the line is free) at `baudRate`.
    TimePoint next(TimePoint ready, int baudRate);
    // When the last byte completes; the distant past before the first.
    TimePoint free() const { return free_; }

private:
    TimePoint runStart_{};
    std::int64_t runBytes_ = 0;
    int baudRate_ = 0;
    TimePoint free_{TimePoint::min()};
};

} // namespace karvsim
