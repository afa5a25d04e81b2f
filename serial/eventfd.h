#pragma once

#include <initializer_list>

// A counter descriptor one thread signals and another waits on with poll():
// the way our threads wake each other without time-outs.
class EventFd
{
public:
    EventFd();
    ~EventFd();
    EventFd(const EventFd &) = delete;
    EventFd &operator=(const EventFd &) = delete;

    int Fd() const { return FFd; }
    void Signal();
    // Consumes the signals given so far; false when there were none.
    bool Take();

private:
    int FFd;
};

// Blocks without time-out until one of Fds is readable (or reports an error
// or hang-up) and returns its position in the list; -1 when poll() fails.
int WaitReadable(std::initializer_list<int> Fds);
