#include "serial/eventfd.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

#include <QtGlobal>

EventFd::EventFd()
    : FFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    // Without it no thread could ever be woken or stopped.
    if (FFd < 0)
        qFatal("eventfd: %s", strerror(errno));
}

EventFd::~EventFd()
{
    close(FFd);
}

void EventFd::Signal()
{
    const std::uint64_t one = 1;
    // Fails only when the counter would overflow, and then it is set anyway.
    while (write(FFd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

bool EventFd::Take()
{
    std::uint64_t count = 0;
    ssize_t got;
    do {
        got = read(FFd, &count, sizeof count);
    } while (got < 0 && errno == EINTR);
    return got == sizeof count;
}

int WaitReadable(std::initializer_list<int> Fds)
{
    std::vector<pollfd> watched;
    for (const int fd : Fds)
        watched.push_back({fd, POLLIN, 0});
    for (;;) {
        if (poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        for (size_t i = 0; i < watched.size(); ++i) {
            if (watched[i].revents != 0)
                return int(i);
        }
    }
}
