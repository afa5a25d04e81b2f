#pragma once

#include "serial/eventfd.h"

#include <QByteArray>

#include <atomic>
#include <mutex>
#include <thread>

class PortCalls;

// The writer of one open port: a thread for as long as the port is open
// that finishes what a write could not hand to the tty at once and, where
// RTS is toggled by hand, waits for the last byte to leave and drops RTS.
// Between jobs it sleeps on its descriptors. It holds at most one job; the
// main thread never waits for the line.
class PortWriter
{
public:
    // Starts the thread for the open port Fd.
    PortWriter(PortCalls &Calls, int Fd);
    // Ends a running job at once and stops the thread.
    ~PortWriter();
    PortWriter(const PortWriter &) = delete;
    PortWriter &operator=(const PortWriter &) = delete;

    // Writes Rest as the tty takes it; with DropRts, then waits until the
    // last byte has left and drops RTS (also when the job failed or was
    // aborted). Only while !Busy().
    void Start(QByteArray Rest, bool DropRts);
    // True from Start until the job has ended - done, failed or aborted.
    bool Busy() const { return FBusy; }
    // Bytes of the running job not yet handed to the tty.
    int Remaining() const { return FRemaining; }
    // Ends a running job at once, dropping what the tty still holds to send.
    void Abort();
    // Blocks until a running job has ended by itself.
    void Wait();
    // Readable once a job has ended, until TakeEnded.
    int EndedFd() const { return FEnded.Fd(); }
    void TakeEnded() { FEnded.Take(); }

private:
    void Run();
    void RunJob();
    bool WriteRest(const QByteArray &Rest);

    PortCalls &FCalls;
    const int FFd;
    EventFd FJob;
    EventFd FAbort;
    EventFd FStop;
    EventFd FEnded;
    std::mutex FMutex;
    QByteArray FRest;
    bool FDropRts = false;
    std::atomic<bool> FBusy = false;
    std::atomic<int> FRemaining = 0;
    // Last, so that it starts with everything above in place.
    std::thread FThread;
};
