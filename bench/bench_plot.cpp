// The plot window at work: four quantities ($20, $21, $71, $44, the window's
// default choice) polled from the simulated unit through the main window at
// the default 100 ms interval, with ten minutes of data already on show
// (fed in as recorded replies, 6000 of each query) and the span set to
// everything. Prints the CPU of the whole panel as a share of one core and
// its resident memory while it polls and draws in real time.
//
// bench_plot [seconds]: 60 s of live polling by default.

#include "benchsupport.h"

#include "app/formmain.h"
#include "app/formplot.h"
#include "sim/simulatedunit.h"
#include "toolkit/application.h"
#include "toolkit/ticks.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kRecorded = 6000; // ten minutes at 10 Hz

Protocol::ReplyFrame reply(quint8 code, int sample)
{
    const auto value = qint32(20000 * std::sin(sample / 300.0));
    Protocol::ReplyFrame frame;
    frame.bytes = {code, 0, quint8(value), quint8(value >> 8), quint8(value >> 16), quint8(value >> 24), 0, 0};
    if (code == 0x44)
        frame.bytes = {code, 0, quint8(240 + sample % 3), 0, quint8(35 + sample % 2), 0, 0, 0};
    return frame;
}

} // namespace

int main(int argc, char **argv)
{
    Bench::useOffscreenByDefault();
    Application app(argc, argv);
    const int seconds = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 60;
    karvsim::SimulatedUnit unit;
    QTemporaryDir directory;
    const auto window = Bench::openPanel(directory.path(), QString::fromStdString(unit.devicePath()));
    if (!window) {
        std::fprintf(stderr, "bench_plot: the port did not open\n");
        return 1;
    }
    window->findChild<QPushButton *>(QStringLiteral("BtnPlot"))->click();
    auto *plot = window->findChild<TFormPlot *>(QStringLiteral("FormPlot"));
    plot->findChild<QComboBox *>(QStringLiteral("ComboSpan"))->setCurrentIndex(3);
    const quint32 start = Toolkit::Ticks() - kRecorded * 100;
    for (int sample = 0; sample < kRecorded; ++sample) {
        for (const quint8 code : {0x20, 0x21, 0x71, 0x44})
            plot->takeReply(reply(code, sample), start + quint32(sample * 100));
    }
    std::size_t polled = 0;
    QObject::connect(&window->poller(), &Poller::replied, [&] { ++polled; });
    const long before = Bench::residentKiB();
    plot->findChild<QPushButton *>(QStringLiteral("BtnStart"))->click();
    const double share = Bench::cpuShareWhileIdle(std::chrono::seconds(seconds));
    const long after = Bench::residentKiB();
    std::printf("plot: %d s polling 4 quantities at 100 ms with %zu samples on show: %zu replies,\n"
                "  CPU %.1f %% of a core, resident memory %ld KiB before, %ld KiB after\n",
                seconds, plot->data().samples().size(), polled, 100.0 * share, before, after);
    return 0;
}
