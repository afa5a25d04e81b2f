#pragma once

#include <QtGlobal>

namespace Toolkit {

// Milliseconds since an arbitrary start (the monotonic clock), as an
// unsigned 32-bit count that wraps after about 49.7 days: compare two
// readings only by their unsigned difference.
quint32 Ticks();

} // namespace Toolkit

// Test helper: while it lives, Ticks() reads the value set here instead of
// the clock.
class FakeTicks
{
public:
    explicit FakeTicks(quint32 start = 0);
    ~FakeTicks();
    FakeTicks(const FakeTicks &) = delete;
    FakeTicks &operator=(const FakeTicks &) = delete;

    void set(quint32 ticks) { m_ticks = ticks; }
    // Wraps like the real counter.
    void advance(quint32 milliseconds) { m_ticks += milliseconds; }

private:
    friend quint32 Toolkit::Ticks();
    quint32 m_ticks;
};
