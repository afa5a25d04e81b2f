#pragma once

#include "serial/comm32.h"
#include "serial/eventfd.h"
#include "serial/handover.h"
#include "serial/lineevents.h"

#include <QSocketNotifier>
#include <QThread>

#include <atomic>
#include <functional>

// Watches one open port for line events and hands each to the thread that
// created it (the main thread), blocking until that thread has served it.
// It waits on descriptors only: no polling, no time-outs.
//
// What a tty can report: received bytes (EV_RXCHAR) and, from drivers that
// count them, breaks (EV_BREAK) and receive errors (EV_ERR), noticed with the
// bytes they come with. Modem-line changes (CTS, DSR, RING, RLSD) could only
// be awaited with TIOCMIWAIT, which no descriptor can interrupt, and a tty
// cannot tell the arrival of one chosen character (EV_RXFLAG) or an empty
// transmitter (EV_TXEMPTY): those events are never raised.
//
// A hang-up of the port (far side gone, adapter unplugged) ends the thread:
// it emits HungUp and stops, as nothing can arrive any more.
class TC32Thread : public QThread
{
    Q_OBJECT

public:
    using TC32Callback = std::function<void(quint32 EventMask)>;

    // Does not start the thread: set the callback, then start().
    TC32Thread(int PortHandle, TC32EventType MonitorEvents, QObject *Parent = nullptr);
    // Stops the thread and waits for its end, serving a hand-over it may be
    // blocked in meanwhile, so that stopping never deadlocks.
    ~TC32Thread() override;

    void SetCallback(TC32Callback Callback) { FCallback = std::move(Callback); }
    void SignalStop();
    int HandOverNoticeFd() const { return FHandOver.NoticeFd(); }

signals:
    // Emitted from the thread, once, as it ends for a hang-up.
    void HungUp();

private:
    void run() override;
    // True when it ended for a hang-up of the port.
    bool Execute();
    // Hands the events of one wake-up over; false when a handler failed.
    bool HandOverLineEvents();
    void NotifyOwner();
    void ServeHandOver();
    void WaitServingHandOvers();

    const int FPort;
    LineEvents FLineEvents;
    TC32Callback FCallback;
    EventFd FStop;
    EventFd FEnded;
    HandOver FHandOver;
    std::atomic<quint32> FEventMask = 0;
    // Wakes the owner's event loop for a hand-over; declared after FHandOver
    // so that it goes before the descriptor it watches.
    QSocketNotifier FNotifier;
};
