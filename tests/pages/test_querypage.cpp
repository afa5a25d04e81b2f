#include "pagetestkit.h"
#include "tests/layoutfaults.h"

#include "widgets/ledlittle.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {

const QString kGetPage = QStringLiteral("PageCommands=3");
const QString kOtherPage = QStringLiteral("PageCommands=4");

} // namespace

class TestQueryPage : public QObject
{
    Q_OBJECT

private slots:
    void queriesCarryNoParameters_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("frame");
        QTest::newRow("$20") << 0 << "$20: Position" << "01 20 00 00 00 00 00 00 00";
        QTest::newRow("$52") << 1 << "$52: Acceleration / Velocity" << "01 52 00 00 00 00 00 00 00";
        QTest::newRow("$21") << 2 << "$21: Actual Acc./Vel." << "01 21 00 00 00 00 00 00 00";
        QTest::newRow("$53") << 3 << "$53: Current Settings" << "01 53 00 00 00 00 00 00 00";
        QTest::newRow("$71") << 4 << "$71: Encoder Counter" << "01 71 00 00 00 00 00 00 00";
        QTest::newRow("$30") << 5 << "$30: Switches" << "01 30 00 00 00 00 00 00 00";
        QTest::newRow("$43") << 6 << "$43: Firmware Revision" << "01 43 00 00 00 00 00 00 00";
    }
    void queriesCarryNoParameters()
    {
        QFETCH(int, item);
        QFETCH(QString, caption);
        QFETCH(QString, frame);
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply(kGetPage));
        kit.scribbleOverFrame();
        QVERIFY(kit.apply(QStringLiteral("RGCmdGet=%1").arg(item)));
        QCOMPARE(kit.frame(), frame);
        QCOMPARE(kit.item(QStringLiteral("RGCmdGet"), item)->text(), caption);
    }

    void turningToThePageSendsItsSelectedQuery()
    {
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply({kOtherPage, "RGCmdOther=1", "EditPosition=-1", kGetPage}));
        QCOMPARE(kit.frame(), QStringLiteral("01 20 00 00 00 00 00 00 00"));

        QVERIFY(kit.apply({"RGCmdGet=5", kOtherPage, kGetPage}));
        QCOMPARE(kit.frame(), QStringLiteral("01 30 00 00 00 00 00 00 00"));
    }

    // Each answer stands on the row of its query in a tidy group, and has
    // room for the widest text its reply can bring.
    void answersBesideTheirQueries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("labelName");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text"); // lamps: none
        QTest::addColumn<QString>("widest");
        QTest::newRow("StaticMPos") << "StaticMPos" << 0 << "" << "" << "0" << "-8388608";
        QTest::newRow("StaticAcc") << "StaticAcc" << 1 << "LblAcc" << "Acc.:" << "0" << "65535";
        QTest::newRow("StaticVRef") << "StaticVRef" << 1 << "LblVRef" << "VRef:" << "0" << "65535";
        QTest::newRow("StaticVMax") << "StaticVMax" << 1 << "LblVMax" << "VMax:" << "0" << "65535";
        QTest::newRow("StaticActA") << "StaticActA" << 2 << "LblActA" << "Acc.:" << "0" << "-8192";
        QTest::newRow("StaticActV") << "StaticActV" << 2 << "LblActV" << "VAct:" << "0" << "-8192";
        QTest::newRow("LedReference") << "LedReference" << 2 << "LblReference" << "Ref. Search" << "" << "";
        QTest::newRow("LedCorrection") << "LedCorrection" << 2 << "LblCorrection" << "Correction" << "" << "";
        QTest::newRow("StaticCurStand") << "StaticCurStand" << 3 << "LblCurStand" << "Standby:" << "0" << "255";
        QTest::newRow("StaticCurConst") << "StaticCurConst" << 3 << "LblCurConst" << "Const.:" << "0" << "255";
        QTest::newRow("StaticCurAccel") << "StaticCurAccel" << 3 << "LblCurAcc" << "Accel.:" << "0" << "255";
        QTest::newRow("StaticEncCount") << "StaticEncCount" << 4 << "" << "" << "0" << "-8388608";
        QTest::newRow("LedLeftSw") << "LedLeftSw" << 5 << "LblLeftSw" << "Left" << "" << "";
        QTest::newRow("LedRightSw") << "LedRightSw" << 5 << "LblRightSw" << "Right" << "" << "";
        QTest::newRow("LedRefSw") << "LedRefSw" << 5 << "LblRefSw" << "Reference" << "" << "";
        QTest::newRow("StaticVersion") << "StaticVersion" << 6 << "LblFwVersion" << "Version:" << "" << "2.55";
        QTest::newRow("StaticSerNo") << "StaticSerNo" << 6 << "LblSerNo" << "Temp.:" << "" << "65535";
        QTest::newRow("LedResetFlag") << "LedResetFlag" << 6 << "LblResetFlag" << "Reset Flag" << "" << "";
    }
    void answersBesideTheirQueries()
    {
        QFETCH(QString, name);
        QFETCH(int, item);
        QFETCH(QString, labelName);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QFETCH(QString, widest);
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply(kGetPage));
        QWidget *answer = kit.control(name);
        auto *group = kit.control<QGroupBox>(QStringLiteral("GrpAnswers"));
        QCOMPARE(answer->parent(), group);
        QCOMPARE(group->title(), QStringLiteral(" Last Answer "));
        QCOMPARE(layoutFaults(group), QStringList());
        QCOMPARE(layoutFaults(kit.control(QStringLiteral("TabCmdGet"))), QStringList());
        if (auto *lamp = qobject_cast<TLedLittle *>(answer)) {
            QCOMPARE(std::tuple(lamp->LedColor(), lamp->ClicLedColor(), lamp->Interval(), lamp->Blink()),
                     std::tuple(lcBlack, lcDarkGray, 250, false));
            QCOMPARE(lamp->accessibleName(), caption);
        } else {
            auto *value = kit.control<QLabel>(name);
            QCOMPARE(value->text(), text);
            value->setText(widest);
            QVERIFY(value->sizeHint().width() <= value->width());
        }
        if (!labelName.isEmpty())
            QCOMPARE(kit.control<QLabel>(labelName)->text(), caption);
        const QWidget *button = kit.item(QStringLiteral("RGCmdGet"), item);
        const auto middle = [](const QWidget *widget) { return widget->mapToGlobal(widget->rect().center()).y(); };
        QVERIFY(qAbs(middle(answer) - middle(button)) <= 1);
    }
};

QTEST_MAIN(TestQueryPage)
#include "test_querypage.moc"
