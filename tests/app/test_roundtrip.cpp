// The panel against the simulated unit over a pseudo-terminal: parameters
// written and read back, queries answered into the window.

#include "../pages/pagetestkit.h"

#include "sim/simulatedunit.h"
#include "toolkit/ticks.h"

#include <QTest>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

class TestRoundTrip : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeTicks> m_ticks;
    std::unique_ptr<karvsim::SimulatedUnit> m_unit;
    std::unique_ptr<PageTestKit> m_kit;

    // "&Send" once the unit took the frame, and the 100 ms pacing past.
    bool sent()
    {
        const std::size_t frames = m_unit->framesReceived();
        m_kit->click(QStringLiteral("BtnSend"));
        m_ticks->advance(100);
        return m_unit->waitForFrames(frames + 1, 5s);
    }

    bool answered() const
    {
        return QTest::qWaitFor([&] { return !m_kit->window().exchange().AwaitingReply(); });
    }

private slots:
    void init()
    {
        m_ticks = std::make_unique<FakeTicks>(1000);
        m_unit = std::make_unique<karvsim::SimulatedUnit>();
        m_kit = std::make_unique<PageTestKit>(QString::fromStdString(m_unit->devicePath()));
        QVERIFY(m_kit->show());
        m_kit->click(QStringLiteral("BtnOpen"));
    }

    void cleanup()
    {
        m_kit.reset();
        m_unit.reset();
        m_ticks.reset();
    }

    void storedValueComesBack_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("modifier");
        QTest::addColumn<QStringList>("set");
        QTest::addColumn<QStringList>("change");
        QTest::addColumn<QStringList>("stored");
        // Rows of one page: its tab, command group and modifier list.
        const auto page = [](int tab, const char *group, const char *modifier) {
            return [=](const char *name, int item, const QStringList &set, const QStringList &change,
                       const QStringList &stored) {
                QTest::newRow(name) << QStringList{QStringLiteral("PageCommands=%1").arg(tab),
                                                   QStringLiteral("%1=%2").arg(QLatin1String(group)).arg(item)}
                                    << QString::fromLatin1(modifier) << set << change << stored;
            };
        };
        const auto page1 = page(0, "RGCmdSet", "CbModifier1");
        const auto page2 = page(1, "RGCmdSet2", "CbModifier2");
        const auto pid = page(2, "RgPID", "CbModifier3");
        const auto device = page(5, "RG_K410", "CbModifierK410");
        page1("$11", 0, {"EditStandbyCur=7", "EditActiveCur=20", "EditAccelCur=30"}, {"EditStandbyCur=1"},
              {"EditStandbyCur=7", "EditActiveCur=20", "EditAccelCur=30"});
        page1("$14", 1, {"EditAcceleration=1000", "EditVelocity=4660"}, {"EditVelocity=1"},
              {"EditAcceleration=1000", "EditVelocity=4660"});
        page1("$63", 2, {"EditBow=4660"}, {"EditBow=2"}, {"EditBow=4660"});
        page1("$12", 3, {"EditPrediv=5"}, {"EditPrediv=1"}, {"EditPrediv=5"});
        page1("$17", 4, {"EditMStepRes=7", "EditMStepWave=-5", "CheckMixedDecay=1"},
              {"EditMStepWave=3", "CheckMixedDecay=0"},
              {"EditMStepRes=7", "EditMStepWave=-5", "CheckMixedDecay=ticked"});
        page1("$54", 5, {"CbSwOne=1", "CbCalDir=1", "CbMovement=1", "CbTravelcheck=1"}, {"CbSwOne=0", "CbCalDir=0"},
              {"CbSwOne=1", "CbCalDir=1", "CbMovement=1", "CbTravelcheck=1"});
        page1("$57", 6, {"EditSoftStop=4660"}, {"EditSoftStop=1"}, {"EditSoftStop=4660"});
        page1("$16", 7, {"EditVRef=256"}, {"EditVRef=1"}, {"EditVRef=256"});
        page1("$59", 8, {"EditTT=65535"}, {"EditTT=1"}, {"EditTT=65535"});
        page1("$15", 9, {"EditPosLimit=1193046"}, {"EditPosLimit=1"}, {"EditPosLimit=1193046"});
        page2("$70", 0, {"EditEncConf=0000101", "EditEncPrediv=255", "EditEncDeviation=4660", "EditEncMult=7"},
              {"EditEncConf=1111111", "EditEncMult=1"},
              {"EditEncConf=0000101", "EditEncPrediv=255", "EditEncDeviation=4660", "EditEncMult=7"});
        page2("$73", 1, {"CheckDevInt=1", "CbDeviationStop=2", "EditAutoCorrect=52"}, {"CheckDevInt=0"},
              {"CheckDevInt=ticked", "CbDeviationStop=2", "EditAutoCorrect=52"});
        page2("$58", 2, {"EditCorrection=5", "EditTolerance=4660"}, {"EditTolerance=1"},
              {"EditCorrection=5", "EditTolerance=4660"});
        page2("$51", 3, {"CheckExtAlarm=1", "CheckDriverError=1"}, {"CheckExtAlarm=0"},
              {"CheckExtAlarm=ticked", "CheckDriverError=ticked"});
        page2("$55", 5, {"EditReceiveID=1234ABCD"}, {"EditReceiveID=00000001"}, {"EditReceiveID=1234ABCD"});
        page2("$56", 6, {"EditSendID=80000001"}, {"EditSendID=00000002"}, {"EditSendID=80000001"});
        pid("$6A", 0, {"CbPIDClk=6", "CbDiffClk=3", "CbVClk=5", "EditVFact=4095"}, {"EditVFact=1", "CbPIDClk=0"},
            {"CbPIDClk=6", "CbDiffClk=3", "CbVClk=5", "EditVFact=4095"});
        pid("$6B", 1, {"EditPCof=1", "EditPRange=2", "EditICof=3", "EditIRange=15", "EditDCof=255", "EditDRange=7"},
            {"EditPCof=9"},
            {"EditPCof=1", "EditPRange=2", "EditICof=3", "EditIRange=15", "EditDCof=255", "EditDRange=7"});
        pid("$6C", 2, {"EditPClip=10", "EditIClip=11", "EditDClip=12"}, {"EditDClip=1"},
            {"EditPClip=10", "EditIClip=11", "EditDClip=12"});
        pid("$6D", 3, {"EditCISum=1", "EditCIInput=2", "EditClipSum=4660"}, {"EditClipSum=1"},
            {"EditCISum=1", "EditCIInput=2", "EditClipSum=4660"});
        device("$10", 0, {"CbCurrentLimit=2"}, {"CbCurrentLimit=1"}, {"CbCurrentLimit=2"});
        // The unit answers at the Recv ID it is given: it stays at the panel's address.
        device("$C1", 3, {"CbRS232Baud=5", "EditRSRecvID=01", "EditRSSendID=1F", "EditRS485Delay=10"},
               {"EditRS485Delay=1"}, {"CbRS232Baud=5", "EditRSRecvID=01", "EditRSSendID=1F", "EditRS485Delay=10"});
    }
    void storedValueComesBack()
    {
        QFETCH(QStringList, command);
        QFETCH(QString, modifier);
        QFETCH(QStringList, set);
        QFETCH(QStringList, change);
        QFETCH(QStringList, stored);
        const QString storeInEeprom = modifier + QStringLiteral("=0");
        const QString readStored = modifier + QStringLiteral("=2");

        QVERIFY(m_kit->apply(command + set));
        const QString written = m_kit->commandBytes();
        QVERIFY(sent());
        QVERIFY(m_kit->apply(change));
        QVERIFY(m_kit->commandBytes() != written);

        QVERIFY(m_kit->apply(readStored));
        QVERIFY(sent());
        QTRY_COMPARE(m_kit->shown(stored), stored);
        QVERIFY(m_kit->apply(storeInEeprom));
        QCOMPARE(m_kit->commandBytes(), written);
    }

    void queryAnswerShows_data()
    {
        QTest::addColumn<QList<QStringList>>("prepare"); // each sent before the query
        QTest::addColumn<QStringList>("query");
        QTest::addColumn<QStringList>("shown");
        const auto get = [](int item) { return QStringList{"PageCommands=3", QStringLiteral("RGCmdGet=%1").arg(item)}; };
        const QStringList setTemporarily = {"PageCommands=0", "CbModifier1=1"};
        QTest::newRow("$20 position") << QList<QStringList>{} << get(0) << QStringList{"StaticMPos=0"};
        QTest::newRow("$52 acceleration / velocity")
            << QList<QStringList>{setTemporarily + QStringList{"RGCmdSet=1", "EditAcceleration=1000",
                                                               "EditVelocity=4660"},
                                  {"RGCmdSet=7", "EditVRef=256"}}
            << get(1) << QStringList{"StaticAcc=1000", "StaticVRef=256", "StaticVMax=4660"};
        QTest::newRow("$21 actual acc./vel.")
            << QList<QStringList>{} << get(2)
            << QStringList{"StaticActA=0", "StaticActV=0", "LedReference=unlit", "LedCorrection=unlit"};
        QTest::newRow("$53 currents")
            << QList<QStringList>{setTemporarily +
                                  QStringList{"RGCmdSet=0", "EditStandbyCur=7", "EditActiveCur=20", "EditAccelCur=255"}}
            << get(3) << QStringList{"StaticCurStand=7", "StaticCurConst=20", "StaticCurAccel=255"};
        QTest::newRow("$71 encoder counter") << QList<QStringList>{} << get(4) << QStringList{"StaticEncCount=0"};
        QTest::newRow("$30 switches: at the reference")
            << QList<QStringList>{} << get(5) << QStringList{"LedLeftSw=unlit", "LedRightSw=unlit", "LedRefSw=lit"};
        QTest::newRow("$43 firmware revision")
            << QList<QStringList>{} << get(6) << QStringList{"StaticVersion=1.23", "StaticSerNo=4711", "LedResetFlag=lit"};
        // The unit's supply as it starts: 24.0 V, 35 degrees.
        QTest::newRow("$44 voltage and temperature") << QList<QStringList>{} << QStringList{"PageCommands=5", "RG_K410=1"}
                                                     << QStringList{"StaticVoltage=240", "StaticTemperature=35"};
    }
    void queryAnswerShows()
    {
        QFETCH(QList<QStringList>, prepare);
        QFETCH(QStringList, query);
        QFETCH(QStringList, shown);
        for (const QStringList &steps : prepare) {
            QVERIFY(m_kit->apply(steps));
            QVERIFY(sent());
        }
        QVERIFY(m_kit->apply(query));
        QVERIFY(sent());
        QTRY_COMPARE(m_kit->shown(shown), shown);
    }

    void alarmResetShowsTheReasons()
    {
        m_unit->raiseAlarm(karvsim::Alarm::DriverError);
        m_unit->raiseAlarm(karvsim::Alarm::TravelCheckError);
        m_unit->raiseAlarm(karvsim::Alarm::Undervoltage);
        QVERIFY(m_kit->apply({"PageCommands=4", "RGCmdOther=6"}));
        QVERIFY(sent());
        QVERIFY(answered());
        const QStringList reasons = {"StaticAlarmReason=DriverError TravelCheckError Undervoltage"};
        QCOMPARE(m_kit->shown(reasons), reasons);

        // The reset cleared them.
        QVERIFY(sent());
        QVERIFY(answered());
        QCOMPARE(m_kit->shown({"StaticAlarmReason="}), QStringList{"StaticAlarmReason="});
    }
};

QTEST_MAIN(TestRoundTrip)
#include "test_roundtrip.moc"
