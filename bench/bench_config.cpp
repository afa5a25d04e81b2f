// Read and write+verify of a unit's whole configuration at 19200 baud against
// the simulated unit with real line timing, against the pacing floor: the
// number of frames times the 100 ms that must pass between two of them.

#include "benchsupport.h"

#include "config/configoperations.h"
#include "config/exchangechannel.h"
#include "protocol/exchangetiming.h"
#include "serial/comm32.h"
#include "sim/simulatedunit.h"
#include "toolkit/application.h"

#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

struct Figure
{
    const char *name;
    int frames;
    double seconds;
};

void print(const Figure &figure)
{
    const double floor = figure.frames * Protocol::MinSendInterval / 1000.0;
    std::printf("  %-14s %3d frames  %6.3f s  floor %6.3f s  %.3f x the floor\n", figure.name, figure.frames,
                figure.seconds, floor, figure.seconds / floor);
}

} // namespace

// The floor counts 100 ms for every frame, the first included, which goes
// out at once: a read of 23 frames can come in under it.
int main(int argc, char **argv)
{
    Bench::useOffscreenByDefault();
    Application app(argc, argv);
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toUtf8());

    karvsim::SimulatedUnit unit;
    karvsim::LineFaults line;
    line.byteTiming = true;
    unit.setFaults(line);
    TComm32 port;
    port.SetDeviceName(QString::fromStdString(unit.devicePath()));
    port.SetBaudRate(cbr19200);
    port.SetMonitorEvents(evRxChar);
    port.Open();
    if (!port.IsOpen()) {
        std::fprintf(stderr, "bench_config: the port did not open\n");
        return 1;
    }
    SerialChannel channel(port);
    ConfigOperations operations(channel, 0x01, QString::fromStdString(unit.devicePath()));
    int frames = 0;
    QObject::connect(&operations, &ConfigOperations::progress, [&frames](int done, int) { frames = done; });

    const auto timed = [&](const char *name, const auto &operation) {
        const Clock::time_point start = Clock::now();
        const ConfigOperations::Result result = operation();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (!result.complete) {
            std::fprintf(stderr, "bench_config: %s stopped: %s\n", name, qPrintable(ConfigOperations::describe(result)));
            std::exit(1);
        }
        print({name, frames, seconds});
        return result;
    };
    std::printf("configuration at 19200 baud, line timing on:\n");
    const ConfigOperations::Result read = timed("read", [&] { return operations.read(); });
    timed("write+verify", [&] { return operations.write(read.unit, {}); });
    return 0;
}
