#include "pagetestkit.h"

#include "toolkit/maskedit.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/statictext.h"

#include <QAbstractSpinBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <algorithm>

namespace {

// An entry of the window, with the steps that open it to the operator and
// a text to type into it.
struct Entry
{
    const char *name;
    QStringList opening;
    QString sample;
};

const Entry kEntries[] = {
    {"EditAddr", {}, QStringLiteral("1F")},
    {"EditStandbyCur", {}, QStringLiteral("123")},
    {"EditEncConf", {"PageCommands=1"}, QStringLiteral("1010101")},
    {"EditReceiveID", {"PageCommands=1", "RGCmdSet2=5"}, QStringLiteral("1234ABCD")},
    {"EditRSRecvID", {"PageCommands=5", "RG_K410=3"}, QStringLiteral("A5")},
};

const Entry &entryNamed(const QString &name)
{
    return *std::find_if(std::begin(kEntries), std::end(kEntries),
                         [&](const Entry &entry) { return name == QLatin1String(entry.name); });
}

QLineEdit *lineOf(QWidget *entry)
{
    auto *line = qobject_cast<QLineEdit *>(entry);
    return line ? line : entry->findChild<QLineEdit *>();
}

// A chord as the window system sends it: Ctrl and a letter carry the
// letter's control character as their text.
void press(QWidget *widget, QKeyCombination chord)
{
    const int key = chord.key();
    const bool controlLetter = chord.keyboardModifiers() == Qt::ControlModifier && key >= Qt::Key_A
        && key <= Qt::Key_Z;
    const QString text = controlLetter ? QString(QChar(key - Qt::Key_A + 1)) : QString();
    QTest::sendKeyEvent(QTest::Click, widget, chord.key(), text, chord.keyboardModifiers());
}

bool isInput(const QWidget *widget)
{
    if (qobject_cast<const QAbstractSpinBox *>(widget->parentWidget()))
        return false;
    return qobject_cast<const QAbstractSpinBox *>(widget) || qobject_cast<const QLineEdit *>(widget)
        || qobject_cast<const QComboBox *>(widget);
}

// The label left of input on its row with nothing between them: its caption.
const QLabel *captionOf(const QWidget *input)
{
    const QRect row = input->geometry();
    const QLabel *caption = nullptr;
    int captionRight = -1;
    for (const QWidget *sibling : input->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const QRect place = sibling->geometry();
        if (sibling == input || place.right() >= row.left() || place.bottom() < row.top() || place.top() > row.bottom()
            || place.right() <= captionRight)
            continue;
        const auto *label = qobject_cast<const QLabel *>(sibling);
        caption = label && !qobject_cast<const StaticText *>(label) ? label : nullptr;
        captionRight = place.right();
    }
    return caption;
}

} // namespace

