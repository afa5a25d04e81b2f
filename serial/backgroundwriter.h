#pragma once

#include "serial/eventfd.h"

#include <QByteArray>

#include <atomic>
#include <functional>
#include <thread>

// Finishes, in a thread of its own, what a write could not hand to the tty
// at once, and optionally waits for the transmit queue to drain (to drop RTS
// after the last byte). Holds at most one job; the main thread never waits
// for the line.
class BackgroundWriter
{
public:
    BackgroundWriter() = default;
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter &) = delete;
    BackgroundWriter &operator=(const BackgroundWriter &) = delete;

    // Writes Rest to Fd as the tty takes it. With WhenDrained, then waits
    // until the last byte has left and calls it (in the job's thread; also
    // when the job failed or was aborted). Only when !Busy().
    void Start(int Fd, QByteArray Rest, std::function<void()> WhenDrained = {});
    // True while a job runs. A job that has ended - done, failed or aborted -
    // is reaped here without waiting.
    bool Busy();
    // Bytes of the running job not yet handed to the tty.
    int Remaining() const { return FRemaining; }
    // Ends a running job at once, dropping what the tty still holds to send.
    void Abort();
    // Blocks until a running job has ended by itself.
    void Wait();

private:
    void Run(const std::function<void()> &WhenDrained);
    bool WriteRest();

    EventFd FAbort;
    std::thread FThread;
    QByteArray FRest;
    std::atomic<int> FRemaining = 0;
    std::atomic<bool> FEnded = false;
    int FFd = -1;
};
