#pragma once

#include "toolkit/ticks.h"

#include <QTimer>

// The tick counter running ten times faster than the clock, so that the
// pacing and the reply time limit pass without the tests sleeping through
// them; the simulated unit still answers within a few real milliseconds.
class FastTicks
{
public:
    FastTicks()
        : m_ticks(1000)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { m_ticks.advance(10); });
        m_timer.start(1);
    }

private:
    FakeTicks m_ticks;
    QTimer m_timer;
};