class TestEntries : public QObject
{
    Q_OBJECT

private slots:
    void editingChordsAreNoCharacters_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QList<QKeyCombination>>("chords");
        QTest::addColumn<QString>("text");      // what the entry then holds, trimmed; "sample" for its sample
        QTest::addColumn<QString>("clipboard"); // the same for the clipboard
        QTest::addColumn<QString>("selected"); // the same for the selection; null: not looked at
        const QKeyCombination selectAll = Qt::CTRL | Qt::Key_A;
        const QKeyCombination cut = Qt::CTRL | Qt::Key_X;
        const QString sample = QStringLiteral("sample");
        for (const Entry &entry : kEntries) {
            const auto row = [&](const char *chord, const QList<QKeyCombination> &chords, const QString &text,
                                 const QString &clipboard, const QString &selected) {
                QTest::addRow("%s %s", entry.name, chord)
                    << QString::fromLatin1(entry.name) << chords << text << clipboard << selected;
            };
            row("Ctrl+A", {selectAll}, sample, QString(), sample);
            row("Ctrl+C", {selectAll, Qt::CTRL | Qt::Key_C}, sample, sample, sample);
            row("Ctrl+X", {selectAll, cut}, QString(), sample, QString());
            row("Ctrl+V", {selectAll, cut, Qt::CTRL | Qt::Key_V}, sample, sample, QString());
            row("Shift+Insert", {selectAll, cut, Qt::SHIFT | Qt::Key_Insert}, sample, sample, QString());
            row("Ctrl+Z", {selectAll, cut, Qt::CTRL | Qt::Key_Z}, sample, sample, QString());
        }
    }
    void editingChordsAreNoCharacters()
    {
        QFETCH(QString, entry);
        QFETCH(QList<QKeyCombination>, chords);
        QFETCH(QString, text);
        QFETCH(QString, clipboard);
        QFETCH(QString, selected);
        const Entry &tried = entryNamed(entry);
        const auto expected = [&](const QString &value) {
            return value == QLatin1String("sample") ? tried.sample : value;
        };
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply(tried.opening));
        QVERIFY(kit.apply(entry + QLatin1Char('=') + tried.sample));
        QGuiApplication::clipboard()->clear();
        QWidget *control = kit.control(entry);
        for (const QKeyCombination chord : chords)
            press(control, chord);
        QLineEdit *line = lineOf(control);
        QCOMPARE(line->text().trimmed(), expected(text));
        QCOMPARE(QGuiApplication::clipboard()->text(), expected(clipboard));
        if (!selected.isNull())
            QCOMPARE(line->selectedText(), expected(selected));
        QCOMPARE(kit.beeps(), 0);
    }

    // A paste is offered to the key filter as if typed: what typing could
    // not enter is dropped with the beep, line breaks silently.
    void pastedAndCommittedTextPassesTheKeyFilter_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("paste"); // or an input method's commit
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("beeps");
        QTest::newRow("address paste") << "EditAddr" << true << "1g" << "1 " << 1;
        QTest::newRow("nothing admitted keeps the selection") << "EditAddr" << true << "g" << "01" << 1;
        QTest::newRow("address commit") << "EditAddr" << false << "g" << "01" << 1;
        QTest::newRow("address commit lower case") << "EditAddr" << false << "a" << "A1" << 0;
        QTest::newRow("identifier paste with line break") << "EditReceiveID" << true << "1234abcd\r\n" << "1234ABCD"
                                                          << 0;
        QTest::newRow("identifier paste of letters past F") << "EditReceiveID" << true << "12wx34" << "1234    " << 2;
        QTest::newRow("device identifier commit") << "EditRSRecvID" << false << "5z" << "50" << 1;
        QTest::newRow("binary paste") << "EditEncConf" << true << "1020000" << "100000 " << 1;
        QTest::newRow("binary commit") << "EditEncConf" << false << "2" << "0000000" << 1;
    }
    void pastedAndCommittedTextPassesTheKeyFilter()
    {
        QFETCH(QString, entry);
        QFETCH(bool, paste);
        QFETCH(QString, text);
        QFETCH(QString, result);
        QFETCH(int, beeps);
        PageTestKit kit;
        QVERIFY(kit.show());
        QVERIFY(kit.apply(entryNamed(entry).opening));
        if (paste) {
            QVERIFY(kit.apply(entry + QLatin1Char('<') + text));
        } else {
            QVERIFY(kit.apply(entry + QLatin1Char(':')));
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QCoreApplication::sendEvent(kit.control(entry), &commit);
        }
        QCOMPARE(kit.control<MaskEdit>(entry)->text(), result);
        QCOMPARE(kit.beeps(), beeps);
    }

    // Screen readers read an input by its name; a caption beside it must be
    // its label, so that they and its shortcut find it.
    void everyInputHasAName()
    {
        PageTestKit kit;
        QStringList faults;
        int inputs = 0;
        for (const QWidget *widget : kit.window().findChildren<QWidget *>()) {
            if (!isInput(widget))
                continue;
            ++inputs;
            if (widget->accessibleName().isEmpty())
                faults << widget->objectName() + QStringLiteral(" has no name");
            if (const QLabel *caption = captionOf(widget); caption && caption->buddy() != widget)
                faults << widget->objectName() + QStringLiteral(" is not the buddy of ") + caption->objectName();
        }
        QCOMPARE(inputs, 59);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
        QCOMPARE(kit.control(QStringLiteral("EditBow"))->accessibleName(), QStringLiteral("$63: Bow"));
        QCOMPARE(kit.control(QStringLiteral("EditStandbyCur"))->accessibleName(), QStringLiteral("Standby"));
    }

    // As a click on the tab: the page comes to the front and composes its
    // command, wherever the focus is.
    void keysTurnThePagesFromAnywhere_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QKeyCombination>("chord");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("command");
        QTest::newRow("Ctrl+PgDn from an entry") << "EditStandbyCur"
                                                 << (Qt::CTRL | Qt::Key_PageDown) << 1 << "70";
        QTest::newRow("Ctrl+Tab from the address") << "EditAddr" << (Qt::CTRL | Qt::Key_Tab)
                                                   << 1 << "70";
        QTest::newRow("Ctrl+PgUp round the first page")
            << "EditStandbyCur" << (Qt::CTRL | Qt::Key_PageUp) << 5 << "10";
        QTest::newRow("Ctrl+Shift+Tab from a list")
            << "CbModifier1" << (Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab) << 5 << "10";
    }
    void keysTurnThePagesFromAnywhere()
    {
        QFETCH(QString, focus);
        QFETCH(QKeyCombination, chord);
        QFETCH(int, page);
        QFETCH(QString, command);
        PageTestKit kit;
        QVERIFY(kit.show());
        QWidget *control = kit.control(focus);
        control->setFocus(Qt::TabFocusReason);
        kit.scribbleOverFrame();
        press(QApplication::focusWidget(), chord);
        QCOMPARE(kit.control<PageControl>(QStringLiteral("PageCommands"))->currentIndex(), page);
        QCOMPARE(kit.commandBytes().section(QLatin1Char(' '), 0, 0), command);
    }
};

QTEST_MAIN(TestEntries)
#include "test_entries.moc"
