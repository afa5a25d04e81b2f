// CPU use of the panel after the far side of its open port hangs up: the
// simulated unit goes away, the window reports it and closes the port.

#include "benchsupport.h"

#include "app/formmain.h"
#include "serial/comm32.h"
#include "sim/simulatedunit.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"

#include <QTemporaryDir>

#include <cstdio>

using namespace std::chrono_literals;

int main(int argc, char **argv)
{
    Bench::useOffscreenByDefault();
    Application app(argc, argv);
    DialogRecorder dialogs;
    auto unit = std::make_unique<karvsim::SimulatedUnit>();
    QTemporaryDir directory;
    const auto window = Bench::openPanel(directory.path(), QString::fromStdString(unit->devicePath()));
    if (!window) {
        std::fprintf(stderr, "bench_hangup: the port did not open\n");
        return 1;
    }
    // Settle after showing and opening, then the far side is still there.
    Bench::cpuShareWhileIdle(500ms);
    const double before = Bench::cpuShareWhileIdle(3s);
    unit.reset();
    // Let the event thread see the hang-up before measuring.
    Bench::cpuShareWhileIdle(500ms);
    const double after = Bench::cpuShareWhileIdle(5s);
    std::printf("hang-up: port open, far side present: %.3f %% of a core over 3 s\n", before * 100.0);
    std::printf("         after the far side hung up:  %.3f %% of a core over 5 s\n", after * 100.0);
    std::printf("         boxes shown: %lld, port %s\n", static_cast<long long>(dialogs.boxes().size()),
                window->comm32()->IsOpen() ? "still open" : "closed");
    return 0;
}
