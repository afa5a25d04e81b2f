#include "testwindow.h"

#include "toolkit/beep.h"
#include "toolkit/dialogs.h"
#include "toolkit/editmask.h"
#include "toolkit/maskedit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>

namespace {

const QString invalidInput = QStringLiteral(
    "Ungültiger Eingabewert. Mit der Taste ESC machen Sie die Änderungen rückgängig.");

} // namespace

class TestMaskEdit : public QObject
{
    Q_OBJECT

private:
    // A shown edit with the focus and the given text, the cursor at position.
    static MaskEdit *focusedEdit(TestWindow &window, const QString &mask, const QString &text,
                                 int position = 0)
    {
        auto *edit = new MaskEdit(mask);
        edit->setText(text);
        if (!window.showWithFocusOn(edit))
            return nullptr;
        edit->setCursorPosition(position);
        return edit;
    }

private slots:
    // What a line edit reports for each kind of edit, and what the mask makes of it.
    void editsKeepTheLayout_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("newCursor");
        QTest::addColumn<bool>("refused");
        QTest::newRow("typing overwrites") << ">AA" << "01" << "1F01" << 2 << "1F" << 2 << false;
        QTest::newRow("typing is upper-cased") << ">AA" << "01" << "a01" << 1 << "A1" << 1 << false;
        QTest::newRow("backspace blanks") << "0000000" << "1010101" << "101101" << 3 << "101 101" << 3 << false;
        QTest::newRow("delete blanks") << "0000000" << "1010101" << "101001" << 4 << "1010 01" << 4 << false;
        QTest::newRow("typing over a selection") << "0000000" << "1234567" << "19567" << 2 << "19  567" << 2 << false;
        QTest::newRow("paste beyond the end is cut") << ">AAAAAAAA" << "00000000" << "00001234abcd0000" << 12 << "00001234" << 8 << false;
        QTest::newRow("program writes a shorter text") << ">AA" << "01" << "5" << 1 << "5 " << 1 << false;
        QTest::newRow("program empties it") << ">AA" << "01" << "" << 0 << "  " << 0 << false;
        QTest::newRow("letter on a digit position") << "0000000" << "0000000" << "00a00000" << 3 << "0000000" << 2 << true;
        QTest::newRow("typing past the last position") << ">AA" << "01" << "01F" << 3 << "01" << 2 << true;
        QTest::newRow("change away from the cursor") << ">AA" << "01" << "0" << 0 << "01" << 0 << true;
        QTest::newRow("same length replaces in place") << ">AA" << "01" << "f1" << 1 << "F1" << 1 << false;
        QTest::newRow("same length, a character does not fit") << "0000000" << "0000000" << "00x0000" << 3 << "0000000" << 3 << true;
    }
    void editsKeepTheLayout()
    {
        QFETCH(QString, mask);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(int, cursor);
        QFETCH(QString, text);
        QFETCH(int, newCursor);
        QFETCH(bool, refused);
        const EditMask::Edit edit = EditMask(mask).apply(before, after, cursor);
        QCOMPARE(edit.text, text);
        QCOMPARE(edit.cursor, newCursor);
        QCOMPARE(edit.refused, refused);
    }

    void operatorOverwritesAndEveryChangeIsReported()
    {
        TestWindow window;
        BeepCounter beeps;
        MaskEdit *edit = focusedEdit(window, QStringLiteral(">AA"), QStringLiteral("01"));
        QVERIFY(edit);
        QSignalSpy changed(edit, &MaskEdit::changed);
        edit->setText(QStringLiteral("01"));
        QCOMPARE(changed.size(), 0);
        edit->setCursorPosition(0);
        QTest::keyClicks(edit, QStringLiteral("1f2")); // "2" lands past the end
        QCOMPARE(edit->text(), QStringLiteral("1F"));
        QCOMPARE(beeps.count(), 1);
        QCOMPARE(changed.size(), 2);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("1 "));
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(edit->text(), QStringLiteral("  "));
        QCOMPARE(changed.size(), 4);
    }

    void deleteWithItsCharacterIsAnEditingKey()
    {
        TestWindow window;
        MaskEdit *edit = focusedEdit(window, QStringLiteral(">AA"), QStringLiteral("1F"));
        QVERIFY(edit);
        int typed = 0;
        connect(edit, &MaskEdit::keyPress, edit, [&typed](QChar &key) {
            ++typed;
            key = QChar();
        });
        // As the X server sends it: with the DEL character.
        edit->setCursorPosition(0);
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Delete, QString(QChar(0x7F)), Qt::NoModifier);
        QCOMPARE(typed, 0);
        QCOMPARE(edit->text(), QStringLiteral(" F"));
    }

    void keyPressHandlerMayDiscardOrReplaceKeys()
    {
        TestWindow window;
        MaskEdit *edit = focusedEdit(window, QStringLiteral("0000000"), QStringLiteral("0000000"));
        QVERIFY(edit);
        QString seen;
        connect(edit, &MaskEdit::keyPress, edit, [&seen](QChar &key) {
            seen += key;
            if (key == QLatin1Char('x'))
                key = QLatin1Char('1');
            else if (key == QLatin1Char('2'))
                key = QChar();
        });
        QTest::keyClicks(edit, QStringLiteral("x2x"));
        QCOMPARE(seen, QStringLiteral("x2x"));
        QCOMPARE(edit->text(), QStringLiteral("1100000"));
    }

    // The edit menu's paste takes the way of Ctrl+V, through keyPress.
    void menuPastePassesKeyPress()
    {
        TestWindow window;
        MaskEdit *edit = focusedEdit(window, QStringLiteral(">AA"), QStringLiteral("01"));
        QVERIFY(edit);
        connect(edit, &MaskEdit::keyPress, edit, [](QChar &key) {
            if (key == QLatin1Char('g'))
                key = QChar();
        });
        QGuiApplication::clipboard()->setText(QStringLiteral("g2"));
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(edit, &menuEvent);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        const QList<QAction *> actions = menu->actions();
        const auto paste = std::find_if(actions.begin(), actions.end(), [](const QAction *action) {
            return action->text().startsWith(QLatin1String("&Paste"));
        });
        QVERIFY(paste != actions.end());
        (*paste)->trigger();
        menu->close();
        QCOMPARE(edit->text(), QStringLiteral("21"));
    }

    void leavingIncompleteAfterEditingIsRefused()
    {
        TestWindow window;
        BeepCounter beeps;
        DialogRecorder dialogs;
        MaskEdit *edit = focusedEdit(window, QStringLiteral(">AA"), QStringLiteral("01"), 2);
        QVERIFY(edit);
        QTest::keyClick(edit, Qt::Key_Backspace);
        window.clickElsewhere();

        QTRY_VERIFY(edit->hasFocus());
        QCOMPARE(beeps.count(), 1);
        QCOMPARE(dialogs.boxes().size(), 1);
        QCOMPARE(dialogs.boxes().first().kind, Dialogs::Kind::Error);
        QCOMPARE(dialogs.boxes().first().title, QStringLiteral("Karvel II"));
        QCOMPARE(dialogs.boxes().first().text, invalidInput);

        // Neither taking the focus back nor the window's passing loss of
        // activation (a real message box) changes what Escape restores.
        for (const QEvent::Type type : {QEvent::FocusOut, QEvent::FocusIn}) {
            QFocusEvent activation(type, Qt::ActiveWindowFocusReason);
            QCoreApplication::sendEvent(edit, &activation);
        }
        QCOMPARE(dialogs.boxes().size(), 1);
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(edit->text(), QStringLiteral("01"));
        window.clickElsewhere();
        QVERIFY(window.elsewhere->hasFocus());
        QCOMPARE(dialogs.boxes().size(), 1);
    }

    void leavingIsAllowed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("typed");
        QTest::newRow("complete after editing") << "01" << "1f";
        QTest::newRow("incomplete but not edited") << "" << "";
    }
    void leavingIsAllowed()
    {
        QFETCH(QString, text);
        QFETCH(QString, typed);
        TestWindow window;
        BeepCounter beeps;
        DialogRecorder dialogs;
        MaskEdit *edit = focusedEdit(window, QStringLiteral(">AA"), text);
        QVERIFY(edit);
        QTest::keyClicks(edit, typed);
        window.clickElsewhere();
        QCoreApplication::processEvents();
        QVERIFY(window.elsewhere->hasFocus());
        QCOMPARE(beeps.count(), 0);
        QCOMPARE(dialogs.boxes().size(), 0);
    }
};

QTEST_MAIN(TestMaskEdit)
#include "test_maskedit.moc"
