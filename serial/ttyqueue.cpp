#include "serial/ttyqueue.h"

#include <sys/ioctl.h>
#include <termios.h>

namespace {

int QueueCount(int Fd, unsigned long Request)
{
    int count = 0;
    return ioctl(Fd, Request, &count) == 0 ? count : 0;
}

} // namespace

namespace TtyQueue {

int InputCount(int Fd)
{
    return QueueCount(Fd, FIONREAD);
}

int OutputCount(int Fd)
{
    return QueueCount(Fd, TIOCOUTQ);
}

void DropInput(int Fd)
{
    tcflush(Fd, TCIFLUSH);
}

void DropOutput(int Fd)
{
    tcflush(Fd, TCOFLUSH);
}

} // namespace TtyQueue
