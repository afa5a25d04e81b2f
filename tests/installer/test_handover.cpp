// The main window hands its port over to the installer and takes it back.

#include "../serial/ptypair.h"

#include "app/formmain.h"
#include "installer/bootlink.h"
#include "installer/formflash.h"
#include "serial/comm32.h"
#include "sim/simulatedunit.h"
#include "toolkit/combolist.h"
#include "toolkit/dialogs.h"
#include "toolkit/statictext.h"
#include "toolkit/ticks.h"
#include "tests/testfiles.h"

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestHandOver : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    karvsim::SimulatedUnit m_unit;

    // A window with COM1 mapped to device (the unit's by default), its port
    // opened at rate.
    std::unique_ptr<TFormMain> openPanel(const char *rate, QString device = {})
    {
        if (device.isEmpty())
            device = QString::fromStdString(m_unit.devicePath());
        const QString settings = m_dir.filePath(QStringLiteral("KarvControl.ini"));
        TestFiles::write(settings, "[Ports]\nCOM1=" + device.toLocal8Bit() + "\n");
        auto window = std::make_unique<TFormMain>(settings);
        window->findChild<ComboList *>(QStringLiteral("ComboBaud"))->setItemIndex(
            window->findChild<ComboList *>(QStringLiteral("ComboBaud"))->findText(QLatin1String(rate)));
        window->show();
        window->findChild<QPushButton *>(QStringLiteral("BtnOpen"))->click();
        return window;
    }

private slots:
    void handsOverAndReopens();
    void badAddressIsReportedAfterTheReopen();
    void bootEntryCarriesTheWindowsAddress();
    void vanishedPortLeavesTheWindowClosed();
};

namespace {

template <typename Widget = QPushButton>
Widget *control(const QWidget &window, const char *name)
{
    return window.findChild<Widget *>(QLatin1String(name));
}

// Runs work on the installer window once it shows, modal.
template <typename Work>
void whenInstallerShows(Work work)
{
    QTimer::singleShot(0, [work] {
        auto *installer = qobject_cast<TFormFlash *>(QApplication::activeModalWidget());
        QVERIFY(installer);
        work(*installer);
    });
}

} // namespace

void TestHandOver::handsOverAndReopens()
{
    const std::unique_ptr<TFormMain> window = openPanel("57600");
    window->findChild<StaticText *>(QStringLiteral("StaticAdr"))->setText(QStringLiteral("1F"));
    bool portClosedMeanwhile = false;
    BootLink *link = nullptr;
    QTimer::singleShot(0, [&] {
        auto *installer = qobject_cast<TFormFlash *>(QApplication::activeModalWidget());
        QVERIFY(installer);
        link = &installer->link();
        portClosedMeanwhile = !window->comm32()->IsOpen();
        QCOMPARE(link->ModuleAddress, 0x1F);
        QCOMPARE(link->PortName, QStringLiteral("COM1"));
        QCOMPARE(link->PortDevice, QString::fromStdString(m_unit.devicePath()));
        QCOMPARE(link->PortBaud, 57600);
        installer->findChild<QPushButton *>(QStringLiteral("BtnClose"))->click();
    });
    window->findChild<QPushButton *>(QStringLiteral("BtnUpdate"))->click();
    QVERIFY(link);
    QVERIFY(portClosedMeanwhile);
    QVERIFY(window->comm32()->IsOpen());
    QVERIFY(!window->findChild<TFormFlash *>());
}

// The installer is gone and the port open again when the report shows.
void TestHandOver::badAddressIsReportedAfterTheReopen()
{
    const std::unique_ptr<TFormMain> window = openPanel("19200");
    window->findChild<StaticText *>(QStringLiteral("StaticAdr"))->setText(QString());
    bool reopenedFirst = false;
    QString report;
    Dialogs::setHook([&](const Dialogs::Box &box) {
        reopenedFirst = window->comm32()->IsOpen() && !window->findChild<TFormFlash *>();
        report = box.text;
        return true;
    });
    window->findChild<QPushButton *>(QStringLiteral("BtnUpdate"))->click();
    Dialogs::setHook({});
    QVERIFY(reopenedFirst);
    QCOMPARE(report, QStringLiteral("'$' ist kein gültiger Integerwert."));
}

// The unit at 1F gets its boot-entry frame, checksum 0x90 (the low byte of
// the sum of the eight bytes before it), and serves the operation.
void TestHandOver::bootEntryCarriesTheWindowsAddress()
{
    karvsim::SimulatedUnit::Options options;
    options.address = 0x1F;
    // The window's pause runs on fast ticks: the unit must restart at once.
    options.bootEntryDelay = std::chrono::milliseconds(0);
    karvsim::SimulatedUnit unit(options);
    const std::unique_ptr<TFormMain> window = openPanel("19200", QString::fromStdString(unit.devicePath()));
    control<StaticText>(*window, "StaticAdr")->setText(QStringLiteral("1F"));
    // The pause before the boot loader, in ticks that run fast.
    FakeTicks ticks(100000);
    QTimer pump;
    pump.setInterval(20);
    QObject::connect(&pump, &QTimer::timeout, [&ticks] { ticks.advance(200); });
    DialogRecorder dialogs;
    QString progress;
    whenInstallerShows([&](TFormFlash &installer) {
        pump.start();
        control(installer, "BtnClearEEPROM")->click();
        pump.stop();
        progress = control<StaticText>(installer, "StaticProgress")->text();
        control(installer, "BtnClose")->click();
    });
    control(*window, "BtnUpdate")->click();
    QCOMPARE(progress, QStringLiteral("Successful!"));
    QByteArray entry;
    for (const karvsim::ReceivedByte &byte : unit.receivedBytes())
        entry.append(char(byte.value));
    QCOMPARE(entry.left(9).toHex().toUpper(), QByteArray("1FF23B6E19C457A290"));
}

// The device goes while the installer has it: the window's reopen fails and
// it shows the port closed and why, as for a port that goes while open.
void TestHandOver::vanishedPortLeavesTheWindowClosed()
{
    auto terminal = std::make_unique<PtyPair>();
    const QString path = terminal->SlavePath();
    const std::unique_ptr<TFormMain> window = openPanel("19200", path);
    QVERIFY(window->comm32()->IsOpen());
    DialogRecorder dialogs;
    whenInstallerShows([&](TFormFlash &installer) {
        terminal.reset();
        control(installer, "BtnClose")->click();
    });
    control(*window, "BtnUpdate")->click();

    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(!window->comm32()->IsOpen());
    QCOMPARE(dialogs.boxes().size(), 1);
    QVERIFY2(dialogs.boxes().first().text.startsWith(QStringLiteral("Could not open port COM1!\r") + path
                                                      + QStringLiteral(": ")),
             qPrintable(dialogs.boxes().first().text));
    const char *closedEnabled[] = {"BtnOpen", "ComboCOM", "ComboBaud"};
    const char *closedDisabled[] = {"BtnClose", "BtnSend", "BtnUpdate"};
    for (const char *name : closedEnabled)
        QVERIFY2(control<QWidget>(*window, name)->isEnabled(), name);
    for (const char *name : closedDisabled)
        QVERIFY2(!control<QWidget>(*window, name)->isEnabled(), name);
}

QTEST_MAIN(TestHandOver)
#include "test_handover.moc"
