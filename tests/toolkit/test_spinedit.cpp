#include "testwindow.h"

#include "toolkit/spinedit.h"

#include <QLineEdit>
#include <QSignalSpy>

#include <limits>

class TestSpinEdit : public QObject
{
    Q_OBJECT

private:
    // A shown edit with the focus, its text replaced by what the operator typed.
    static SpinEdit *typedEdit(TestWindow &window, int minValue, int maxValue, const QString &typed = {})
    {
        auto *edit = new SpinEdit;
        edit->setRange(minValue, maxValue);
        if (!window.showWithFocusOn(edit))
            return nullptr;
        edit->selectAll();
        if (!typed.isNull()) {
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, typed);
        }
        return edit;
    }

private slots:
    void valueIsTheTypedNumberOrMinValue_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("in range") << "7" << "7" << 7;
        QTest::newRow("above range, not clipped while typing") << "300" << "300" << 300;
        QTest::newRow("below range") << "-9" << "-9" << -9;
        QTest::newRow("lone minus reads MinValue") << "-" << "-" << -5;
        QTest::newRow("empty reads MinValue") << "" << "" << -5;
        QTest::newRow("letters are refused") << "1a2b" << "12" << 12;
        QTest::newRow("too large for an int reads MinValue") << "99999999999" << "99999999999" << -5;
    }
    void valueIsTheTypedNumberOrMinValue()
    {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, value);
        TestWindow window;
        SpinEdit *edit = typedEdit(window, -5, 255, typed);
        QVERIFY(edit);
        QCOMPARE(edit->text(), text);
        QCOMPARE(edit->Value(), value);
    }

    void leavingClipsToTheRange_data()
    {
        QTest::addColumn<int>("minValue");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("afterLeaving");
        QTest::newRow("above") << 0 << 255 << "300" << "255";
        QTest::newRow("below") << 1 << 8191 << "0" << "1";
        QTest::newRow("in range stays as typed") << 0 << 255 << "007" << "007";
        QTest::newRow("empty reads MinValue and stays") << 0 << 255 << "" << "";
        QTest::newRow("no range when min equals max") << 0 << 0 << "300" << "300";
    }
    void leavingClipsToTheRange()
    {
        QFETCH(int, minValue);
        QFETCH(int, maxValue);
        QFETCH(QString, typed);
        QFETCH(QString, afterLeaving);
        TestWindow window;
        SpinEdit *edit = typedEdit(window, minValue, maxValue, typed);
        QVERIFY(edit);
        window.clickElsewhere();
        QVERIFY(!edit->hasFocus());
        QCOMPARE(edit->text(), afterLeaving);
    }

    void programWritesClip_data()
    {
        QTest::addColumn<int>("minValue");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("value");
        QTest::newRow("above") << -127 << 127 << 200 << 127;
        QTest::newRow("below") << -127 << 127 << -200 << -127;
        QTest::newRow("no range when min equals max") << 0 << 0 << -200 << -200;
        QTest::newRow("range the wrong way round") << 10 << 0 << 5 << 10;
    }
    void programWritesClip()
    {
        QFETCH(int, minValue);
        QFETCH(int, maxValue);
        QFETCH(int, written);
        QFETCH(int, value);
        SpinEdit edit;
        edit.setRange(minValue, maxValue);
        edit.setValue(written);
        QCOMPARE(edit.Value(), value);
        QCOMPARE(edit.text(), QString::number(value));
    }

    void changedFollowsEveryChangeOfTheTextOnly()
    {
        TestWindow window;
        SpinEdit *edit = typedEdit(window, 0, 255);
        QVERIFY(edit);
        QSignalSpy changed(edit, &SpinEdit::changed);

        edit->setValue(0); // the text already reads "0"
        QCOMPARE(changed.size(), 0);
        edit->setValue(12);
        QCOMPARE(changed.size(), 1);
        QTest::keyClicks(edit, QStringLiteral("3"));
        QCOMPARE(changed.size(), 2);
        QTest::keyClicks(edit, QStringLiteral("x"));
        QCOMPARE(changed.size(), 2);
        window.clickElsewhere(); // "123" is in range: no clipping, no change
        QCOMPARE(changed.size(), 2);
    }

    void keysStepByOneAndClip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("stepped");
        QTest::newRow("up") << "5" << int(Qt::Key_Up) << "6";
        QTest::newRow("down") << "5" << int(Qt::Key_Down) << "4";
        QTest::newRow("up at the top") << "10" << int(Qt::Key_Up) << "10";
        QTest::newRow("down past the bottom clips") << "-30" << int(Qt::Key_Down) << "-10";
        QTest::newRow("not a number steps from MinValue") << "" << int(Qt::Key_Up) << "-9";
    }
    void keysStepByOneAndClip()
    {
        QFETCH(QString, text);
        QFETCH(int, key);
        QFETCH(QString, stepped);
        TestWindow window;
        SpinEdit *edit = typedEdit(window, -10, 10, text);
        QVERIFY(edit);
        QTest::keyClick(edit, Qt::Key(key));
        QCOMPARE(edit->text(), stepped);
    }

    void steppingPastTheIntRangeStopsAtItsEnd()
    {
        SpinEdit edit; // no range: nothing clips but the int itself
        edit.setValue(std::numeric_limits<int>::max());
        edit.stepBy(1);
        QCOMPARE(edit.Value(), std::numeric_limits<int>::max());
    }
};

QTEST_MAIN(TestSpinEdit)
#include "test_spinedit.moc"
