// karvctl as a whole process against simulated units in this process.
//
// 1. `karvctl get position` against a pyserial one-off script that sends the
//    same frame and prints the position, alternating in one run (goal: at
//    most 0.6 x the script); then with byte time at 19200 baud against the
//    wire time of the exchange (9 + 8 bytes of 10 bits: 8.9 ms).
// 2. One `karvctl flash` of a 4 KiB image into 8 units at 9600 baud with
//    byte time, against one unit alone in the same run (goal: at most
//    1.10 x), and karvctl's CPU meanwhile from the child's resource usage
//    (goal: under 10 % of a core).

#include "../tests/installer/firmwarefiles.h"
#include "benchsupport.h"

#include "sim/simulatedunit.h"

#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 20;
constexpr char kPython[] = "/usr/bin/python3";

const char kScript[] = R"(import sys, serial
port = serial.Serial(sys.argv[1], 19200, timeout=1)
port.write(bytes([1, 0x20, 0, 0, 0, 0, 0, 0, 0]))
reply = port.read(8)
print(int.from_bytes(reply[2:6], "little", signed=True))
)";

struct ChildRun
{
    int status = -1;
    double seconds = 0;
    double cpuSeconds = 0;
};

double seconds(const timeval &t)
{
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

// Runs a program to its end, its output dropped: wall time from the spawn to
// the reaped exit, and the child's own user and system time.
ChildRun runChild(const std::vector<std::string> &arguments)
{
    std::vector<char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ChildRun run;
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        rusage usage{};
        wait4(pid, &run.status, 0, &usage);
        run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    }
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

bool succeeded(const ChildRun &run)
{
    return WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0;
}

double medianMs(const std::vector<double> &secondsTaken)
{
    return Bench::percentile(secondsTaken, 0.5) * 1000.0;
}

std::unique_ptr<karvsim::SimulatedUnit> unit(int baud, bool byteTime)
{
    karvsim::SimulatedUnit::Options options;
    options.baudRate = baud;
    auto simulated = std::make_unique<karvsim::SimulatedUnit>(options);
    karvsim::LineFaults faults;
    faults.byteTiming = byteTime;
    simulated->setFaults(faults);
    return simulated;
}

bool benchQuery(const std::string &karvctl, const std::string &script)
{
    const auto plain = unit(19200, false);
    const std::string device = plain->devicePath();
    std::vector<double> ours, theirs;
    for (int round = 0; round < kRounds; ++round) {
        const ChildRun a = runChild({karvctl, "--port", device, "get", "position"});
        const ChildRun b = runChild({kPython, script, device});
        if (!succeeded(a) || !succeeded(b)) {
            std::fprintf(stderr, "bench_karvctl: a query failed (karvctl %d, script %d)\n", a.status, b.status);
            return false;
        }
        ours.push_back(a.seconds);
        theirs.push_back(b.seconds);
    }
    std::printf("get position as a whole process, %d alternating rounds, median:\n", kRounds);
    std::printf("  karvctl %.1f ms, pyserial script %.1f ms: %.2f x (goal at most 0.6)\n", medianMs(ours),
                medianMs(theirs), medianMs(ours) / medianMs(theirs));

    const auto paced = unit(19200, true);
    std::vector<double> pacedRuns;
    for (int round = 0; round < kRounds; ++round) {
        const ChildRun run = runChild({karvctl, "--port", paced->devicePath(), "get", "position"});
        if (!succeeded(run))
            return false;
        pacedRuns.push_back(run.seconds);
    }
    const double wire = 17 * 10.0 / 19200.0 * 1000.0;
    std::printf("  with byte time at 19200 baud: karvctl %.1f ms against %.1f ms on the wire (%.1f ms above it)\n",
                medianMs(pacedRuns), wire, medianMs(pacedRuns) - wire);
    return true;
}

bool benchFlash(const std::string &karvctl, const std::string &firmware)
{
    std::vector<std::unique_ptr<karvsim::SimulatedUnit>> units;
    std::string ports;
    for (int n = 0; n < 8; ++n) {
        units.push_back(unit(9600, true));
        ports += (n ? "," : "") + units.back()->devicePath();
    }
    const std::vector<std::string> common{karvctl, "--baud", "9600", "--quiet", "--port"};
    std::vector<std::string> one = common, eight = common;
    one.insert(one.end(), {units.front()->devicePath(), "flash", firmware});
    eight.insert(eight.end(), {ports, "flash", firmware});
    const ChildRun alone = runChild(one);
    const ChildRun all = runChild(eight);
    if (!succeeded(alone) || !succeeded(all)) {
        std::fprintf(stderr, "bench_karvctl: a flash failed (one unit %d, eight units %d)\n", alone.status,
                     all.status);
        return false;
    }
    std::printf("flash of 4 KiB at 9600 baud with byte time, one karvctl call:\n");
    std::printf("  one unit %.2f s, 8 units %.2f s: %.3f x (goal at most 1.10)\n", alone.seconds, all.seconds,
                all.seconds / alone.seconds);
    std::printf("  karvctl CPU for 8 units %.2f s: %.2f %% of a core (goal under 10 %%); one unit %.2f %%\n",
                all.cpuSeconds, all.cpuSeconds / all.seconds * 100.0, alone.cpuSeconds / alone.seconds * 100.0);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_karvctl PATH-OF-KARVCTL\n");
        return 2;
    }
    const std::string karvctl = argv[1];
    const QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("position.py"));
    const QString firmware = dir.filePath(QStringLiteral("firmware.hex"));
    QFile scriptFile(script), firmwareFile(firmware);
    if (!scriptFile.open(QIODevice::WriteOnly) || !firmwareFile.open(QIODevice::WriteOnly))
        return 1;
    scriptFile.write(kScript);
    firmwareFile.write(FirmwareFiles::hexFile(FirmwareFiles::taggedImage(4096)));
    scriptFile.close();
    firmwareFile.close();
    if (!benchQuery(karvctl, script.toStdString()) || !benchFlash(karvctl, firmware.toStdString()))
        return 1;
    return 0;
}
