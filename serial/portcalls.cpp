#include "serial/portcalls.h"

#include <cerrno>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

int SystemPortCalls::Ioctl(int Fd, unsigned long Request, void *Argument)
{
    return ioctl(Fd, Request, Argument);
}

ssize_t SystemPortCalls::Write(int Fd, const void *Buffer, size_t Count)
{
    ssize_t put;
    do {
        put = write(Fd, Buffer, Count);
    } while (put < 0 && errno == EINTR);
    return put;
}

int SystemPortCalls::Drain(int Fd)
{
    return tcdrain(Fd);
}

SystemPortCalls &SystemPortCalls::Shared()
{
    static SystemPortCalls calls;
    return calls;
}

bool HasModemLines(PortCalls &Calls, int Fd)
{
    int lines = 0;
    return Calls.Ioctl(Fd, TIOCMGET, &lines) == 0;
}

bool SetModemLine(PortCalls &Calls, int Fd, int Line, bool On)
{
    return Calls.Ioctl(Fd, On ? TIOCMBIS : TIOCMBIC, &Line) == 0;
}
