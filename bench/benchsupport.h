#pragma once

#include <QString>

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class TFormMain;

namespace Bench {

// CPU time (user + system) the process has used so far.
std::chrono::microseconds cpuTime();
// The process's resident memory; -1 when it cannot be read.
long residentKiB();

// Runs the event loop for `span` and returns the CPU time (user + system)
// the whole process used meanwhile, as a share of one core.
double cpuShareWhileIdle(std::chrono::milliseconds span);

// The value below which `share` (0..1) of the values lie, nearest rank.
double percentile(std::vector<double> values, double share);

// A shown main window whose settings file in `directory` maps COM1 to
// `devicePath`, its port opened by "&Open"; null when the port did not open.
std::unique_ptr<TFormMain> openPanel(const QString &directory, const QString &devicePath);

// Sends "$20: Position" from the window `count` times, each once the reply
// to the one before has ended the wait, and calls afterReply with the
// cycle's number (from 0) right after the window took its reply. The tick
// counter is stepped past the 100 ms pacing by hand, so that cycles follow
// each other at once. False when a reply did not come within 2 s.
bool runQueryCycles(TFormMain &window, std::size_t count, const std::function<void(std::size_t)> &afterReply);

// Headless unless the caller chose a platform.
void useOffscreenByDefault();

} // namespace Bench
