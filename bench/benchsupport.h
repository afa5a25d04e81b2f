#pragma once

#include <QString>

#include <chrono>
#include <memory>
#include <vector>

class TFormMain;

namespace Bench {

// Runs the event loop for `span` and returns the CPU time (user + system)
// the whole process used meanwhile, as a share of one core.
double cpuShareWhileIdle(std::chrono::milliseconds span);

// The value below which `share` (0..1) of the values lie, nearest rank.
double percentile(std::vector<double> values, double share);

// A shown main window whose settings file in `directory` maps COM1 to
// `devicePath`, its port opened by "&Open"; null when the port did not open.
std::unique_ptr<TFormMain> openPanel(const QString &directory, const QString &devicePath);

// Headless unless the caller chose a platform.
void useOffscreenByDefault();

} // namespace Bench
