// screenshots [outdir]: shows the main window, turns to each page as the
// operator would and saves a picture of the window per page as
// <page name>[-<suffix>].png, then one of the firmware installer after a
// successful flash, one of the "Ports..." dialog and one of the
// "Configuration..." window after a read. COM1 is a simulated
// unit in this process, so that shots can show its answers; two USB adapters
// stand in for the machine's serial devices. Then the traffic monitor after
// those commands, and the plot window during a ramp to position.

#include "../app/fakedevices.h"
#include "../installer/firmwarefiles.h"

#include "app/formconfig.h"
#include "app/formmain.h"
#include "app/formmonitor.h"
#include "app/formplot.h"
#include "installer/formflash.h"
#include "protocol/commandframe.h"
#include "sim/simulatedunit.h"
#include "toolkit/application.h"
#include "toolkit/statictext.h"
#include "util/karvutils.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

// One picture: the page turned to, and what is done there before the
// picture is taken, such as sending a query to the simulated unit. Pages
// keep their selections and values from one shot to the next.
struct Shot
{
    int page;
    QString suffix; // tells several shots of one page apart
    std::function<bool(TFormMain &)> prepare; // false when it could not be done
};

// Clicks the item of the page's command group and sends it; returns once
// the reply is shown; false when none came.
bool send(TFormMain &window, const QString &group, int item)
{
    QRadioButton *button = window.findChild<QWidget *>(group)->findChildren<QRadioButton *>().value(item);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    QTest::qWait(150); // past the pacing after the previous send
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("BtnSend")), Qt::LeftButton);
    return QTest::qWaitFor([&] { return !window.exchange().AwaitingReply(); });
}

QList<Shot> shots(int pageCount, karvsim::SimulatedUnit &unit)
{
    QList<Shot> list;
    for (int page = 0; page < pageCount; ++page)
        list.append({page, {}, {}});
    list.append({3, QStringLiteral("position"), [](TFormMain &window) { return send(window, QStringLiteral("RGCmdGet"), 0); }});
    list.append({4, QStringLiteral("alarmreset"), [&unit](TFormMain &window) {
                     unit.raiseAlarm(karvsim::Alarm::DriverError);
                     unit.raiseAlarm(karvsim::Alarm::TravelCheckError);
                     unit.raiseAlarm(karvsim::Alarm::Undervoltage);
                     return send(window, QStringLiteral("RGCmdOther"), 6);
                 }});
    return list;
}

// A settings file that maps COM1 to the device.
QString settingsFile(const QTemporaryDir &dir, const std::string &device)
{
    const QString path = dir.filePath(QStringLiteral("KarvControl.ini"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("[Ports]\nCOM1=" + QByteArray::fromStdString(device) + "\n");
    return path;
}

// A click on the tab, so that the page composes its command as it does for
// the operator.
void turnToPage(QTabWidget *pages, int index)
{
    QTabBar *tabs = pages->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

QString fileName(const QTabWidget *pages, const Shot &shot)
{
    QString name = pages->widget(shot.page)->objectName();
    if (!shot.suffix.isEmpty())
        name += QLatin1Char('-') + shot.suffix;
    return name + QStringLiteral(".png");
}

// The installer over the main window, a sample firmware flashed into the
// simulated unit; false when the flash did not succeed.
bool flashSample(TFormFlash &installer, const QTemporaryDir &dir, const std::string &device)
{
    const QString firmware = dir.filePath(QStringLiteral("firmware.hex"));
    QFile file(firmware);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(FirmwareFiles::hexFile(FirmwareFiles::taggedImage(2048)));
    file.close();
    installer.SetModuleAddress(0x01);
    installer.SetPortName(QStringLiteral("COM1"));
    installer.SetPortDevice(QString::fromStdString(device));
    installer.SetPortBaud(19200);
    installer.show();
    installer.LoadFile(firmware);
    QTest::mouseClick(installer.findChild<QPushButton *>(QStringLiteral("BtnProgramme")), Qt::LeftButton);
    return installer.findChild<QLabel *>(QStringLiteral("StaticProgress"))->text() == QStringLiteral("Successful!");
}

// The "Ports..." dialog as the operator opens it from the main window.
// The configuration window after a read of the unit, its table filled.
bool saveConfigWindow(TFormMain &window, const QString &path)
{
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("BtnConfig")), Qt::LeftButton);
    auto *config = window.findChild<FormConfig *>();
    if (!config || !QTest::qWaitForWindowExposed(config))
        return false;
    QTest::mouseClick(config->findChild<QPushButton *>(QStringLiteral("BtnRead")), Qt::LeftButton);
    const bool saved = config->findChild<QPushButton *>(QStringLiteral("BtnWrite"))->isEnabled()
        && config->grab().save(path);
    config->close();
    return saved;
}

bool savePortsDialog(TFormMain &window, const QString &path)
{
    bool saved = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        saved = QTest::qWaitForWindowExposed(dialog) && dialog->grab().save(path);
        dialog->reject();
    });
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("BtnPorts")), Qt::LeftButton);
    return saved;
}

