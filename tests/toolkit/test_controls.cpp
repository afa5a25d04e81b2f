#include "testwindow.h"

#include "toolkit/checkbox.h"
#include "toolkit/combolist.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/radiogroup.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void comboListIndexOutsideTheItemsLeavesNoSelection_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("itemIndex");
        QTest::addColumn<QString>("text");
        QTest::newRow("last") << 2 << 2 << "COM3";
        QTest::newRow("one past the end") << 3 << -1 << "";
        QTest::newRow("far below") << -7 << -1 << "";
    }
    void comboListIndexOutsideTheItemsLeavesNoSelection()
    {
        QFETCH(int, index);
        QFETCH(int, itemIndex);
        QFETCH(QString, text);
        ComboList combo({QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3")});
        combo.setItemIndex(1);
        QSignalSpy changed(&combo, &ComboList::changed);
        combo.setItemIndex(index);
        QCOMPARE(combo.ItemIndex(), itemIndex);
        QCOMPARE(combo.currentText(), text);
        QCOMPARE(changed.size(), 0);
    }

    void comboListReportsTheOperatorsChoice()
    {
        TestWindow window;
        auto *combo = new ComboList({QStringLiteral("2400"), QStringLiteral("4800")});
        QVERIFY(window.showWithFocusOn(combo));
        QSignalSpy changed(combo, &ComboList::changed);
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->ItemIndex(), 1);
        QCOMPARE(changed.size(), 1);
    }

    void checkBoxReportsEveryChangeOfState()
    {
        TestWindow window;
        auto *check = new CheckBox(QStringLiteral("Mixed Decay"));
        QVERIFY(window.showWithFocusOn(check));
        QSignalSpy changed(check, &CheckBox::changed);
        check->setChecked(false);
        QCOMPARE(changed.size(), 0);
        check->setChecked(true);
        QCOMPARE(changed.size(), 1);
        QTest::mouseClick(check, Qt::LeftButton);
        QVERIFY(!check->isChecked());
        QCOMPARE(changed.size(), 2);
    }

    void radioGroupReportsTheOperatorsClicksOnly()
    {
        TestWindow window;
        auto *group = new RadioGroup(QStringLiteral(" Command "),
                                     {QStringLiteral("$10: Current Limit"), QStringLiteral("$44: Get Volt./Temp."),
                                      QStringLiteral("n/a")});
        group->setItemIndex(0);
        QVERIFY(window.showWith(group, QSize(200, 100)));
        QSignalSpy clicked(group, &RadioGroup::itemClicked);

        group->setItemIndex(2);
        QCOMPARE(group->ItemIndex(), 2);
        QCOMPARE(clicked.size(), 0);

        const QList<QRadioButton *> buttons = group->findChildren<QRadioButton *>();
        QCOMPARE(buttons.size(), 3);
        QCOMPARE(buttons.at(1)->text(), QStringLiteral("$44: Get Volt./Temp."));
        QVERIFY(buttons.at(0)->geometry().bottom() <= buttons.at(1)->geometry().top());
        QTest::mouseClick(buttons.at(1), Qt::LeftButton);
        QCOMPARE(group->ItemIndex(), 1);
        QCOMPARE(clicked.size(), 1);

        group->setItemIndex(3);
        QCOMPARE(group->ItemIndex(), -1);
        QVERIFY(!buttons.at(1)->isChecked());
    }

    void pageControlReportsTheOperatorsPageChangesOnly()
    {
        TestWindow window;
        auto *pages = new PageControl;
        QSignalSpy changed(pages, &PageControl::changed);
        for (const char *caption : {"Parameters... (1)", "Parameters... (2)", "PID..."})
            pages->addTab(new QWidget, QString::fromLatin1(caption));
        QVERIFY(window.showWithFocusOn(pages, QSize(300, 100)));

        pages->setCurrentIndex(2);
        pages->tabBar()->setCurrentIndex(0);
        QCOMPARE(changed.size(), 0);

        QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(1).center());
        QCOMPARE(pages->currentIndex(), 1);
        QCOMPARE(changed.size(), 1);

        QTest::keyClick(pages, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), 2);
        QCOMPARE(changed.size(), 2);
    }
};

QTEST_MAIN(TestControls)
#include "test_controls.moc"
