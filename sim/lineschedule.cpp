#include "sim/lineschedule.h"

#include <algorithm>

namespace karvsim {

namespace {

// n byte times at `baudRate`, exact to the nanosecond, without overflow for any run.
std::chrono::nanoseconds byteTimes(std::int64_t n, int baudRate)
{
    if (baudRate <= 0)
        return std::chrono::nanoseconds(0);
    constexpr std::int64_t kBitsTimesNs = 10 * 1'000'000'000LL;
    return std::chrono::nanoseconds(n / baudRate * kBitsTimesNs
                                    + n % baudRate * kBitsTimesNs / baudRate);
}

} // namespace

LineSchedule::TimePoint LineSchedule::next(TimePoint ready, int baudRate)
{
    if (ready > free_ || baudRate != baudRate_) {
        runStart_ = std::max(ready, free_);
        runBytes_ = 0;
        baudRate_ = baudRate;
    }
    ++runBytes_;
    free_ = runStart_ + byteTimes(runBytes_, baudRate_);
    return free_;
}

} // namespace karvsim
