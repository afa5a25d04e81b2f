#pragma once

#include <sys/types.h>

// The calls on an open port that a pseudo-terminal cannot show: the driver's
// modem lines and RS-485 and serial records (ioctl), writes, and waiting for
// the transmit queue to drain. A component makes them all through one of
// these, so that a test can stand in for a real adapter's driver. Calls come
// from the component's thread and from its writer thread.
class PortCalls
{
public:
    virtual ~PortCalls() = default;
    virtual int Ioctl(int Fd, unsigned long Request, void *Argument) = 0;
    // As write(2).
    virtual ssize_t Write(int Fd, const void *Buffer, size_t Count) = 0;
    // Blocks until every byte written has left the line (or the output is
    // dropped, or the port hangs up).
    virtual int Drain(int Fd) = 0;
};

// The system's calls.
class SystemPortCalls : public PortCalls
{
public:
    int Ioctl(int Fd, unsigned long Request, void *Argument) override;
    ssize_t Write(int Fd, const void *Buffer, size_t Count) override;
    int Drain(int Fd) override;

    // The one every component uses unless it is given another.
    static SystemPortCalls &Shared();
};

// True when the driver reports modem lines (a pseudo-terminal has none).
bool HasModemLines(PortCalls &Calls, int Fd);
// Raises or drops one modem line (TIOCM_RTS, TIOCM_DTR).
bool SetModemLine(PortCalls &Calls, int Fd, int Line, bool On);
