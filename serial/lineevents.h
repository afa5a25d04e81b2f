#pragma once

#include "serial/comm32.h"
#include "serial/lineerrorcounter.h"

#include <functional>

// What one wake-up on a port has to report, and the rule for handing it to
// the component, shared by the event thread and the in-loop watch: the
// events of the receive errors counted since the last look and of the bytes
// waiting, restricted to the events watched. Bytes left by handlers that
// took some (a bounded buffer) are reported again at once; bytes nobody
// took wait for more to arrive.
class LineEvents
{
public:
    LineEvents(int Port, TC32EventType Watched);

    // Hands the events of one wake-up to Deliver, which returns false when a
    // handler failed (then false). Stops early once Stopped() holds.
    bool Report(const std::function<bool(quint32 EventMask)> &Deliver, const std::function<bool()> &Stopped);

    // Adds the port to an epoll set, edge-triggered, so that bytes no handler
    // takes do not wake the waiter again and again. Readable is watched even
    // when no line event is, as it is readable that a tty's hang-up wakes its
    // waiters with. False when epoll refuses the port.
    bool AddTo(int Poller) const;

private:
    const int FPort;
    const quint32 FWatchedMask;
    LineErrorCounter FLineErrors;
};
