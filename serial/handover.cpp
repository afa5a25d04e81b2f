#include "serial/handover.h"

bool HandOver::Request()
{
    FRequest.Signal();
    while (!FServed.Take()) {
        if (WaitReadable({FServed.Fd()}) < 0)
            return false;
    }
    return !FCallFailed;
}

void HandOver::ServePending(const std::function<void()> &Call)
{
    if (!FRequest.Take())
        return;
    try {
        Call();
        FCallFailed = false;
    } catch (...) {
        FCallFailed = true;
    }
    FServed.Signal();
}
