#include "pagetestkit.h"
#include "tests/layoutfaults.h"

#include "toolkit/combolist.h"

#include <QTest>

namespace {

// The controls of the " Parameter " group by the radio item they belong to.
const QList<QStringList> kControlsOfItem{
    {"LblPIDClk", "CbPIDClk", "LblDiffClk", "CbDiffClk", "LblVClk", "CbVClk", "LblVFact", "EditVFact"},
    {"LblP", "EditPCof", "EditPRange", "LblI", "EditICof", "EditIRange", "LblD", "EditDCof", "EditDRange"},
    {"LblPC", "EditPClip", "LblIC", "EditIClip", "LblDC", "EditDClip"},
    {"LblIntSum", "EditCISum", "LblIntInp", "EditCIInput", "LblClipSum", "EditClipSum"},
    {"CheckPIDEnable"},
};

} // namespace

class TestPidPage : public QObject
{
    Q_OBJECT

private slots:
    void framesOfTheCommands_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("frame");

        // Clock word: PIDClk index + 8 x DiffClk index + 64 x VClk index.
        QTest::newRow("slowest clocks give 511")
            << QStringList{"CbPIDClk=7", "CbDiffClk=7", "CbVClk=7"} << "6A 00 FF 01 00 00 00 00";
        QTest::newRow("1/3 and 1/4 give 10")
            << QStringList{"CbPIDClk=2", "CbDiffClk=1"} << "6A 00 0A 00 00 00 00 00";
        QTest::newRow("VFactor 4095") << QStringList{"EditVFact=4095"} << "6A 00 00 00 FF 0F 00 00";
        QTest::newRow("VFactor typed beyond its range")
            << QStringList{"EditVFact=5000"} << "6A 00 00 00 88 13 00 00";
        QTest::newRow("configuration read actual")
            << QStringList{"CbPIDClk=7", "EditVFact=100", "CbModifier3=3"} << "6A 03 00 00 00 00 00 00";

        const QStringList coefficients{"RgPID=1",      "EditPCof=200", "EditPRange=7", "EditICof=100",
                                       "EditIRange=15", "EditDCof=50",  "EditDRange=3"};
        QTest::newRow("coefficients") << coefficients << "6B 00 C8 07 64 0F 32 03";
        QTest::newRow("coefficients read stored")
            << coefficients + QStringList{"CbModifier3=2"} << "6B 02 00 00 00 00 00 00";
        QTest::newRow("values typed under a reading modifier")
            << QStringList{"CbModifier3=2", "RgPID=1", "EditPCof=200"} << "6B 02 00 00 00 00 00 00";
        QTest::newRow("back to a setting modifier")
            << coefficients + QStringList{"CbModifier3=2", "CbModifier3=1"}
            << "6B 01 C8 07 64 0F 32 03";
        QTest::newRow("coefficient typed beyond its range")
            << QStringList{"RgPID=1", "EditPCof=300"} << "6B 00 12C 00 00 00 00 00";

        QTest::newRow("part clipping")
            << QStringList{"RgPID=2", "EditPClip=1", "EditIClip=2", "EditDClip=255"} << "6C 00 01 02 FF 00 00 00";
        QTest::newRow("part clipping clears what the coefficients left")
            << coefficients + QStringList{"RgPID=2"} << "6C 00 00 00 00 00 00 00";

        QTest::newRow("sum clipping, ClipSum 8191")
            << QStringList{"RgPID=3", "EditCISum=10", "EditCIInput=20", "EditClipSum=8191"}
            << "6D 00 0A 14 FF 1F 00 00";
        QTest::newRow("text that is not a number reads as the minimum")
            << QStringList{"RgPID=3", "EditClipSum=8191", "EditClipSum=-"} << "6D 00 00 00 00 00 00 00";

        QTest::newRow("enable, ticked") << QStringList{"RgPID=4", "CheckPIDEnable=1"} << "6F 00 01 00 00 00 00 00";
        QTest::newRow("enable ignores a reading modifier")
            << QStringList{"CbModifier3=2", "RgPID=4", "CheckPIDEnable=1"} << "6F 00 01 00 00 00 00 00";
        QTest::newRow("enable over what the coefficients left")
            << coefficients + QStringList{"CbModifier3=1", "RgPID=4"} << "6F 00 00 00 00 00 00 00";

        QTest::newRow("coming back from another page")
            << QStringList{"CbModifier3=1", "RgPID=1", "EditDRange=3", "PageCommands=5",
                           "PageCommands=2"}
            << "6B 01 00 00 00 00 00 03";
    }
    void framesOfTheCommands()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, frame);
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply(QStringList{"PageCommands=2"} + steps));
        QCOMPARE(kit.commandBytes(), frame);
        QVERIFY(kit.dialogs().boxes().isEmpty());
    }

    void selectionEnablesTheCommandsControls_data()
    {
        QTest::addColumn<int>("item");
        for (int item = 0; item < kControlsOfItem.size(); ++item)
            QTest::addRow("item %d", item) << item;
    }
    void selectionEnablesTheCommandsControls()
    {
        QFETCH(int, item);
        PageTestKit kit;
        QVERIFY(kit.show());
        // From the last item, so that every control changes at least once.
        QVERIFY(kit.apply({"PageCommands=2", "RgPID=4", QString("RgPID=%1").arg(item)}));
        for (int tag = 0; tag < kControlsOfItem.size(); ++tag) {
            for (const QString &name : kControlsOfItem.at(tag)) {
                const QWidget *control = kit.control(name);
                QVERIFY2(control, qPrintable(name));
                QVERIFY2(control->isEnabled() == (tag == item), qPrintable(name));
            }
        }
        QCOMPARE(kit.control("CbModifier3")->isEnabled(), item != 4);
    }

    void modifierIsLinkedToNoOtherPage()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply({"PageCommands=2", "CbModifier3=3"}));
        for (const char *other : {"CbModifier1", "CbModifier2", "CbModifierK410"})
            QCOMPARE(kit.control<ComboList>(other)->ItemIndex(), 0);
        QVERIFY(kit.apply({"PageCommands=5", "CbModifierK410=2"}));
        QCOMPARE(kit.control<ComboList>("CbModifier3")->ItemIndex(), 3);
    }

    void pageIsLaidOutWithinItsGroups()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply("PageCommands=2"));
        const QStringList faults = layoutFaults(kit.control("TabPID"));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
        const QRect command = kit.control("RgPID")->geometry();
        QVERIFY(kit.control("GrpPID")->x() > command.right());
        QCOMPARE(kit.control("GrpModifier3")->x(), command.x());
        QVERIFY(kit.control("GrpModifier3")->y() > command.bottom());
    }
};

QTEST_MAIN(TestPidPage)
#include "test_pidpage.moc"
