#include "../serial/ptypair.h"
#include "fakedevices.h"
#include "tests/testfiles.h"

#include "app/formmain.h"
#include "serial/comm32.h"
#include "toolkit/beep.h"
#include "toolkit/combolist.h"
#include "toolkit/dialogs.h"
#include "toolkit/maskedit.h"
#include "toolkit/ticks.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// What the port buttons and lists show: open, close, port, baud, send, update.
using PortControls = std::array<bool, 6>;
const PortControls closedState{true, false, true, true, false, false};
const PortControls openState{false, true, false, false, true, true};

} // namespace

class TestFormMain : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_settingsPath;

    void writeSettings(const QByteArray &contents)
    {
        QVERIFY(TestFiles::write(m_settingsPath, contents));
    }

    QByteArray settings() const
    {
        return TestFiles::read(m_settingsPath);
    }

    template <typename Widget = QWidget>
    static Widget *control(const TFormMain &window, const char *name)
    {
        return window.findChild<Widget *>(QLatin1String(name));
    }

    static PortControls portControls(const TFormMain &window)
    {
        PortControls state{};
        const char *names[] = {"BtnOpen", "BtnClose", "ComboCOM", "ComboBaud", "BtnSend", "BtnUpdate"};
        for (size_t i = 0; i < state.size(); ++i)
            state[i] = control(window, names[i])->isEnabled();
        return state;
    }

    // Shows the window, active, and puts the focus into the address entry.
    static MaskEdit *focusedAddress(TFormMain &window)
    {
        window.show();
        if (!QTest::qWaitForWindowActive(&window))
            return nullptr;
        auto *address = control<MaskEdit>(window, "EditAddr");
        address->setFocus();
        return address;
    }

    static void click(const TFormMain &window, const char *button)
    {
        QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
    }

    // Settings that select COM2 and map it to the terminal's slave side.
    void writePortMap(const PtyPair &terminal)
    {
        writeSettings("[Ports]\nCOM2=" + terminal.SlavePath().toLocal8Bit() + "\n[Settings]\nCOMPort=1\n");
    }

