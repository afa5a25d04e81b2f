#pragma once

#include <atomic>
#include <chrono>

namespace karvsim {

// The unit's own monotonic time, which drives the motion model. It follows
// the steady clock, or, when manual, stands still until a test advances it,
// so that motion can be checked at exact times without waiting.
class UnitClock
{
public:
    explicit UnitClock(bool manual)
        : manual_(manual)
    {
    }

    std::chrono::nanoseconds now() const
    {
        const auto base = manual_ ? std::chrono::nanoseconds(0)
                                  : std::chrono::steady_clock::now().time_since_epoch();
        return base + std::chrono::nanoseconds(offset_.load());
    }

    void advance(std::chrono::nanoseconds step) { offset_ += step.count(); }

private:
    bool manual_;
    std::atomic<std::chrono::nanoseconds::rep> offset_{0};
};

} // namespace karvsim
