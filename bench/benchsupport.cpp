#include "benchsupport.h"

#include "app/formmain.h"
#include "serial/comm32.h"
#include "toolkit/ticks.h"

#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>

namespace Bench {

std::chrono::microseconds cpuTime()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto micros = [](const timeval &t) {
        return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
    };
    return micros(usage.ru_utime) + micros(usage.ru_stime);
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

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

bool runQueryCycles(TFormMain &window, std::size_t count, const std::function<void(std::size_t)> &afterReply)
{
    FakeTicks ticks(1'000'000);
    // "$20: Position", the first item of the "Get..." page.
    window.findChild<QWidget *>(QStringLiteral("RGCmdGet"))->findChildren<QRadioButton *>().value(0)->click();
    auto *send = window.findChild<QPushButton *>(QStringLiteral("BtnSend"));

    std::size_t cycle = 0;
    QEventLoop loop;
    // Connected after the window's own handler, so it runs right after it.
    const auto watch = QObject::connect(window.comm32(), &TComm32::OnRxChar, &loop, [&] {
        if (!window.exchange().AwaitingReply()) {
            afterReply(cycle);
            loop.quit();
        }
    });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, [&] { loop.exit(1); });
    bool replied = true;
    for (; cycle < count && replied; ++cycle) {
        ticks.advance(100);
        send->click();
        giveUp.start(2000);
        replied = window.exchange().AwaitingReply() && loop.exec() == 0;
    }
    QObject::disconnect(watch);
    return replied;
}

void useOffscreenByDefault()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace Bench