private slots:
    void init()
    {
        m_settingsPath = m_dir.filePath(QStringLiteral("KarvControl.ini"));
        QFile::remove(m_settingsPath);
    }

    void controlsStandAsDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("GrpInterface") << "GrpInterface" << QRect(8, 8, 305, 89) << " Interface " << true;
        QTest::newRow("BtnClose") << "BtnClose" << QRect(216, 24, 75, 25) << "&Close" << false;
        QTest::newRow("ComboBaud") << "ComboBaud" << QRect(16, 56, 89, 21) << "19200" << true;
        QTest::newRow("EditAddr") << "EditAddr" << QRect(32, 24, 25, 21) << "01" << true;
        QTest::newRow("LblHex1") << "LblHex1" << QRect(64, 28, 0, 0) << "(hex)" << true;
        QTest::newRow("BtnUpdate") << "BtnUpdate" << QRect(16, 24, 121, 41) << "&Update Firmware..." << false;
        QTest::newRow("StaticP6") << "StaticP6" << QRect(280, 32, 25, 25) << "00" << true;
        QTest::newRow("LblP6") << "LblP6" << QRect(280, 60, 0, 0) << "P6" << true;
        QTest::newRow("BtnSend") << "BtnSend" << QRect(328, 24, 129, 41) << "&Send Command" << false;
    }
    void controlsStandAsDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(bool, enabled);
        TFormMain window(m_settingsPath);
        const QWidget *widget = control(window, name.toLatin1().constData());
        QVERIFY(widget);
        QCOMPARE(widget->pos(), geometry.topLeft());
        if (!geometry.size().isNull())
            QCOMPARE(widget->size(), geometry.size());
        QCOMPARE(widget->isEnabled(), enabled);
        for (const char *property : {"title", "currentText", "text"}) {
            if (widget->property(property).isValid()) {
                QCOMPARE(widget->property(property).toString(), text);
                break;
            }
        }
    }

    void windowHoldsItsListsAndPagesAndCannotGrow()
    {
        TFormMain window(m_settingsPath);
        QCOMPARE(window.windowTitle(), QStringLiteral("Karvel 2 Control Panel V2.16"));
        QCOMPARE(window.maximumSize(), QSize(647, 746));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(window.K410Mode());
        const auto items = [](const QComboBox *combo) {
            QStringList texts;
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
            return texts;
        };
        QCOMPARE(items(control<QComboBox>(window, "ComboCOM")).join(QLatin1Char(' ')),
                 QStringLiteral("COM1 COM2 COM3 COM4 COM5 COM6 COM7 COM8 COM9"));
        QCOMPARE(items(control<QComboBox>(window, "ComboBaud")).join(QLatin1Char(' ')),
                 QStringLiteral("2400 4800 9600 19200 38400 57600"));

        const auto *pages = control<QTabWidget>(window, "PageCommands");
        const QStringList names{"TabCmdSet", "TabSet2", "TabPID", "TabCmdGet", "TabCmdOther", "TabK410"};
        const QStringList captions{"Parameters... (1)", "Parameters... (2)", "PID...", "Get...", "Other...", "Karvel 2"};
        QCOMPARE(pages->count(), 6);
        for (int i = 0; i < pages->count(); ++i) {
            QCOMPARE(pages->widget(i)->objectName(), names.at(i));
            QCOMPARE(pages->tabText(i), captions.at(i));
        }
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(control(window, "BtnUpdate")->parent(), control(window, "GrpSpecial"));
        QCOMPARE(control(window, "GrpSpecial")->parent(), control(window, "TabK410"));
    }

    void firstStartWritesTheDefaultsOnClose()
    {
        TFormMain window(m_settingsPath);
        window.show();
        QCOMPARE(control<ComboList>(window, "ComboCOM")->currentText(), QStringLiteral("COM1"));
        QCOMPARE(control<ComboList>(window, "ComboBaud")->currentText(), QStringLiteral("19200"));
        QVERIFY(window.close());
        QCOMPARE(settings(), QByteArray("[Settings]\nCOMPort=0\nBaud=3\nAddress=1\nK410=1\n"));
    }

    void typedAddressIsMirroredStoredAndShownAgain()
    {
        writeSettings("[Ports]\nCOM3=/dev/ttyUSB0\n\n[Settings]\nCOMPort=2\nBaud=4\n");
        {
            TFormMain window(m_settingsPath);
            MaskEdit *address = focusedAddress(window);
            QVERIFY(address);
            address->selectAll();
            QTest::keyClicks(address, QStringLiteral("1f"));
            QCOMPARE(control<QLabel>(window, "StaticAdr")->text(), QStringLiteral("1F"));
            QVERIFY(window.close());
        }
        QCOMPARE(settings(), QByteArray("[Ports]\nCOM3=/dev/ttyUSB0\n\n[Settings]\nCOMPort=2\nBaud=4\n"
                                        "Address=31\nK410=1\n"));

        TFormMain again(m_settingsPath);
        QCOMPARE(control<MaskEdit>(again, "EditAddr")->text(), QStringLiteral("1F"));
        QCOMPARE(control<QLabel>(again, "StaticAdr")->text(), QStringLiteral("1F"));
        QCOMPARE(control<ComboList>(again, "ComboCOM")->currentText(), QStringLiteral("COM3"));
        QCOMPARE(control<ComboList>(again, "ComboBaud")->currentText(), QStringLiteral("38400"));
    }

    void emptyAddressAtCloseSavesOnlyPortAndBaud()
    {
        DialogRecorder dialogs;
        TFormMain window(m_settingsPath);
        MaskEdit *address = focusedAddress(window);
        QVERIFY(address);
        address->setCursorPosition(2);
        QTest::keyClick(address, Qt::Key_Backspace);
        QTest::keyClick(address, Qt::Key_Backspace);
        QCOMPARE(control<QLabel>(window, "StaticAdr")->text(), QStringLiteral("  "));
        QVERIFY(window.close());
        QCOMPARE(settings(), QByteArray("[Settings]\nCOMPort=0\nBaud=3\n"));
        QVERIFY(dialogs.boxes().isEmpty());
    }

    void unwritableSettingsFileIsLeftSilently()
    {
        DialogRecorder dialogs;
        m_settingsPath = m_dir.filePath(QStringLiteral("folder.ini"));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder.ini")));
        TFormMain window(m_settingsPath);
        QVERIFY(window.close());
        QVERIFY(QFileInfo(m_settingsPath).isDir());
        QVERIFY(dialogs.boxes().isEmpty());
    }

    void hexKeyFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("beeps");
        QTest::newRow("g") << "g" << "01" << 1;
        QTest::newRow("minus") << "-" << "01" << 1;
        QTest::newRow("space") << " " << "01" << 1;
        QTest::newRow("a is upper-cased") << "a" << "A1" << 0;
        QTest::newRow("digits and hex letters") << "9F" << "9F" << 0;
    }
    void hexKeyFilter()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, beeps);
        BeepCounter beepCounter;
        TFormMain window(m_settingsPath);
        MaskEdit *address = focusedAddress(window);
        QVERIFY(address);
        address->setCursorPosition(0);
        QTest::keyClicks(address, typed);
        QCOMPARE(address->text(), text);
        QCOMPARE(control<QLabel>(window, "StaticAdr")->text(), text);
        QCOMPARE(beepCounter.count(), beeps);
    }

    void portThatCannotBeOpenedIsReported_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("message");
        QTest::newRow("COM9 mapped to nothing")
            << QByteArray("[Ports]\nCOM9=/nonexistent/tty\n[Settings]\nCOMPort=8\n")
            << "Could not open port COM9!\r/nonexistent/tty: No such file or directory";
        QTest::newRow("no port selected") << QByteArray("[Settings]\nCOMPort=9\n") << "Could not open port !";
    }
    void portThatCannotBeOpenedIsReported()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, message);
        writeSettings(contents);
        DialogRecorder dialogs;
        TFormMain window(m_settingsPath);
        window.show();
        click(window, "BtnOpen");
        QCOMPARE(dialogs.boxes().size(), 1);
        QCOMPARE(dialogs.boxes().first().kind, Dialogs::Kind::Error);
        QCOMPARE(dialogs.boxes().first().text, message);
        QCOMPARE(portControls(window), closedState);
    }

    void disconnectedPortIsReportedOnceAndClosed()
    {
        auto terminal = std::make_unique<PtyPair>();
        writePortMap(*terminal);
        FakeTicks ticks(5000);
        TFormMain window(m_settingsPath);
        window.show();
        click(window, "BtnOpen");
        // A position query whose reply stops after two bytes.
        control<QLabel>(window, "StaticCMD")->setText(QStringLiteral("20"));
        click(window, "BtnSend");
        terminal->Send(QByteArray::fromHex("2001"));
        QTRY_COMPARE(window.exchange().RxCount(), 2);

        // The operator takes ten seconds to read each box, while the
        // window's events and its reply time-out go on.
        QStringList boxes;
        const auto readForTenSeconds = [&] {
            ticks.advance(10000);
            return QSignalSpy(control<QTimer>(window, "Timeout"), &QTimer::timeout).wait(1000);
        };
        Dialogs::setHook([&](const Dialogs::Box &box) {
            boxes << box.text;
            return readForTenSeconds();
        });
        const auto showBoxesAgain = qScopeGuard([] { Dialogs::setHook({}); });
        terminal->HangUp();
        QTRY_COMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first(), QStringLiteral("Port COM2 was disconnected."));
        QVERIFY(!window.comm32()->IsOpen());
        QCOMPARE(portControls(window), closedState);
        QVERIFY(!window.exchange().AwaitingReply());
        QCOMPARE(window.exchange().RxCount(), 0);
        QVERIFY(readForTenSeconds());
        QCOMPARE(boxes.size(), 1);

        // Plugged in again: here a new terminal that the same name maps to.
        terminal = std::make_unique<PtyPair>();
        writePortMap(*terminal);
        click(window, "BtnOpen");
        QCOMPARE(portControls(window), openState);
    }

    // What the selected name opens follows the selection, the devices
    // present and the Ports dialog.
    void statusShowsWhatThePortOpens()
    {
        FakeDeviceSource devices({{QStringLiteral("/dev/ttyUSB0"), {}, QStringLiteral("Alpha Ltd"),
                                   QStringLiteral("USB 485"), QStringLiteral("A1"), false}});
        DialogRecorder dialogs;
        TFormMain window(m_settingsPath, &devices);
        window.show();
        const auto *status = control<QLabel>(window, "LblPortStatus");
        QCOMPARE(status->text(), QStringLiteral("COM1: /dev/ttyUSB0 (Alpha Ltd, USB 485, serial number A1)"));

        control<ComboList>(window, "ComboCOM")->setItemIndex(1);
        const QString none = QStringLiteral("No serial device for COM2 (serial devices present: 1).");
        QCOMPARE(status->text(), none);
        click(window, "BtnOpen");
        QCOMPARE(dialogs.boxes().size(), 1);
        QCOMPARE(dialogs.boxes().first().text, QStringLiteral("Could not open port COM2!\r") + none);

        devices.set(devices.devices() << bareDevice(QStringLiteral("/dev/ttyUSB1")));
        QCOMPARE(status->text(), QStringLiteral("COM2: /dev/ttyUSB1"));

        QTimer::singleShot(0, [&window] {
            auto *dialog = window.findChild<QDialog *>(QStringLiteral("FormPorts"));
            QVERIFY(dialog && dialog->isVisible());
            dialog->findChild<QComboBox *>(QStringLiteral("ComboCOM2"))->setEditText(QStringLiteral("/dev/pts/5"));
            dialog->findChild<QPushButton *>(QStringLiteral("BtnOK"))->click();
        });
        click(window, "BtnPorts");
        QCOMPARE(status->text(), QStringLiteral("COM2: /dev/pts/5, set in Ports"));
    }

    void openAndCloseFollowThePortStates()
    {
        PtyPair terminal;
        QVERIFY(terminal.IsValid());
        writeSettings("[Ports]\nCOM2=" + terminal.SlavePath().toLocal8Bit() + "\n[Settings]\nCOMPort=1\nBaud=5\n");
        DialogRecorder dialogs;
        FakeTicks ticks(5000);
        TFormMain window(m_settingsPath);
        window.show();

        click(window, "BtnOpen");
        QVERIFY(dialogs.boxes().isEmpty());
        QVERIFY(window.comm32()->IsOpen());
        QCOMPARE(window.comm32()->DeviceName(), terminal.SlavePath());
        QCOMPARE(window.comm32()->BaudRate(), cbr57600);
        QCOMPARE(portControls(window), openState);
        // A position query whose reply stops after three bytes.
        control<QLabel>(window, "StaticCMD")->setText(QStringLiteral("20"));
        click(window, "BtnSend");
        QCOMPARE(terminal.Receive(9), QByteArray::fromHex("012000000000000000"));
        terminal.Send(QByteArray::fromHex("200102"));
        QTRY_COMPARE(window.exchange().RxCount(), 3);

        click(window, "BtnClose");
        QVERIFY(!window.comm32()->IsOpen());
        QCOMPARE(portControls(window), closedState);
        QCOMPARE(window.exchange().AwaitingReply(), true);
        QCOMPARE(window.exchange().LastSendTick(), 5000u);
        QCOMPARE(window.exchange().RxCount(), 3);

        control<ComboList>(window, "ComboBaud")->setItemIndex(0);
        click(window, "BtnOpen");
        QCOMPARE(window.comm32()->BaudRate(), cbr2400);
        QCOMPARE(portControls(window), openState);
        QCOMPARE(window.exchange().AwaitingReply(), false);
        QCOMPARE(window.exchange().LastSendTick(), 0u);
        QCOMPARE(window.exchange().RxCount(), 0);
    }
};

QTEST_MAIN(TestFormMain)
#include "test_formmain.moc"