const QList<PortDevice> adapters{
    {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("usb-Alpha_Ltd_USB-RS485_A10K3F2Q-if00-port0"),
     QStringLiteral("Alpha Ltd"), QStringLiteral("USB-RS485"), QStringLiteral("A10K3F2Q"), false},
    {QStringLiteral("/dev/ttyACM0"), QStringLiteral("usb-Beta_Systems_Serial_Bridge_0042-if00"),
     QStringLiteral("Beta Systems"), QStringLiteral("Serial Bridge"), QStringLiteral("0042"), false},
};

// The window's traffic so far, as the operator sees it after a few commands.
bool saveMonitor(TFormMain &window, const QString &path)
{
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("BtnMonitor")), Qt::LeftButton);
    auto *monitor = window.findChild<TFormMonitor *>(QStringLiteral("FormMonitor"));
    if (!monitor || !QTest::qWaitForWindowExposed(monitor))
        return false;
    QTest::qWait(300); // a refresh or two
    const bool saved = monitor->grab().save(path);
    monitor->close();
    return saved;
}

// The plot window polling position, velocity and the supply while the unit
// ramps to 8000 steps (AMax 1000, VMax 2000: two seconds up, two at speed,
// two down), the ramp sent by hand between two polls.
bool savePlotDuringRamp(TFormMain &window, const QString &path)
{
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("BtnPlot")), Qt::LeftButton);
    auto *plot = window.findChild<TFormPlot *>(QStringLiteral("FormPlot"));
    if (!plot || !QTest::qWaitForWindowExposed(plot))
        return false;
    plot->findChild<QCheckBox *>(QStringLiteral("CheckQuery71"))->setChecked(false);
    QTest::mouseClick(plot->findChild<QPushButton *>(QStringLiteral("BtnStart")), Qt::LeftButton);
    QTest::qWait(1000);
    const QByteArray ramp = QByteArray::fromHex("2300401F00000000");
    for (qsizetype i = 0; i < ramp.size(); ++i) {
        window.findChild<StaticText *>(QLatin1String(Protocol::CommandFrame::DisplayControls.at(i + 1)))
            ->setText(KarvUtils::HexText(quint8(ramp[i])));
    }
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("BtnSend")), Qt::LeftButton);
    QTest::qWait(7500);
    const bool saved = plot->grab().save(path);
    QTest::mouseClick(plot->findChild<QPushButton *>(QStringLiteral("BtnStop")), Qt::LeftButton);
    return saved;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "screenshots: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    const QDir outDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    if (!outDir.mkpath(QStringLiteral(".")))
        return fail(QStringLiteral("cannot create ") + outDir.path());

    karvsim::SimulatedUnit::Options options;
    options.supplyDrift = true;
    karvsim::SimulatedUnit unit(options);
    const QTemporaryDir settingsDir;
    FakeDeviceSource devices(adapters);
    TFormMain window(settingsFile(settingsDir, unit.devicePath()), &devices);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return fail(QStringLiteral("the window was not shown"));
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("BtnOpen")), Qt::LeftButton);

    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageCommands"));
    for (const Shot &shot : shots(pages->count(), unit)) {
        turnToPage(pages, shot.page);
        const QString path = outDir.filePath(fileName(pages, shot));
        if (shot.prepare && !shot.prepare(window))
            return fail(QStringLiteral("no reply for ") + path);
        if (!window.grab().save(path))
            return fail(QStringLiteral("cannot write ") + path);
        std::printf("%s\n", qPrintable(path));
    }

    for (const auto &[name, save] : {std::pair{"FormMonitor.png", &saveMonitor},
                                     std::pair{"FormPlot-ramp.png", &savePlotDuringRamp}}) {
        const QString shot = outDir.filePath(QLatin1String(name));
        if (!save(window, shot))
            return fail(QStringLiteral("cannot write ") + shot);
        std::printf("%s\n", qPrintable(shot));
    }

    const QString configPath = outDir.filePath(QStringLiteral("FormConfig-read.png"));
    if (!saveConfigWindow(window, configPath))
        return fail(QStringLiteral("the read failed for ") + configPath);
    std::printf("%s\n", qPrintable(configPath));

    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("BtnClose")), Qt::LeftButton);
    const QString portsPath = outDir.filePath(QStringLiteral("FormPorts.png"));
    if (!savePortsDialog(window, portsPath))
        return fail(QStringLiteral("cannot write ") + portsPath);
    std::printf("%s\n", qPrintable(portsPath));

    TFormFlash installer(&window);
    const QString path = outDir.filePath(QStringLiteral("FormFlash-successful.png"));
    if (!flashSample(installer, settingsDir, unit.devicePath()))
        return fail(QStringLiteral("the flash failed for ") + path);
    if (!installer.grab().save(path))
        return fail(QStringLiteral("cannot write ") + path);
    std::printf("%s\n", qPrintable(path));
    return 0;
}
