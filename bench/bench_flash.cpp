// A whole flash of the largest image the installer takes (32,767 bytes),
// written and verified by the installer window into the simulated unit,
// whose boot loader paces its line like a real one at 9600 baud. Prints the
// time against the floor of that line, (bytes sent + bytes received) × 10 /
// 9600 s (request and reply never overlap, so no client can be faster), and
// the installer's CPU use meanwhile, the simulated unit's thread excluded.
// A bare client's requests on the same kind of line come first: what they
// take above the floor is the machine's (pseudo-terminal, simulated unit,
// wake-ups), so what the installer takes beyond that is its own.

#include "../tests/installer/firmwarefiles.h"
#include "bareclient.h"
#include "benchsupport.h"

#include "installer/formflash.h"
#include "sim/simulatedunit.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/statictext.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

using Clock = std::chrono::steady_clock;

namespace {

std::set<QString> threadIds()
{
    const QStringList ids = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return {ids.begin(), ids.end()};
}

// User and system time of one thread of this process, in seconds.
double threadCpuSeconds(const QString &id)
{
    std::ifstream stat("/proc/self/task/" + id.toStdString() + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields after the command name, which is in parentheses: state is 3,
    // utime 14 and stime 15.
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int n = 3; n <= 15 && fields >> field; ++n) {
        if (n == 14)
            utime = std::stoull(field);
        if (n == 15)
            stime = std::stoull(field);
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::useOffscreenByDefault();
    Application app(argc, argv);
    DialogRecorder boxes;

    const Bench::BareExchange bare = Bench::bareBootExchanges(*Bench::pacedBootLoader(), 2000);
    if (!bare.answered) {
        std::fprintf(stderr, "bench_flash: the bare client got no reply\n");
        return 1;
    }

    const std::set<QString> before = threadIds();
    karvsim::SimulatedUnit unit;
    QString unitThread;
    for (const QString &id : threadIds()) {
        if (!before.count(id))
            unitThread = id;
    }
    karvsim::LineFaults paced;
    paced.byteTiming = true;
    unit.setFaults(paced);

    const QTemporaryDir dir;
    const QString firmware = dir.filePath(QStringLiteral("firmware.hex"));
    QFile firmwareFile(firmware);
    if (!firmwareFile.open(QIODevice::WriteOnly))
        return 1;
    firmwareFile.write(FirmwareFiles::hexFile(FirmwareFiles::taggedImage(32767)));
    firmwareFile.close();

    TFormFlash window;
    window.SetModuleAddress(0x01);
    window.SetPortName(QStringLiteral("COM1"));
    window.SetPortDevice(QString::fromStdString(unit.devicePath()));
    window.SetPortBaud(19200);
    window.show();
    window.LoadFile(firmware);

    const double cpuBefore = processCpuSeconds() - threadCpuSeconds(unitThread);
    const auto start = Clock::now();
    window.findChild<QPushButton *>(QStringLiteral("BtnProgramme"))->click();
    const double taken = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = processCpuSeconds() - threadCpuSeconds(unitThread) - cpuBefore;

    const QString outcome = window.findChild<StaticText *>(QStringLiteral("StaticProgress"))->text();
    if (outcome != QStringLiteral("Successful!")) {
        std::fprintf(stderr, "bench_flash: %s\n", qPrintable(outcome));
        return 1;
    }
    // The boot-entry frame and the pause after it are not on the boot line.
    const double lineTime = taken - 1.0;
    const std::size_t bytes = unit.bootBytesReceived() + unit.bootBytesSent();
    const double floor = double(bytes) * 10.0 / 9600.0;
    const std::size_t requests = unit.bootRequestsReceived();
    std::printf("flash of 32,767 bytes (write + verify) at 9600 baud with byte time:\n");
    std::printf("  %zu requests, %zu bytes on the boot line, floor %.2f s\n", requests, bytes,
                floor);
    std::printf("  taken %.2f s after the 1 s entry pause: %.3f x the floor (target at most 1.05)\n", lineTime,
                lineTime / floor);
    const double bareAbove = (bare.seconds - bare.floorSeconds()) / double(bare.requests);
    const double installerAbove = (lineTime - floor) / double(requests);
    std::printf("  a bare client (%zu requests): %.3f x its floor, %.0f us a request above it: the machine's share\n",
                bare.requests, bare.seconds / bare.floorSeconds(), bareAbove * 1e6);
    std::printf("  the installer: %.0f us a request above the floor, %.0f us more than the bare client\n",
                installerAbove * 1e6, (installerAbove - bareAbove) * 1e6);
    std::printf("  installer CPU %.2f s: %.2f %% of a core with the accessibility bridge %s (target under 2 %%),"
                " %.0f us a request\n",
                cpu, cpu / taken * 100.0, QAccessible::isActive() ? "on" : "off", cpu / double(requests) * 1e6);
    return 0;
}
