#include "toolkit/eventwait.h"

#include "toolkit/ticks.h"

#include <QCoreApplication>
#include <QTimer>

namespace Toolkit {

bool waitUntil(const std::function<bool()> &done, quint32 limit)
{
    // Many waits are over before they begin (a write that has left): they
    // need no timer.
    if (done())
        return true;
    const quint32 start = Ticks();
    // Wakes the loop when the limit falls due and no other event comes;
    // every event, this one included, ends one round of waiting.
    QTimer deadline;
    deadline.setSingleShot(true);
    for (;;) {
        if (done())
            return true;
        const quint32 elapsed = Ticks() - start;
        if (elapsed > limit)
            return false;
        deadline.start(std::chrono::milliseconds(limit - elapsed + 1));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

} // namespace Toolkit
