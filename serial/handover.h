#pragma once

#include "serial/eventfd.h"

#include <atomic>
#include <functional>

// A synchronous call from a worker thread into the thread that serves it:
// the worker raises a request and blocks until the server has run the call.
// The server learns of the request from a descriptor, so it can take it in
// its event loop (QSocketNotifier) or while it waits for the worker to end.
class HandOver
{
public:
    // Worker side: blocks until the request has been served. False when the
    // served call ended with an exception.
    bool Request();

    // Server side: readable while a request waits.
    int NoticeFd() const { return FRequest.Fd(); }
    // Runs Call if a request waits and releases the worker. An exception
    // that escapes Call is not passed on: the worker learns of it instead.
    void ServePending(const std::function<void()> &Call);

private:
    EventFd FRequest;
    EventFd FServed;
    std::atomic<bool> FCallFailed = false;
};
