#include "pagetestkit.h"
#include "tests/layoutfaults.h"

#include "toolkit/maskedit.h"
#include "toolkit/radiogroup.h"

#include <QTest>

class TestParameterPage2 : public QObject
{
    Q_OBJECT

private:
    // A shown window with this page in front.
    static bool openPage(PageTestKit &kit) { return kit.show() && kit.apply(QStringLiteral("PageCommands=1")); }

    static void verifyConversionErrors(const PageTestKit &kit, int count)
    {
        QCOMPARE(kit.dialogs().boxes().size(), count);
        for (const Dialogs::Box &box : kit.dialogs().boxes()) {
            QCOMPARE(box.kind, Dialogs::Kind::Error);
            QCOMPARE(box.title, QStringLiteral("Karvel II"));
            QCOMPARE(box.text, QStringLiteral("Ungültige Binärzahl."));
        }
    }

private slots:
    void operatingTheControls_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("expected"); // CMD, P0..P6
        const auto row = [](const char *name, const QStringList &steps, const char *expected) {
            QTest::newRow(name) << steps << QString::fromLatin1(expected);
        };

        row("$70", {"EditEncConf=1010101", "EditEncPrediv=255", "EditEncDeviation=4660", "EditEncMult=7"},
            "70 00 55 FF 34 12 07 00");
        row("$70 all ones", {"EditEncConf=1111111"}, "70 00 7F 00 00 00 00 00");
        row("$70 lowest bit", {"EditEncConf=0000001"}, "70 00 01 00 00 00 00 00");
        row("$70 a blank ends the digits", {"EditEncConf=101 011"}, "70 00 03 00 00 00 00 00");
        row("$70 trailing blanks are trimmed", {"EditEncConf=101    "}, "70 00 05 00 00 00 00 00");
        row("$70 all blank reads 0", {"EditEncConf=1111111", "EditEncConf=       "}, "70 00 00 00 00 00 00 00");
        row("$70 keys other than 0 and 1 refused", {"EditEncConf:1x0 2-1"}, "70 00 50 00 00 00 00 00");
        row("$70 backspace blanks", {"EditEncConf:1111111\b"}, "70 00 3F 00 00 00 00 00");
        row("$70 read stored value", {"CbModifier2=2", "EditEncConf=1111111"}, "70 02 00 00 00 00 00 00");
        row("$73", {"CbModifier2=1", "RGCmdSet2=1", "CheckDevInt=1", "CbDeviationStop=2", "EditAutoCorrect=2000"},
            "73 01 01 02 D0 07 00 00");
        row("$58", {"RGCmdSet2=2", "EditCorrection=255", "EditTolerance=65535"}, "58 00 FF 00 FF FF 00 00");
        row("$51 external alarm", {"RGCmdSet2=3", "CheckExtAlarm=1"}, "51 00 01 00 00 00 00 00");
        row("$51 driver error", {"RGCmdSet2=3", "CheckDriverError=1"}, "51 00 00 01 00 00 00 00");
        row("$50 enabled sends 00", {"CbModifier2=3", "RGCmdSet2=4", "CheckStepDir=1"}, "50 00 00 00 00 00 00 00");
        row("$50 not enabled sends 01", {"CbModifier2=3", "RGCmdSet2=4"}, "50 00 01 00 00 00 00 00");
        row("$55", {"RGCmdSet2=5", "EditReceiveID=1234ABCD"}, "55 00 CD AB 34 12 00 00");
        row("$55 typed in lower case", {"CbModifier2=1", "RGCmdSet2=5", "EditReceiveID:1234abcd"},
            "55 01 CD AB 34 12 00 00");
        row("$55 keys other than hex digits refused", {"RGCmdSet2=5", "EditReceiveID:g1h-2"}, "55 00 00 00 00 12 00 00");
        row("$55 all bits", {"RGCmdSet2=5", "EditReceiveID=FFFFFFFF"}, "55 00 FF FF FF FF 00 00");
        row("$55 incomplete reads 0", {"RGCmdSet2=5", "EditReceiveID=1234ABC "}, "55 00 00 00 00 00 00 00");
        row("$55 non-hex letters pasted read 0", {"RGCmdSet2=5", "EditReceiveID<1234WXYZ"}, "55 00 00 00 00 00 00 00");
        row("$56", {"RGCmdSet2=6", "EditSendID=89ABCDEF"}, "56 00 EF CD AB 89 00 00");
        row("$56 read actual value", {"CbModifier2=3", "RGCmdSet2=6", "EditSendID=89ABCDEF"},
            "56 03 00 00 00 00 00 00");
        row("$C0 1 MBaud", {"RGCmdSet2=7", "CbCANBaud=3"}, "C0 00 04 00 00 00 00 00");
        row("$C0 sends P0 00 whatever the modifier", {"CbModifier2=1", "RGCmdSet2=7"}, "C0 00 02 00 00 00 00 00");
        row("the modifier comes back with the next command", {"CbModifier2=1", "RGCmdSet2=7", "RGCmdSet2=5"},
            "55 01 00 00 00 00 00 00");
        row("coming back composes from the controls",
            {"RGCmdSet2=2", "EditTolerance=4660", "PageCommands=0", "PageCommands=1"}, "58 00 00 00 34 12 00 00");
        row("the modifier goes to the other page", {"CbModifier2=2", "PageCommands=0"}, "11 02 00 00 00 00 00 00");

