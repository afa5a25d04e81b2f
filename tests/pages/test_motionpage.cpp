#include "pagetestkit.h"
#include "tests/layoutfaults.h"

#include "protocol/factorydefault.h"
#include "util/karvutils.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {

const QString kItems = QStringLiteral("RGCmdOther");
const QString kGetPage = QStringLiteral("PageCommands=3");
const QString kOtherPage = QStringLiteral("PageCommands=4");

// The step that clicks item of the command group.
QString clickItem(int item)
{
    return kItems + QLatin1Char('=') + QString::number(item);
}

// Which of the item controls are enabled, as 0 and 1 in this order.
QString enabledStates(const PageTestKit &kit)
{
    QString states;
    for (const char *name :
         {"EditPosition", "LblPosition", "EditRotVel", "LblVRot", "EditNewPosition", "LblNewPosition"})
        states += kit.control(QLatin1String(name))->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

} // namespace

class TestMotionPage : public QObject
{
    Q_OBJECT

private slots:
    void framesFromTheControls_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("entry"); // empty: nothing typed
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("enabled");
        const QString code = KarvUtils::HexText(kFactoryDefaultCode[0]) + QLatin1Char(' ')
                             + KarvUtils::HexText(kFactoryDefaultCode[1]);
        QTest::newRow("$22") << 0 << "" << "" << "01 22 00 00 00 00 00 00 00" << "000000";
        QTest::newRow("$23 -1") << 1 << "EditPosition" << "-1" << "01 23 00 FF FF FF FF 00 00" << "110000";
        QTest::newRow("$23 1000") << 1 << "EditPosition" << "1000" << "01 23 00 E8 03 00 00 00 00" << "110000";
        QTest::newRow("$23 max") << 1 << "EditPosition" << "16777215" << "01 23 00 FF FF FF 00 00 00" << "110000";
        QTest::newRow("$23 no number") << 1 << "EditPosition" << "-" << "01 23 00 00 00 80 FF 00 00" << "110000";
        QTest::newRow("$25 -2") << 2 << "EditRotVel" << "-2" << "01 25 00 FE FF 00 00 00 00" << "001100";
        QTest::newRow("$25 empty") << 2 << "EditRotVel" << "" << "01 25 00 01 E0 00 00 00 00" << "001100";
        QTest::newRow("$2A") << 3 << "" << "" << "01 2A 00 00 00 00 00 00 00" << "000000";
        QTest::newRow("$2B") << 4 << "" << "" << "01 2B 00 00 00 00 00 00 00" << "000000";
        QTest::newRow("$27 1000") << 5 << "EditNewPosition" << "1000" << "01 27 00 E8 03 00 00 00 00" << "000011";
        QTest::newRow("$74") << 6 << "" << "" << "01 74 00 00 00 00 00 00 00" << "000000";
        QTest::newRow("$CC") << 7 << "" << "" << "01 CC 00 00 00 00 00 00 00" << "000000";
        QTest::newRow("$DD") << 8 << "" << "" << "01 DD 00 " + code + " 00 00 00 00" << "000000";
    }
    void framesFromTheControls()
    {
        QFETCH(int, item);
        QFETCH(QString, entry);
        QFETCH(QString, typed);
        QFETCH(QString, frame);
        QFETCH(QString, enabled);
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply(kOtherPage));
        kit.scribbleOverFrame();
        QVERIFY(kit.apply(clickItem(item)));
        if (!entry.isEmpty())
            QVERIFY(kit.apply(entry + QLatin1Char('=') + typed));
        QCOMPARE(kit.frame(), frame);
        QCOMPARE(enabledStates(kit), enabled);
    }

    void typedPositionBeyondTheRangeIsSentUntilLeft()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply({kOtherPage, clickItem(1), "EditPosition=20000000"}));
        QCOMPARE(kit.frame(), QStringLiteral("01 23 00 00 2D 31 01 00 00"));
        QVERIFY(kit.apply(QStringLiteral("Tab")));
        QCOMPARE(kit.frame(), QStringLiteral("01 23 00 FF FF FF 00 00 00"));
    }

    void velocityRewritesOnlyItsOwnBytes()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply({kOtherPage, clickItem(2)}));
        kit.scribbleOverFrame();
        QVERIFY(kit.apply(QStringLiteral("EditRotVel=-2")));
        QCOMPARE(kit.frame(), QStringLiteral("01 25 00 FE FF AA AA AA AA"));
    }

    void nextItemClearsThePositionBefore()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply({kOtherPage, clickItem(1), "EditPosition=-1", clickItem(3)}));
        QCOMPARE(kit.frame(), QStringLiteral("01 2A 00 00 00 00 00 00 00"));
    }

    // The selection step runs on the operator's page change, not only on a
    // click in the radio group.
    void turningToThePageSelectsItsItemAgain()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply(kOtherPage));
        QCOMPARE(enabledStates(kit), QStringLiteral("000000"));
        QCOMPARE(kit.frame(), QStringLiteral("01 22 00 00 00 00 00 00 00"));
        QVERIFY(kit.apply({clickItem(5), "EditNewPosition=1000", kGetPage, kOtherPage}));
        QCOMPARE(kit.frame(), QStringLiteral("01 27 00 E8 03 00 00 00 00"));
        QCOMPARE(enabledStates(kit), QStringLiteral("000011"));

        const QStringList captions{"$22: Reference Search", "$23: Ramp to Position", "$25: Constant Rotation",
                                   "$2A: Stop ramp softly", "$2B: Emergency stop",  "$27: Reset Position",
                                   "$74: Alarm Reset",      "$CC: Hardware Reset",  "$DD: Factory Default"};
        for (int item = 0; item < captions.size(); ++item)
            QCOMPARE(kit.item(kItems, item)->text(), captions.at(item));
    }

    void everyAlarmReasonFitsTheTidyGroup()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply(kOtherPage));
        auto *reason = kit.control<QLabel>(QStringLiteral("StaticAlarmReason"));
        QCOMPARE(reason->text(), QString());
        reason->setText(QStringLiteral("DriverError DeviationError ExternalAlarm TravelCheckError "
                                       "PositionErrorUndervoltageOvertemperature"));
        QVERIFY(reason->heightForWidth(reason->width()) <= reason->height());
        QVERIFY(reason->minimumSizeHint().width() <= reason->width());
        QCOMPARE(kit.control<QGroupBox>(QStringLiteral("GrpParamOther"))->title(), QStringLiteral(" Parameter "));
        QCOMPARE(layoutFaults(kit.control(QStringLiteral("GrpParamOther"))), QStringList());
        QCOMPARE(layoutFaults(kit.control(QStringLiteral("TabCmdOther"))), QStringList());
    }
};

QTEST_MAIN(TestMotionPage)
#include "test_motionpage.moc"
