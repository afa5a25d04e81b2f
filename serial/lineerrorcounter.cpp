#include "serial/lineerrorcounter.h"

#include "serial/comm32.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

bool LineErrorCounter::Read(int Fd, Totals &Result)
{
    serial_icounter_struct counts{};
    if (ioctl(Fd, TIOCGICOUNT, &counts) != 0)
        return false;
    Result = {counts.frame, counts.overrun, counts.parity, counts.brk, counts.buf_overrun};
    return true;
}

void LineErrorCounter::Reset(int Fd)
{
    FLast = {};
    Read(Fd, FLast);
}

quint32 LineErrorCounter::Take(int Fd)
{
    Totals now;
    if (!Read(Fd, now))
        return 0;
    quint32 flags = 0;
    if (now.BufferOverrun != FLast.BufferOverrun)
        flags |= CE_RXOVER;
    if (now.Overrun != FLast.Overrun)
        flags |= CE_OVERRUN;
    if (now.Parity != FLast.Parity)
        flags |= CE_RXPARITY;
    if (now.Frame != FLast.Frame)
        flags |= CE_FRAME;
    if (now.Break != FLast.Break)
        flags |= CE_BREAK;
    FLast = now;
    return flags;
}