        const QStringList encoder{"EditEncConf=1111111", "EditEncPrediv=1", "EditEncDeviation=65535", "EditEncMult=9"};
        row("$70 to $51 clears P2 to P5", encoder + QStringList{"RGCmdSet2=3"}, "51 00 00 00 00 00 00 00");
        row("$70 to $73 clears P5", encoder + QStringList{"RGCmdSet2=1"}, "73 00 00 00 00 00 00 00");
        row("$73 to $58 clears P2",
            {"RGCmdSet2=1", "CheckDevInt=1", "CbDeviationStop=2", "EditAutoCorrect=2000", "RGCmdSet2=2"},
            "58 00 00 00 00 00 00 00");
        row("$55 to $50 clears P3 and P4", {"RGCmdSet2=5", "EditReceiveID=FFFFFFFF", "RGCmdSet2=4"},
            "50 00 01 00 00 00 00 00");
        row("$56 to $C0 clears P3 and P4", {"RGCmdSet2=6", "EditSendID=FFFFFFFF", "RGCmdSet2=7"},
            "C0 00 02 00 00 00 00 00");

        row("predivider beyond a byte", {"EditEncPrediv=256"}, "70 00 00 100 00 00 00 00");
        row("predivider clipped on leaving", {"EditEncPrediv=256", "Tab"}, "70 00 00 FF 00 00 00 00");
        row("correction delay clipped on leaving", {"RGCmdSet2=1", "EditAutoCorrect=2001", "Tab"},
            "73 00 00 00 D0 07 00 00");
        row("lone minus correction reads 0", {"RGCmdSet2=2", "EditCorrection=-"}, "58 00 00 00 00 00 00 00");

