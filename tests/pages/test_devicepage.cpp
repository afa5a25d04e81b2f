#include "pagetestkit.h"
#include "tests/layoutfaults.h"

#include "toolkit/combolist.h"
#include "toolkit/maskedit.h"
#include "toolkit/radiogroup.h"
#include "toolkit/spinedit.h"

#include <QTest>

namespace {

const QStringList kLinkControls{"LblRS232Baud", "CbRS232Baud", "LblRecvID", "EditRSRecvID",
                                "LblSendID",    "EditRSSendID", "LblRS485Delay", "EditRS485Delay"};
const QStringList kAlwaysEnabled{"CbCurrentLimit", "LblVolt", "StaticVoltage", "LblTemperature",
                                 "StaticTemperature"};

} // namespace

class TestDevicePage : public QObject
{
    Q_OBJECT

private slots:
    void framesOfTheCommands_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("frame");

        const QStringList link{"RG_K410=3", "CbRS232Baud=5", "EditRSRecvID=0A", "EditRSSendID=1F",
                               "EditRS485Delay=10"};
        // A command of the PID page that fills every byte.
        const QStringList coefficients{"PageCommands=2", "RgPID=1",      "EditPCof=1",  "EditPRange=2",
                                       "EditICof=3",   "EditIRange=4", "EditDCof=5",  "EditDRange=6"};

        QTest::newRow("current limit at its defaults") << QStringList{} << "10 00 00 00 00 00 00 00";
        QTest::newRow("current limit 2/3 over another page's bytes")
            << coefficients + QStringList{"PageCommands=5", "CbCurrentLimit=2"} << "10 00 02 00 00 00 00 00";
        QTest::newRow("current limit selected after the link")
            << link + QStringList{"CbCurrentLimit=2", "RG_K410=0"} << "10 00 02 00 00 00 00 00";
        QTest::newRow("current limit read actual")
            << QStringList{"CbCurrentLimit=3", "CbModifierK410=3"} << "10 03 00 00 00 00 00 00";

        QTest::newRow("voltage and temperature over the link's bytes")
            << QStringList{"CbModifierK410=1"} + link + QStringList{"RG_K410=1"}
            << "44 00 00 00 00 00 00 00";
        QTest::newRow("voltage and temperature ignore a reading modifier")
            << QStringList{"CbModifierK410=3", "RG_K410=1"} << "44 00 00 00 00 00 00 00";

        QTest::newRow("link at its defaults") << QStringList{"RG_K410=3"} << "C1 00 04 00 00 00 00 00";
        QTest::newRow("link with 38500 set temporarily")
            << QStringList{"CbModifierK410=1"} + link << "C1 01 05 0A 1F 0A 00 00";
        QTest::newRow("link read stored")
            << link + QStringList{"CbModifierK410=2"} << "C1 02 00 00 00 00 00 00";
        QTest::newRow("identifier keys: hexadecimal only, upper-cased")
            << QStringList{"RG_K410=3", "EditRSRecvID=x1g2", "EditRSSendID=fe"} << "C1 00 04 12 FE 00 00 00";
        // The entry's blank position goes into P2 as it stands.
        QTest::newRow("identifier with a blank passed unconverted")
            << QStringList{"RG_K410=3", "EditRSRecvID=A "} << "C1 00 04 A  00 00 00 00";
        QTest::newRow("delay typed beyond its range")
            << QStringList{"RG_K410=3", "EditRS485Delay=300"} << "C1 00 04 00 00 12C 00 00";
        QTest::newRow("delay that is not a number reads as 0")
            << QStringList{"RG_K410=3", "EditRS485Delay=10", "EditRS485Delay=-"} << "C1 00 04 00 00 00 00 00";

