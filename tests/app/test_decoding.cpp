// Replies decoded into the window. The test plays the unit on the far side of
// a pseudo-terminal and writes raw replies, so that every byte pattern can be
// tried, not only those a unit would send.

#include "../pages/pagetestkit.h"
#include "../serial/ptypair.h"
#include "tests/accessiblereading.h"

#include "serial/comm32.h"
#include "toolkit/ticks.h"

#include <QTest>

#include <memory>

class TestDecoding : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeTicks> m_ticks;
    std::unique_ptr<PtyPair> m_unit;
    std::unique_ptr<PageTestKit> m_kit;

    // The unit answers with the reply, given in hex; the window has read it
    // once the expected controls show what they should.
    bool replied(const QString &reply, const QStringList &expected) const
    {
        m_unit->Send(QByteArray::fromHex(reply.toLatin1()));
        return QTest::qWaitFor([&] { return m_kit->shown(expected) == expected; });
    }

private slots:
    void init()
    {
        m_ticks = std::make_unique<FakeTicks>(1000);
        m_unit = std::make_unique<PtyPair>();
        QVERIFY(m_unit->IsValid());
        m_kit = std::make_unique<PageTestKit>(m_unit->SlavePath());
        QVERIFY(m_kit->show());
        m_kit->click(QStringLiteral("BtnOpen"));
        QVERIFY(m_kit->window().comm32()->IsOpen());
    }

    void cleanup()
    {
        m_kit.reset();
        m_unit.reset();
        m_ticks.reset();
    }

    void replyFillsItsControls_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char *name, const char *reply, const QStringList &expected) {
            QTest::newRow(name) << QString::fromLatin1(reply) << expected;
        };
        row("$10 current limit", "1000020000000000", {"CbCurrentLimit=2"});
        row("$10 index 7 beyond the four items", "1000070000000000", {"CbCurrentLimit=-1"});
        row("$11 currents in byte order", "1100050A0F000000",
            {"EditStandbyCur=5", "EditActiveCur=10", "EditAccelCur=15"});
        row("$12 predivider clipped to 16", "1200280000000000", {"EditPrediv=16"});
        row("$14 words low byte first", "1400FF1F34120000", {"EditAcceleration=8191", "EditVelocity=4660"});
        row("$15 long", "1500563412000000", {"EditPosLimit=1193046"});
        row("$16", "1600000100000000", {"EditVRef=256"});
        row("$17 wave -5, decay from byte 6", "170003FB00000100",
            {"EditMStepRes=3", "EditMStepWave=-5", "CheckMixedDecay=ticked"});
        row("$17 wave -128 clipped to -127", "1700008000000000", {"EditMStepWave=-127"});
        row("$20 2^23-1", "2000FFFF7F000000", {"StaticMPos=8388607"});
        row("$20 -2^23", "2000000080000000", {"StaticMPos=-8388608"});
        row("$20 -1 in 24 bits", "2000FFFFFF000000", {"StaticMPos=-1"});
        row("$20 -1 in 32 bits", "2000FFFFFFFF0000", {"StaticMPos=-1"});
        row("$21 8191, -8192, reference", "2100FF1F00200100",
            {"StaticActV=8191", "StaticActA=-8192", "LedReference=lit", "LedCorrection=unlit"});
        row("$21 -1 both, correction", "2100FF3FFF3F0001",
            {"StaticActV=-1", "StaticActA=-1", "LedReference=unlit", "LedCorrection=lit"});
        row("$30 only exactly 1 lights", "3000020100000000", {"LedLeftSw=unlit", "LedRightSw=lit", "LedRefSw=unlit"});
        row("$43 1.23", "437B01FF39300000", {"StaticVersion=1.23", "StaticSerNo=12345", "LedResetFlag=lit"});
        row("$43 0.05", "4305000000000000", {"StaticVersion=0.05", "StaticSerNo=0", "LedResetFlag=unlit"});
        row("$43 2.00", "43C8000000010000", {"StaticVersion=2.00", "StaticSerNo=256"});
        row("$44 words low byte first", "44003412FFFF0000", {"StaticVoltage=4660", "StaticTemperature=65535"});
        row("$51", "5100000500000000", {"CheckExtAlarm=clear", "CheckDriverError=ticked"});
        row("$52", "520001000002FFFF", {"StaticAcc=1", "StaticVRef=512", "StaticVMax=65535"});
        row("$53", "53000102FF000000", {"StaticCurStand=1", "StaticCurConst=2", "StaticCurAccel=255"});
        row("$54 bytes 2 and 6 unread", "5400070100010701",
            {"CbSwOne=1", "CbCalDir=0", "CbMovement=1", "CbTravelcheck=1"});
        row("$54 index beyond the list", "5400000700000002", {"CbSwOne=-1", "CbTravelcheck=-1"});
        row("$55 eight hex digits", "5500CDAB34120000", {"EditReceiveID=1234ABCD"});
        row("$56 leading zeros", "5600010000800000", {"EditSendID=80000001"});
        row("$57", "5700341200000000", {"EditSoftStop=4660"});
        row("$58 byte 3 unread", "580005FF34120000", {"EditCorrection=5", "EditTolerance=4660"});
        row("$59", "5900FFFF00000000", {"EditTT=65535"});
        row("$63 bow clipped to 1", "6300000000000000", {"EditBow=1"});
        row("$6A clock fields of one word", "6A005E01FF0F0000",
            {"CbPIDClk=6", "CbDiffClk=3", "CbVClk=5", "EditVFact=4095"});
        row("$6B in byte order", "6B00010203040506",
            {"EditPCof=1", "EditPRange=2", "EditICof=3", "EditIRange=4", "EditDCof=5", "EditDRange=6"});
        row("$6B ranges clipped", "6B00FF0800100009", {"EditPCof=255", "EditPRange=7", "EditIRange=15", "EditDRange=7"});
        row("$6C", "6C000A0B0C000000", {"EditPClip=10", "EditIClip=11", "EditDClip=12"});
        row("$6D", "6D00010234120000", {"EditCISum=1", "EditCIInput=2", "EditClipSum=4660"});
        row("$6D clip sum clipped", "6D000000FF3F0000", {"EditClipSum=8191"});
        row("$70 configuration 0000101", "7000050234010300",
            {"EditEncConf=0000101", "EditEncPrediv=2", "EditEncDeviation=308", "EditEncMult=3"});
        row("$71 -1 from three bytes", "7100FFFFFF7F0000", {"StaticEncCount=-1"});
        row("$71 -2^23", "7100000080000000", {"StaticEncCount=-8388608"});
        row("$73", "7300010234000000", {"CheckDevInt=ticked", "CbDeviationStop=2", "EditAutoCorrect=52"});
        row("$74 reasons keep their blanks", "7400010000010000",
            {"StaticAlarmReason=DriverError TravelCheckError "});
        row("$74 last three run together", "74000001010001FF",
            {"StaticAlarmReason=DeviationError ExternalAlarm PositionErrorUndervoltageOvertemperature"});
        row("$C1 two hex digits each", "C100050A1F0A0000",
            {"CbRS232Baud=5", "EditRSRecvID=0A", "EditRSSendID=1F", "EditRS485Delay=10"});
        row("$C1 index beyond the list", "C10007AB00FF0000",
            {"CbRS232Baud=-1", "EditRSRecvID=AB", "EditRSSendID=00", "EditRS485Delay=255"});
    }
    void replyFillsItsControls()
    {
        QFETCH(QString, reply);
        QFETCH(QStringList, expected);
        QVERIFY(replied(reply, expected));
    }

    void alarmReasonsStartAfresh()
    {
        QVERIFY(replied("7400010000000000", {"StaticAlarmReason=DriverError "}));
        // Bits 2..7 of byte 7 are no reasons.
        QVERIFY(replied("74000000000000FC", {"StaticAlarmReason="}));
    }

    // A screen reader reads the caption as name and the answer as value and
    // text.
    void answersReachAssistiveTechnology_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reading");
        QTest::newRow("$21 VAct") << "2100FF1F00200100" << "StaticActV" << "VAct|8191|8191";
        QTest::newRow("$43 Temp.") << "437B01FF39300000" << "StaticSerNo" << "Temp.|12345|12345";
        QTest::newRow("$44 voltage") << "44003412FFFF0000" << "StaticVoltage" << "Voltage|4660|4660";
        QTest::newRow("$44 temperature") << "44003412FFFF0000" << "StaticTemperature" << "Temperature|65535|65535";
        QTest::newRow("$74 alarm reasons") << "7400010000000000" << "StaticAlarmReason"
                                           << "Alarm|DriverError |DriverError ";
    }
    void answersReachAssistiveTechnology()
    {
        QFETCH(QString, reply);
        QFETCH(QString, name);
        QFETCH(QString, reading);
        const QString value = reading.section(QLatin1Char('|'), 1, 1);
        QVERIFY(replied(reply, {name + QLatin1Char('=') + value}));
        QCOMPARE(AccessibleReading::of(m_kit->control(name)), reading);
    }

    void replyWithoutDecodingEndsTheWait_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::newRow("$80") << "8001020304050607";
        QTest::newRow("$81") << "8101FFFFFFFF0000";
        QTest::newRow("$82") << "820100FFFF7F0000";
    }
    void replyWithoutDecodingEndsTheWait()
    {
        QFETCH(QString, reply);
        QVERIFY(m_kit->apply({"PageCommands=3", "RGCmdGet=0"}));
        m_kit->click(QStringLiteral("BtnSend"));
        QCOMPARE(m_unit->Receive(9).size(), 9);
        QVERIFY(m_kit->window().exchange().AwaitingReply());
        const QStringList answers = {"StaticMPos=", "StaticSerNo=", "StaticAcc="};
        const QStringList before = m_kit->shown(answers);

        m_unit->Send(QByteArray::fromHex(reply.toLatin1()));
        QVERIFY(QTest::qWaitFor([&] { return !m_kit->window().exchange().AwaitingReply(); }));
        QCOMPARE(m_kit->shown(answers), before);
        QCOMPARE(m_kit->commandBytes(), QStringLiteral("20 00 00 00 00 00 00 00"));
    }

    void decodedValuesFlowIntoTheCommandBytes_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("bytes");
        QTest::newRow("reply for the selected command")
            << QStringList{"RGCmdSet=1"} << "1400FF1F34120000" << "EditVelocity=4660" << "14 00 FF 1F 34 12 00 00";
        QTest::newRow("reply for another command")
            << QStringList{"RGCmdSet=3"} << "1400FF1F34120000" << "EditVelocity=4660" << "12 00 00 00 00 00 00 00";
        QTest::newRow("clipped value composed")
            << QStringList{"RGCmdSet=3"} << "1200280000000000" << "EditPrediv=16" << "12 00 10 00 00 00 00 00";
        QTest::newRow("reading modifier keeps P1..P6 zero")
            << QStringList{"CbModifier1=2", "RGCmdSet=1"} << "1400FF1F34120000" << "EditVelocity=4660"
            << "14 02 00 00 00 00 00 00";
        QTest::newRow("list set by the reply raises no change")
            << QStringList{"RGCmdSet=5"} << "5400000100010001" << "CbTravelcheck=1" << "54 00 00 00 00 00 00 00";
        QTest::newRow("page (2): encoder configuration")
            << QStringList{"PageCommands=1"} << "7000050234010300" << "EditEncMult=3" << "70 00 05 02 34 01 03 00";
        // The lists raise nothing, but the composer run by the spin edit reads them.
        QTest::newRow("PID configuration: lists composed with the factor")
            << QStringList{"PageCommands=2"} << "6A005E01FF0F0000" << "EditVFact=4095" << "6A 00 5E 01 FF 0F 00 00";
    }
    void decodedValuesFlowIntoTheCommandBytes()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, reply);
        QFETCH(QString, control);
        QFETCH(QString, bytes);
        QVERIFY(m_kit->apply(steps));
        QVERIFY(replied(reply, {control}));
        QCOMPARE(m_kit->commandBytes(), bytes);
    }
};

QTEST_MAIN(TestDecoding)
#include "test_decoding.moc"
