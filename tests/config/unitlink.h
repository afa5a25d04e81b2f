#pragma once

#include "config/serialchannel.h"
#include "serial/comm32.h"
#include "sim/simulatedunit.h"
#include "toolkit/ticks.h"

#include <QTimer>

#include <memory>

// A simulated unit on a pty with the panel's port open on it and a channel
// over that port.
struct UnitLink
{
    UnitLink()
    {
        port.SetDeviceName(QString::fromStdString(unit.devicePath()));
        port.SetBaudRate(cbr19200);
        port.SetMonitorEvents(evRxChar);
        port.Open();
        channel = std::make_unique<SerialChannel>(port);
    }

    karvsim::SimulatedUnit unit;
    TComm32 port;
    std::unique_ptr<SerialChannel> channel;
};

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
