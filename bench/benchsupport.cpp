#include "benchsupport.h"

#include "app/formmain.h"
#include "serial/comm32.h"

#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>

namespace Bench {

namespace {

std::chrono::microseconds cpuTime()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto micros = [](const timeval &t) {
        return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
    };
    return micros(usage.ru_utime) + micros(usage.ru_stime);
}

} // namespace

double cpuShareWhileIdle(std::chrono::milliseconds span)
{
    QEventLoop loop;
    QTimer::singleShot(span, &loop, &QEventLoop::quit);
    const auto wallBefore = std::chrono::steady_clock::now();
    const auto cpuBefore = cpuTime();
    loop.exec();
    const std::chrono::duration<double> cpu = cpuTime() - cpuBefore;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
    return cpu / wall;
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = std::size_t(std::ceil(share * double(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

std::unique_ptr<TFormMain> openPanel(const QString &directory, const QString &devicePath)
{
    const QString settings = directory + QStringLiteral("/KarvControl.ini");
    QFile file(settings);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return nullptr;
    file.write("[Ports]\nCOM1=" + devicePath.toLocal8Bit() + "\n");
    file.close();
    auto window = std::make_unique<TFormMain>(settings);
    window->show();
    window->findChild<QPushButton *>(QStringLiteral("BtnOpen"))->click();
    if (!window->comm32()->IsOpen())
        return nullptr;
    return window;
}

void useOffscreenByDefault()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace Bench