        // What the key filter refuses does not come in by a paste either.
        row("non-binary digits pasted are dropped", {"CbModifier2=1", "EditEncPrediv=5", "EditEncConf<1020000"},
            "70 01 20 05 00 00 00 00");
    }
    void operatingTheControls()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        PageTestKit kit;
        QVERIFY(openPage(kit));
        QVERIFY(kit.apply(steps));
        QCOMPARE(kit.commandBytes(), expected);
        QVERIFY(kit.dialogs().boxes().isEmpty());
    }

    // Only the program could write a digit other than 0 and 1 into the
    // configuration entry: the composer then stops after CMD, and P0..P6
    // keep what they held.
    void unreadableConfigurationStopsTheComposer_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("expected"); // CMD, P0..P6
        QTest::addColumn<int>("errorBoxes");
        QTest::newRow("written") << QStringList{"CbModifier2=1", "EditEncPrediv=5"} << QStringList{}
                                 << "70 01 00 05 00 00 00 00" << 1;
        QTest::newRow("coming back stops the selection step")
            << QStringList{}
            << QStringList{"PageCommands=0", "CbModifier1=1", "RGCmdSet=9", "EditPosLimit=16777215", "PageCommands=1"}
            << "70 01 FF FF FF 00 00 00" << 2;
        QTest::newRow("its command chosen again leaves the entry open to correction")
            << QStringList{} << QStringList{"RGCmdSet2=4", "RGCmdSet2=0", "EditEncConf=1000000"}
            << "70 00 40 00 00 00 00 00" << 2;
    }
    void unreadableConfigurationStopsTheComposer()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(QString, expected);
        QFETCH(int, errorBoxes);
        PageTestKit kit;
        QVERIFY(openPage(kit));
        QVERIFY(kit.apply(before));
        kit.control<MaskEdit>(QStringLiteral("EditEncConf"))->setText(QStringLiteral("1020000"));
        QVERIFY(kit.apply(after));
        QCOMPARE(kit.commandBytes(), expected);
        verifyConversionErrors(kit, errorBoxes);
    }

    void selectionEnablesExactlyItsControls_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QStringList>("enabled");
        QTest::addColumn<bool>("modifierEnabled");
        QTest::newRow("$70") << 0
                             << QStringList{"EditEncConf", "EditEncPrediv", "EditEncDeviation", "EditEncMult",
                                            "LblEncMult", "LblEncCfg", "LblEncPrediv", "LblEncDev"}
                             << true;
        QTest::newRow("$73") << 1 << QStringList{"CheckDevInt", "CbDeviationStop", "EditAutoCorrect", "LblCorrDelay"}
                             << true;
        QTest::newRow("$58") << 2 << QStringList{"EditTolerance", "LblTolerance", "EditCorrection"} << true;
        QTest::newRow("$51") << 3 << QStringList{"CheckExtAlarm", "CheckDriverError", "LblPowerDown"} << true;
        QTest::newRow("$50") << 4 << QStringList{"CheckStepDir"} << false;
        QTest::newRow("$55") << 5 << QStringList{"EditReceiveID"} << true;
        QTest::newRow("$56") << 6 << QStringList{"EditSendID"} << true;
        QTest::newRow("$C0") << 7 << QStringList{"CbCANBaud"} << false;
    }
    void selectionEnablesExactlyItsControls()
    {
        QFETCH(int, item);
        QFETCH(QStringList, enabled);
        QFETCH(bool, modifierEnabled);
        PageTestKit kit;
        QVERIFY(openPage(kit));
        QVERIFY(kit.apply(QStringLiteral("RGCmdSet2=%1").arg(item)));
        // The "(hex)" notes are never disabled.
        enabled << QStringLiteral("Label1") << QStringLiteral("Label2");
        const auto controls = kit.control(QStringLiteral("GrpParameter2"))
                                  ->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        QCOMPARE(controls.size(), 24);
        for (const QWidget *control : controls) {
            const bool belongs = enabled.contains(control->objectName());
            QVERIFY2(control->isEnabled() == belongs, qPrintable(control->objectName()));
        }
        QCOMPARE(kit.control(QStringLiteral("CbModifier2"))->isEnabled(), modifierEnabled);
    }

    void everyControlFitsItsPlace()
    {
        PageTestKit kit;
        QVERIFY(openPage(kit));
        const QStringList faults = layoutFaults(kit.control(QStringLiteral("TabSet2")));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    // A field without a caption is known by the item it stands beside.
    void rowsStandLevelWithTheirItems()
    {
        PageTestKit kit;
        QVERIFY(openPage(kit));
        const QStringList faults = PageTestKit::rowsOffTheirItems(kit.control<RadioGroup>(QStringLiteral("RGCmdSet2")),
                                                                  kit.control(QStringLiteral("GrpParameter2")));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(TestParameterPage2)
#include "test_parameterpage2.moc"
