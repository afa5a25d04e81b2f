#include "serial/looplinewatch.h"

#include "serial/ttyqueue.h"

#include <sys/epoll.h>
#include <unistd.h>

LoopLineWatch::LoopLineWatch(int PortHandle, TC32EventType MonitorEvents, Dispatch Callback)
    : FPort(PortHandle)
    , FLineEvents(PortHandle, MonitorEvents)
    , FCallback(std::move(Callback))
    , FPoller(epoll_create1(EPOLL_CLOEXEC))
    , FNotifier(FPoller, QSocketNotifier::Read)
{
    // Without the set, or with a port epoll refuses, nothing would wake the
    // watch: it raises no events, as the event thread in that case.
    if (FPoller < 0 || !FLineEvents.AddTo(FPoller)) {
        FNotifier.setEnabled(false);
        return;
    }
    connect(&FNotifier, &QSocketNotifier::activated, this, &LoopLineWatch::Wake);
}

LoopLineWatch::~LoopLineWatch()
{
    FNotifier.setEnabled(false);
    if (FPoller >= 0)
        close(FPoller);
    TtyQueue::DropInput(FPort);
}

void LoopLineWatch::Wake()
{
    epoll_event ready{};
    if (epoll_wait(FPoller, &ready, 1, 0) != 1)
        return;
    const bool delivered = FLineEvents.Report(
        [this](quint32 EventMask) {
            try {
                FCallback(EventMask);
                return true;
            } catch (...) {
                return false;
            }
        },
        [] { return false; });
    // A hung-up tty stays ready for ever and nothing arrives any more.
    const bool hungUp = (ready.events & (EPOLLHUP | EPOLLERR)) != 0;
    if (!delivered || hungUp)
        FNotifier.setEnabled(false);
    if (delivered && hungUp)
        emit HungUp();
}
