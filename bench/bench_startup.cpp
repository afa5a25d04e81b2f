// Start-up: from the process's start to the first exposed main window, over
// several fresh processes, and the CPU the shown window uses while idle.
//
// Without arguments it starts itself with --once a few times and sums up;
// each --once run builds the window as the program does and reports.

#include "benchsupport.h"

#include "app/formmain.h"
#include "toolkit/application.h"

#include <QCoreApplication>
#include <QProcess>
#include <QWindow>

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

using namespace std::chrono_literals;

namespace {

constexpr int kRuns = 10;

std::chrono::duration<double, std::milli> clockNow(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// When this process started, on the boot-time clock: field 22 of
// /proc/self/stat, in clock ticks (10 ms here) since boot.
std::chrono::duration<double, std::milli> processStart()
{
    std::ifstream file("/proc/self/stat");
    const std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The command name in field 2 may hold blanks; count from its closing ")".
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int number = 3; number < 22; ++number)
        fields >> field;
    unsigned long long ticks = 0;
    fields >> ticks;
    return std::chrono::duration<double>(double(ticks) / double(sysconf(_SC_CLK_TCK)));
}

// Notes the moment the first window is exposed and then ends the loop.
class FirstExpose : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && !seen) {
            if (auto *window = qobject_cast<QWindow *>(watched); window && window->isExposed()) {
                seen = true;
                boot = clockNow(CLOCK_BOOTTIME);
                monotonic = clockNow(CLOCK_MONOTONIC);
                QCoreApplication::exit(0);
            }
        }
        return false;
    }

    bool seen = false;
    std::chrono::duration<double, std::milli> boot{};
    std::chrono::duration<double, std::milli> monotonic{};
};

int runOnce(int argc, char **argv, bool measureIdle)
{
    Application app(argc, argv);
    FirstExpose expose;
    app.installEventFilter(&expose);
    TFormMain window;
    window.show();
    app.exec();
    app.removeEventFilter(&expose);
    if (!expose.seen)
        return 1;
    std::printf("startup_ms=%.1f exposed_monotonic_ms=%.3f\n", (expose.boot - processStart()).count(),
                expose.monotonic.count());
    if (measureIdle)
        std::printf("idle_percent=%.3f\n", Bench::cpuShareWhileIdle(5s) * 100.0);
    return 0;
}

// A value "name=<number>" from a child's report.
double reported(const QString &report, const QString &name)
{
    for (const QString &item : report.simplified().split(QLatin1Char(' '))) {
        if (item.startsWith(name + QLatin1Char('=')))
            return item.mid(name.size() + 1).toDouble();
    }
    return -1.0;
}

int runAll(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::vector<double> fromStat;
    std::vector<double> fromSpawn;
    double idle = -1.0;
    for (int run = 0; run < kRuns; ++run) {
        const bool last = run == kRuns - 1;
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const auto spawned = clockNow(CLOCK_MONOTONIC);
        child.start(QCoreApplication::applicationFilePath(),
                    last ? QStringList{"--once", "--idle"} : QStringList{"--once"});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            std::fprintf(stderr, "bench_startup: run %d failed\n", run + 1);
            return 1;
        }
        const QString report = QString::fromLocal8Bit(child.readAllStandardOutput());
        fromStat.push_back(reported(report, QStringLiteral("startup_ms")));
        fromSpawn.push_back(reported(report, QStringLiteral("exposed_monotonic_ms")) - spawned.count());
        if (last)
            idle = reported(report, QStringLiteral("idle_percent"));
    }
    std::printf("start-up (%s platform), %d fresh processes, process start to first exposed window:\n",
                qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM")), kRuns);
    std::printf("  from /proc/self/stat (10 ms ticks): median %.0f ms, max %.0f ms\n",
                Bench::percentile(fromStat, 0.5), Bench::percentile(fromStat, 1.0));
    std::printf("  from the parent's spawn (monotonic): median %.1f ms, max %.1f ms\n",
                Bench::percentile(fromSpawn, 0.5), Bench::percentile(fromSpawn, 1.0));
    std::printf("  idle CPU of the shown window (port closed): %.3f %% of a core over 5 s\n", idle);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    Bench::useOffscreenByDefault();
    const QStringList arguments = [&] {
        QStringList list;
        for (int i = 1; i < argc; ++i)
            list << QString::fromLocal8Bit(argv[i]);
        return list;
    }();
    if (arguments.contains(QStringLiteral("--once")))
        return runOnce(argc, argv, arguments.contains(QStringLiteral("--idle")));
    return runAll(argc, argv);
}
