#pragma once

#include <QtGlobal>

#include <functional>

namespace Toolkit {

// Waits inside a handler without blocking the window: sleeps in the event
// loop, dispatching every window event that arrives (serial hand-overs and
// repaints among them), until done() holds or more than limit milliseconds
// of Ticks() have passed since the call. The elapsed time is the unsigned
// difference of two tick readings, so a wrap of the counter does not end the
// wait early. Returns done() as it stands at the end.
bool waitUntil(const std::function<bool()> &done, quint32 limit);

} // namespace Toolkit
