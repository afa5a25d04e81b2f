#pragma once

#include <linux/serial.h>

#include <optional>

class PortCalls;

// The settings of a serial driver that live outside termios and outlast the
// descriptor: its RS-485 mode and its low-latency mode. Each is saved before
// its first change and put back when the port is let go, so that the next
// program finds the port as this one found it. Drivers without a setting
// (a pseudo-terminal has neither) refuse it, and nothing is changed then.
class DriverSettings
{
public:
    // Starts on a newly opened port, with nothing saved; reaches the driver
    // through Calls until Detach.
    void Attach(int Fd, PortCalls &Calls);
    // Puts back what was changed since Attach and lets go of the port.
    // Failures are ignored: a device that has gone keeps nothing anyway.
    void Detach();

    // RS-485 mode, in which the driver raises RTS while it sends. False
    // where the driver has no such mode.
    bool EnableRs485RtsToggle();
    void DisableRs485();
    // On asks the driver to hand over received bytes at once; off puts back
    // what it was found with. False where the driver has no such setting.
    bool SetLowLatency(bool On);

private:
    // Reads the record, lets Change alter it (false: nothing to alter) and
    // writes it back, saving the record as found before the first write.
    template <typename Record, typename Change>
    bool Modify(std::optional<Record> &Found, unsigned long Get, unsigned long Set, Change &&ChangeRecord);
    template <typename Record>
    void PutBack(std::optional<Record> &Found, unsigned long Set);

    PortCalls *FCalls = nullptr;
    int FFd = -1;
    std::optional<serial_rs485> FFoundRs485;
    std::optional<serial_struct> FFoundSerial;
};
