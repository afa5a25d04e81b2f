// The plotting library chosen by measurement: the CPU each library takes to
// draw four quantities polled at 10 Hz with ten minutes of data on show.
// Each plot is filled with 10 minutes (6000 points a quantity), then for a
// minute of simulated time takes one new point per quantity every 100 ms,
// drops the oldest, rescales and draws at once. The figure is the CPU of
// those draws as a share of one core over that minute.
//
// bench_plotlibs [frames]: 600 frames (one minute) by default.

#include "benchsupport.h"

#include <qcustomplot.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kQuantities = 4;
constexpr int kShown = 6000; // ten minutes at 10 Hz
constexpr double kStep = 0.1;

double valueAt(int quantity, int sample)
{
    const double t = sample * kStep;
    return 1000.0 * (quantity + 1) * std::sin(t / (5.0 + quantity)) + 30.0 * std::sin(t * 3.1);
}

// CPU share of one core for `frames` frames of 100 ms each.
template <typename Frame>
double measure(int frames, Frame &&frame)
{
    const auto before = Bench::cpuTime();
    for (int i = 0; i < frames; ++i)
        frame(kShown + i);
    const std::chrono::duration<double> cpu = Bench::cpuTime() - before;
    return cpu.count() / (frames * kStep);
}

double customPlot(int frames)
{
    QCustomPlot plot;
    plot.resize(900, 500);
    plot.show();
    for (int q = 0; q < kQuantities; ++q) {
        QCPGraph *graph = plot.addGraph();
        for (int i = 0; i < kShown; ++i)
            graph->addData(i * kStep, valueAt(q, i));
    }
    plot.replot(QCustomPlot::rpImmediateRefresh);
    return measure(frames, [&](int sample) {
        for (int q = 0; q < kQuantities; ++q) {
            QCPGraph *graph = plot.graph(q);
            graph->addData(sample * kStep, valueAt(q, sample));
            graph->data()->removeBefore((sample - kShown) * kStep);
        }
        plot.xAxis->setRange((sample - kShown) * kStep, sample * kStep);
        plot.yAxis->rescale();
        plot.replot(QCustomPlot::rpImmediateRefresh);
        QCoreApplication::processEvents();
    });
}

double qtCharts(int frames)
{
    auto *chart = new QChart;
    auto *xAxis = new QValueAxis;
    auto *yAxis = new QValueAxis;
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    std::vector<QLineSeries *> series;
    for (int q = 0; q < kQuantities; ++q) {
        auto *line = new QLineSeries;
        QList<QPointF> points;
        for (int i = 0; i < kShown; ++i)
            points << QPointF(i * kStep, valueAt(q, i));
        line->replace(points);
        chart->addSeries(line);
        line->attachAxis(xAxis);
        line->attachAxis(yAxis);
        series.push_back(line);
    }
    QChartView view(chart);
    view.resize(900, 500);
    view.show();
    view.repaint();
    return measure(frames, [&](int sample) {
        double low = 0;
        double high = 0;
        for (int q = 0; q < kQuantities; ++q) {
            series[std::size_t(q)]->remove(0);
            series[std::size_t(q)]->append(sample * kStep, valueAt(q, sample));
            for (const QPointF &point : series[std::size_t(q)]->points()) {
                low = std::min(low, point.y());
                high = std::max(high, point.y());
            }
        }
        xAxis->setRange((sample - kShown) * kStep, sample * kStep);
        yAxis->setRange(low, high);
        view.repaint();
        QCoreApplication::processEvents();
    });
}

} // namespace

int main(int argc, char **argv)
{
    Bench::useOffscreenByDefault();
    QApplication app(argc, argv);
    const int frames = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 600;
    const double custom = customPlot(frames);
    const double charts = qtCharts(frames);
    std::printf("plot libraries: %d quantities at 10 Hz, %d points each on show, %d frames:\n"
                "  QCustomPlot %.1f %% of a core\n  Qt Charts   %.1f %% of a core\n",
                kQuantities, kShown, frames, 100.0 * custom, 100.0 * charts);
    return 0;
}
