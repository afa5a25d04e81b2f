#include "pagetestkit.h"
#include "tests/layoutfaults.h"

#include "toolkit/checkbox.h"
#include "toolkit/combolist.h"
#include "toolkit/radiogroup.h"
#include "toolkit/spinedit.h"

#include <QTabWidget>
#include <QTest>

class TestParameterPage1 : public QObject
{
    Q_OBJECT

private slots:
    void startUpShowsTheFirstCommandBeforeTheWindowShows()
    {
        PageTestKit kit;
        QVERIFY(!kit.window().isVisible());
        QCOMPARE(kit.control<QTabWidget>(QStringLiteral("PageCommands"))->currentIndex(), 0);
        QCOMPARE(kit.frame(), QStringLiteral("01 11 00 00 00 00 00 00 00"));
        QVERIFY(kit.control(QStringLiteral("EditStandbyCur"))->isEnabled());
        QVERIFY(!kit.control(QStringLiteral("EditPosLimit"))->isEnabled());
    }

    void operatingTheControls_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("expected"); // CMD, P0..P6
        const auto row = [](const char *name, const QStringList &steps, const char *expected) {
            QTest::newRow(name) << steps << QString::fromLatin1(expected);
        };

        row("$11 currents", {"EditStandbyCur=5", "EditActiveCur=10", "EditAccelCur=255"}, "11 00 05 0A FF 00 00 00");
        row("$11 set temporarily", {"CbModifier1=1", "EditActiveCur=16"}, "11 01 00 10 00 00 00 00");
        row("$14", {"RGCmdSet=1", "EditAcceleration=8191", "EditVelocity=300"}, "14 00 FF 1F 2C 01 00 00");
        row("$63 default bow is 1", {"RGCmdSet=2"}, "63 00 01 00 00 00 00 00");
        row("$63", {"RGCmdSet=2", "EditBow=4660"}, "63 00 34 12 00 00 00 00");
        row("$12", {"RGCmdSet=3", "EditPrediv=16"}, "12 00 10 00 00 00 00 00");
        row("$17", {"RGCmdSet=4", "EditMStepRes=67", "EditMStepWave=-1", "CheckMixedDecay=1"},
            "17 00 43 FF 00 00 01 00");
        row("$17 lowest wave", {"RGCmdSet=4", "EditMStepWave=-127"}, "17 00 00 81 00 00 00 00");
        row("$54", {"RGCmdSet=5", "CbSwOne=1", "CbCalDir=1", "CbMovement=1", "CbTravelcheck=1"},
            "54 00 00 01 01 01 00 01");
        row("$57", {"RGCmdSet=6", "EditSoftStop=8191"}, "57 00 FF 1F 00 00 00 00");
        row("$16", {"RGCmdSet=7", "EditVRef=256"}, "16 00 00 01 00 00 00 00");
        row("$59", {"RGCmdSet=8", "EditTT=65535"}, "59 00 FF FF 00 00 00 00");
        row("$15", {"RGCmdSet=9", "EditPosLimit=16777215"}, "15 00 FF FF FF 00 00 00");

        row("$15 read stored value", {"CbModifier1=2", "RGCmdSet=9", "EditPosLimit=16777215"},
            "15 02 00 00 00 00 00 00");
        row("$17 read actual value", {"CbModifier1=3", "RGCmdSet=4", "EditMStepRes=67", "CheckMixedDecay=1"},
            "17 03 00 00 00 00 00 00");
        row("$54 read stored value", {"CbModifier1=2", "RGCmdSet=5", "CbSwOne=1"}, "54 02 00 00 00 00 00 00");
        row("a setting modifier recomposes what was typed while reading",
            {"EditStandbyCur=7", "CbModifier1=2", "EditActiveCur=8", "CbModifier1=1"}, "11 01 07 08 00 00 00 00");

