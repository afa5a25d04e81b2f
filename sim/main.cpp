// karvel-sim: a simulated Karvel 2 on a pseudo-terminal, for trying the
// panel without hardware.

#include "sim/bootdump.h"
#include "sim/commandline.h"
#include "sim/publishedlink.h"
#include "sim/simulatedunit.h"

#include <sys/signalfd.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <vector>

using namespace karvsim;

namespace {

// Blocks the stop signals in every thread (the serving thread inherits the
// mask) and returns a descriptor to wait for them on.
UniqueFd stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, s);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    UniqueFd fd(::signalfd(-1, &set, SFD_CLOEXEC));
    if (!fd.valid())
        throw std::system_error(errno, std::generic_category(), "signalfd");
    return fd;
}

void waitForSignal(const UniqueFd &signals)
{
    signalfd_siginfo info{};
    while (::read(signals.get(), &info, sizeof info) < 0 && errno == EINTR) {
    }
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    CommandLine line;
    try {
        line = parseCommandLine(arguments);
    } catch (const std::invalid_argument &e) {
        std::cerr << "karvel-sim: " << e.what() << '\n' << usage();
        return 2;
    }
    if (line.help) {
        std::cout << usage();
        return 0;
    }

    try {
        const UniqueFd signals = stopSignals();
        SimulatedUnit unit(line.unit);
        unit.setFaults(line.faults);
        unit.setBootFaults(line.bootFaults);
        std::optional<PublishedLink> link;
        if (!line.link.empty())
            link.emplace(unit.devicePath(), line.link);
        std::cout << unit.devicePath() << std::endl;
        std::fprintf(stderr, "karvel-sim: unit %02X at %d baud%s on %s%s%s; Ctrl-C stops\n",
                     line.unit.address, line.unit.baudRate,
                     line.unit.inBootLoader ? " (in its boot loader)" : "", unit.devicePath().c_str(),
                     link ? " as " : "", line.link.c_str());
        waitForSignal(signals);
        if (!line.dumpDirectory.empty())
            dumpUnit(unit, line.dumpDirectory);
    } catch (const std::system_error &e) {
        std::cerr << "karvel-sim: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