        QTest::newRow("n/a leaves another page's frame")
            << QStringList{"RG_K410=2"} + coefficients + QStringList{"PageCommands=5"} << "6B 00 01 02 03 04 05 06";
        QTest::newRow("n/a leaves the link's frame")
            << link + QStringList{"RG_K410=2"} << "C1 00 05 0A 1F 0A 00 00";
    }
    void framesOfTheCommands()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, frame);
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply(QStringList{"PageCommands=5"} + steps));
        QCOMPARE(kit.commandBytes(), frame);
        QVERIFY(kit.dialogs().boxes().isEmpty());
    }

    void selectionEnablesTheCommandsControls_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("linkEnabled");
        QTest::addColumn<bool>("modifierEnabled");
        QTest::newRow("current limit") << 0 << false << true;
        QTest::newRow("voltage and temperature") << 1 << false << false;
        QTest::newRow("n/a") << 2 << false << false;
        QTest::newRow("link") << 3 << true << true;
    }
    void selectionEnablesTheCommandsControls()
    {
        QFETCH(int, item);
        QFETCH(bool, linkEnabled);
        QFETCH(bool, modifierEnabled);
        PageTestKit kit;
        QVERIFY(kit.show());
        // From the link, so that every control that changes does.
        QVERIFY(kit.apply({"PageCommands=5", "RG_K410=3", QString("RG_K410=%1").arg(item)}));
        for (const QString &name : kLinkControls)
            QVERIFY2(kit.control(name)->isEnabled() == linkEnabled, qPrintable(name));
        for (const QString &name : kAlwaysEnabled)
            QVERIFY2(kit.control(name)->isEnabled(), qPrintable(name));
        QCOMPARE(kit.control("CbModifierK410")->isEnabled(), modifierEnabled);
        // Enabled with the port only.
        QVERIFY(!kit.control("BtnUpdate")->isEnabled());
    }

    // The current-limit list is never disabled; it composes its own command
    // and leaves the link selected and its values in P2..P4.
    void currentLimitListWhileTheLinkIsSelected()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply({"PageCommands=5", "RG_K410=3", "EditRSRecvID=0A", "EditRSSendID=1F",
                             "EditRS485Delay=10", "CbCurrentLimit=3"}));
        QCOMPARE(kit.commandBytes(), QString("10 00 03 0A 1F 0A 00 00"));
        QCOMPARE(kit.control<RadioGroup>("RG_K410")->ItemIndex(), 3);
        QVERIFY(kit.control("EditRSRecvID")->isEnabled());
    }

    // The reply to $C1 writes the link controls; they compose $C1 whatever
    // item is selected.
    void linkValuesWrittenByTheProgramComposeTheLink()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply({"PageCommands=5", "CbModifierK410=1"}));
        kit.control<MaskEdit>("EditRSSendID")->setText("7F");
        QCOMPARE(kit.commandBytes(), QString("C1 01 04 00 7F 00 00 00"));
        kit.control<SpinEdit>("EditRS485Delay")->setValue(400);
        QCOMPARE(kit.commandBytes(), QString("C1 01 04 00 7F FF 00 00"));
    }

    void modifierIsLinkedToNoOtherPage()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply({"PageCommands=5", "CbModifierK410=2"}));
        for (const char *other : {"CbModifier1", "CbModifier2", "CbModifier3"})
            QCOMPARE(kit.control<ComboList>(other)->ItemIndex(), 0);
        QVERIFY(kit.apply({"PageCommands=0", "CbModifier1=3"}));
        QCOMPARE(kit.control<ComboList>("CbModifierK410")->ItemIndex(), 2);
    }

    void pageIsLaidOutWithinItsGroups()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply("PageCommands=5"));
        const QStringList faults = layoutFaults(kit.control("TabK410"));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
        const QRect command = kit.control("RG_K410")->geometry();
        const QRect parameters = kit.control("GrpK410")->geometry();
        const QRect modifier = kit.control("GroupBox1")->geometry();
        const QRect special = kit.control("GrpSpecial")->geometry();
        QCOMPARE(special, QRect(464, 240, 153, 81));
        QVERIFY(parameters.left() > command.right());
        QVERIFY(modifier.top() > command.bottom());
        QVERIFY(special.top() > parameters.bottom());
        QVERIFY(special.left() > modifier.right());
    }
};

QTEST_MAIN(TestDevicePage)
#include "test_devicepage.moc"
