#pragma once

#include "config/exchangechannel.h"
#include "serial/comm32.h"
#include "sim/simulatedunit.h"

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
