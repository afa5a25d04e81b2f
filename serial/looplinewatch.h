#pragma once

#include "serial/lineevents.h"

#include <QObject>
#include <QSocketNotifier>

#include <functional>

// Watches one open port for line events from the event loop of the thread
// it lives on, and raises them there directly: the way for a component on a
// worker thread that has no window to keep responsive (karvctl's jobs). It
// costs no thread and no hand-over per event, which matter when every reply
// is an event. The loop sleeps on an epoll set that holds the port
// edge-triggered, so the events come as the event thread's do.
//
// A hang-up of the port stops the watch: it emits HungUp, as nothing can
// arrive any more. So does a handler that throws, silently. As with the
// event thread, a handler must not close or reopen the port.
class LoopLineWatch : public QObject
{
    Q_OBJECT

public:
    using Dispatch = std::function<void(quint32 EventMask)>;

    LoopLineWatch(int PortHandle, TC32EventType MonitorEvents, Dispatch Callback);
    // Drops the received bytes nobody read, as the event thread does.
    ~LoopLineWatch() override;

signals:
    void HungUp();

private:
    void Wake();

    const int FPort;
    LineEvents FLineEvents;
    Dispatch FCallback;
    const int FPoller;
    QSocketNotifier FNotifier;
};