        row("coming back composes from the controls",
            {"RGCmdSet=1", "EditAcceleration=300", "PageCommands=1", "PageCommands=0"}, "14 00 2C 01 00 00 00 00");
        row("the modifier goes to the other page", {"CbModifier1=3", "PageCommands=1"}, "70 03 00 00 00 00 00 00");
        row("and comes back from it", {"RGCmdSet=5", "CbTravelcheck=1", "PageCommands=1", "CbModifier2=1", "PageCommands=0"},
            "54 01 00 00 00 00 00 01");

        row("$54 to $63 clears P3 to P6",
            {"RGCmdSet=5", "CbSwOne=1", "CbCalDir=1", "CbMovement=1", "CbTravelcheck=1", "RGCmdSet=2"},
            "63 00 01 00 00 00 00 00");
        row("$17 to $11 clears P5", {"RGCmdSet=4", "EditMStepRes=3", "CheckMixedDecay=1", "RGCmdSet=0"},
            "11 00 00 00 00 00 00 00");
        row("$15 to $12 clears P2 to P4", {"RGCmdSet=9", "EditPosLimit=16777215", "RGCmdSet=3"},
            "12 00 00 00 00 00 00 00");
        row("$54 to $17 clears P6", {"RGCmdSet=5", "CbSwOne=1", "CbTravelcheck=1", "RGCmdSet=4"},
            "17 00 00 00 00 00 00 00");
        row("$14 to $57 clears P3 and P4", {"RGCmdSet=1", "EditAcceleration=8191", "EditVelocity=8191", "RGCmdSet=6"},
            "57 00 00 00 00 00 00 00");

