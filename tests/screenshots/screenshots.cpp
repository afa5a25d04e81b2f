// screenshots [outdir]: shows the main window, turns to each page as the
// operator would and saves a picture of the window per page as
// <page name>[-<suffix>].png, then one of the firmware installer after a
// successful flash, one of the "Ports..." dialog and one of the
// "Configuration..." window after a read. COM1 is a simulated
// unit in this process, so that shots can show its answers; two USB adapters
// stand in for the machine's serial devices.

#include "../app/fakedevices.h"
#include "../installer/firmwarefiles.h"

#include "app/formconfig.h"
#include "app/formmain.h"
#include "installer/formflash.h"
#include "sim/simulatedunit.h"
#include "toolkit/application.h"

#include <QApplication>
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

    karvsim::SimulatedUnit unit;
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
