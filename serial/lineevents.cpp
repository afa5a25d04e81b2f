#include "serial/lineevents.h"

#include "serial/ttyqueue.h"

#include <sys/epoll.h>

namespace {

quint32 EventMaskFor(TC32EventType Events)
{
    static constexpr struct
    {
        TC32EventState Event;
        quint32 Bit;
    } kBits[] = {
        {evBreak, EV_BREAK}, {evCTS, EV_CTS}, {evDSR, EV_DSR},
        {evError, EV_ERR}, {evRing, EV_RING}, {evRlsd, EV_RLSD},
        {evRxChar, EV_RXCHAR}, {evRxFlag, EV_RXFLAG}, {evTxEmpty, EV_TXEMPTY},
    };
    quint32 mask = 0;
    for (const auto &entry : kBits) {
        if (Events.testFlag(entry.Event))
            mask |= entry.Bit;
    }
    return mask;
}

quint32 EventsOfLineErrors(quint32 Errors)
{
    quint32 events = 0;
    if (Errors & CE_BREAK)
        events |= EV_BREAK;
    if (Errors & ~quint32(CE_BREAK))
        events |= EV_ERR;
    return events;
}

} // namespace

LineEvents::LineEvents(int Port, TC32EventType Watched)
    : FPort(Port)
    , FWatchedMask(EventMaskFor(Watched))
{
    FLineErrors.Reset(FPort);
}

bool LineEvents::Report(const std::function<bool(quint32 EventMask)> &Deliver, const std::function<bool()> &Stopped)
{
    int waiting = TtyQueue::InputCount(FPort);
    quint32 mask = EventsOfLineErrors(FLineErrors.Take(FPort)) | (waiting > 0 ? quint32(EV_RXCHAR) : 0u);
    mask &= FWatchedMask;
    while (mask != 0 && !Stopped()) {
        if (!Deliver(mask))
            return false;
        const int left = TtyQueue::InputCount(FPort);
        mask = (left > 0 && left < waiting) ? (FWatchedMask & EV_RXCHAR) : 0;
        waiting = left;
    }
    return true;
}

bool LineEvents::AddTo(int Poller) const
{
    epoll_event port{};
    port.events = EPOLLIN | EPOLLET;
    port.data.fd = FPort;
    return epoll_ctl(Poller, EPOLL_CTL_ADD, FPort, &port) == 0;
}