        // A typed value counts as it stands until the edit is left, which
        // clips it to the range.
        row("current beyond a byte", {"EditStandbyCur=300"}, "11 00 12C 00 00 00 00 00");
        row("current clipped on leaving", {"EditStandbyCur=300", "Tab"}, "11 00 FF 00 00 00 00 00");
        row("negative current", {"EditActiveCur=-1"}, "11 00 00 FFFFFFFF 00 00 00 00");
        row("empty AMax reads 0", {"RGCmdSet=1", "EditAcceleration=", "Tab"}, "14 00 00 00 00 00 00 00");
        row("bow below its minimum", {"RGCmdSet=2", "EditBow=0"}, "63 00 00 00 00 00 00 00");
        row("bow clipped on leaving", {"RGCmdSet=2", "EditBow=0", "Tab"}, "63 00 01 00 00 00 00 00");
        row("empty bow reads 1", {"RGCmdSet=2", "EditBow="}, "63 00 01 00 00 00 00 00");
        row("predivider clipped on leaving", {"RGCmdSet=3", "EditPrediv=17", "Tab"}, "12 00 10 00 00 00 00 00");
        row("resolution beyond a byte", {"RGCmdSet=4", "EditMStepRes=300"}, "17 00 12C 00 00 00 00 00");
        row("lone minus wave reads -127", {"RGCmdSet=4", "EditMStepWave=-", "Tab"}, "17 00 00 81 00 00 00 00");
        row("wave below range", {"RGCmdSet=4", "EditMStepWave=-200"}, "17 00 00 38 00 00 00 00");
        row("wave clipped on leaving", {"RGCmdSet=4", "EditMStepWave=-200", "Tab"}, "17 00 00 81 00 00 00 00");
        row("tolerance beyond 16 bits", {"RGCmdSet=8", "EditTT=65537"}, "59 00 01 00 00 00 00 00");
        row("steps beyond 24 bits", {"RGCmdSet=9", "EditPosLimit=16777216"}, "15 00 00 00 00 01 00 00");
        row("steps clipped on leaving", {"RGCmdSet=9", "EditPosLimit=16777216", "Tab"}, "15 00 FF FF FF 00 00 00");
    }
    void operatingTheControls()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply(steps));
        QCOMPARE(kit.commandBytes(), expected);
        QCOMPARE(kit.frame().left(2), QStringLiteral("01"));
    }

    void selectionEnablesExactlyItsControls_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QStringList>("enabled");
        QTest::newRow("$11") << 0 << QStringList{"EditStandbyCur", "EditActiveCur", "EditAccelCur", "LblCurStandby",
                                                 "LblCurActive", "LblCurAccel"};
        QTest::newRow("$14") << 1 << QStringList{"EditAcceleration", "EditVelocity", "LblAcceleration", "LblVelocity"};
        QTest::newRow("$63") << 2 << QStringList{"EditBow"};
        QTest::newRow("$12") << 3 << QStringList{"EditPrediv"};
        QTest::newRow("$17") << 4 << QStringList{"EditMStepRes", "EditMStepWave", "CheckMixedDecay", "LblMRes",
                                                 "LblWave"};
        QTest::newRow("$54") << 5 << QStringList{"CbSwOne", "CbCalDir", "CbMovement", "CbTravelcheck"};
        QTest::newRow("$57") << 6 << QStringList{"EditSoftStop", "LblHardStop"};
        QTest::newRow("$16") << 7 << QStringList{"EditVRef"};
        QTest::newRow("$59") << 8 << QStringList{"EditTT"};
        QTest::newRow("$15") << 9 << QStringList{"EditPosLimit"};
    }
    void selectionEnablesExactlyItsControls()
    {
        QFETCH(int, item);
        QFETCH(QStringList, enabled);
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply(QStringLiteral("RGCmdSet=%1").arg(item)));
        const auto controls = kit.control(QStringLiteral("GrpParameter"))
                                  ->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        QCOMPARE(controls.size(), 26);
        for (const QWidget *control : controls) {
            const bool belongs = enabled.contains(control->objectName());
            QVERIFY2(control->isEnabled() == belongs, qPrintable(control->objectName()));
            if (belongs)
                QCOMPARE(control->property("Tag").toInt(), item);
        }
    }

    // The reply decoding writes controls as the program does: a spin edit or
    // check box raises its change, a list raises nothing.
    void programWritesRecomposeOnlyTheSelectedCommand_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("another command's edit") << 0 << "EditPosLimit" << 5 << "11 00 00 00 00 00 00 00";
        QTest::newRow("the selected command's edit") << 0 << "EditAccelCur" << 9 << "11 00 00 00 09 00 00 00";
        QTest::newRow("the selected command's check box") << 4 << "CheckMixedDecay" << 1 << "17 00 00 00 00 00 01 00";
        QTest::newRow("a list of the selected command") << 5 << "CbCalDir" << 1 << "54 00 00 00 00 00 00 00";
    }
    void programWritesRecomposeOnlyTheSelectedCommand()
    {
        QFETCH(int, item);
        QFETCH(QString, control);
        QFETCH(int, value);
        QFETCH(QString, expected);
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply(QStringLiteral("RGCmdSet=%1").arg(item)));
        QWidget *target = kit.control(control);
        if (auto *spin = qobject_cast<SpinEdit *>(target))
            spin->setValue(value);
        else if (auto *check = qobject_cast<CheckBox *>(target))
            check->setChecked(value != 0);
        else
            qobject_cast<ComboList *>(target)->setItemIndex(value);
        QCOMPARE(kit.commandBytes(), expected);
    }

    void everyControlFitsItsPlace()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        const QStringList faults = layoutFaults(kit.control(QStringLiteral("TabCmdSet")));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    // A field without a caption is known by the item it stands beside.
    void rowsStandLevelWithTheirItems()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        const QStringList faults = PageTestKit::rowsOffTheirItems(kit.control<RadioGroup>(QStringLiteral("RGCmdSet")),
                                                                  kit.control(QStringLiteral("GrpParameter")));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }
};

QTEST_MAIN(TestParameterPage1)
#include "test_parameterpage1.moc"
