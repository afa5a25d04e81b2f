// What "&Send Command" puts on the wire for a command of each page, operated
// through the real controls: the simulated unit on the far side of a real
// pseudo-terminal records the frame, which must be the nine displayed bytes.

#include "pagetestkit.h"

#include "serial/comm32.h"
#include "sim/simulatedunit.h"
#include "toolkit/ticks.h"

#include <QTest>

using namespace std::chrono_literals;

class TestWire : public QObject
{
    Q_OBJECT

private slots:
    void sentFrameIsTheDisplayedFrame_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("frame");
        QTest::newRow("(1) $15 Steps/Revolution")
            << QStringList{"RGCmdSet=9", "EditPosLimit=16777215"} << "01 15 00 FF FF FF 00 00 00";
        QTest::newRow("(1) $17 read actual value")
            << QStringList{"RGCmdSet=4", "EditMStepRes=67", "CbModifier1=3"} << "01 17 03 00 00 00 00 00 00";
        QTest::newRow("(2) $55 CAN Receive ID")
            << QStringList{"PageCommands=1", "RGCmdSet2=5", "EditReceiveID=1234ABCD"}
            << "01 55 00 CD AB 34 12 00 00";
        QTest::newRow("(2) $C0 CAN Baud Rate")
            << QStringList{"PageCommands=1", "RGCmdSet2=7", "CbCANBaud=3"} << "01 C0 00 04 00 00 00 00 00";
        QTest::newRow("PID $6B coefficients")
            << QStringList{"PageCommands=2", "RgPID=1", "EditPCof=200", "EditPRange=7", "EditICof=100",
                           "EditIRange=15", "EditDCof=50", "EditDRange=3"}
            << "01 6B 00 C8 07 64 0F 32 03";
        QTest::newRow("Get $20 Position") << QStringList{"PageCommands=3"} << "01 20 00 00 00 00 00 00 00";
        QTest::newRow("Other $23 Ramp to Position")
            << QStringList{"PageCommands=4", "RGCmdOther=1", "EditPosition=-1"} << "01 23 00 FF FF FF FF 00 00";
        QTest::newRow("Other $DD Factory Default")
            << QStringList{"PageCommands=4", "RGCmdOther=8"} << "01 DD 00 4B 32 00 00 00 00";
        QTest::newRow("Karvel 2 $C1 link parameters")
            << QStringList{"PageCommands=5", "RG_K410=3", "CbRS232Baud=5", "EditRSRecvID=0A", "EditRSSendID=1F",
                           "EditRS485Delay=10", "CbModifierK410=1"}
            << "01 C1 01 05 0A 1F 0A 00 00";
        QTest::newRow("unit address 1F")
            << QStringList{"EditAddr=1F", "PageCommands=3", "RGCmdGet=6"} << "1F 43 00 00 00 00 00 00 00";
    }
    void sentFrameIsTheDisplayedFrame()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, frame);

        FakeTicks ticks(100000);
        karvsim::SimulatedUnit unit;
        PageTestKit kit(QString::fromStdString(unit.devicePath()));
        QVERIFY(kit.show());
        kit.click(QStringLiteral("BtnOpen"));
        QVERIFY(kit.window().comm32()->IsOpen());

        QVERIFY(kit.apply(steps));
        QCOMPARE(kit.frame(), frame);
        kit.click(QStringLiteral("BtnSend"));

        QVERIFY(unit.waitForFrames(1, 2s));
        const std::vector<karvsim::CommandFrame> received = unit.receivedFrames();
        QCOMPARE(received.size(), std::size_t(1));
        const QByteArray onWire(reinterpret_cast<const char *>(received.front().data()), received.front().size());
        QCOMPARE(QString::fromLatin1(onWire.toHex(' ').toUpper()), frame);
    }
};

QTEST_MAIN(TestWire)
#include "test_wire.moc"
