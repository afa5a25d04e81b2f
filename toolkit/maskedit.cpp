#include "toolkit/maskedit.h"

#include "toolkit/beep.h"
#include "toolkit/errorreport.h"

#include <QAction>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QValidator>

#include <utility>

namespace {

const QChar escapeKey(27);
// Enough for a long session in an entry of a few positions, and bounded.
constexpr qsizetype undoDepth = 100;

QString invalidInputMessage()
{
    return QStringLiteral("Ungültiger Eingabewert. Mit der Taste ESC machen Sie die Änderungen rückgängig.");
}

// A move of the focus from control to control, not the window losing or
// regaining activation (another window, a message box, a popup).
bool isFocusMoveWithinWindow(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// A character key, not an editing chord: Ctrl+A and the like come with a
// control character as their text. Delete is an editing key like the
// arrows, even where the window system hands it over with the DEL character.
bool isTypedCharacter(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers chord = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return event->text().size() == 1 && event->key() != Qt::Key_Delete && !(event->modifiers() & chord);
}

// The clipboard a paste chord takes: Ctrl+Shift+Insert pastes the selection
// where the window system has one.
QClipboard::Mode pasteSource(const QKeyEvent *event)
{
    const bool selectionChord = event->key() == Qt::Key_Insert
        && event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
    return selectionChord && QGuiApplication::clipboard()->supportsSelection() ? QClipboard::Selection
                                                                               : QClipboard::Clipboard;
}

} // namespace

// Sees every change the line edit is about to make, typed, pasted, cut or
// set by the program, and turns it into its masked form.
class MaskEdit::MaskValidator : public QValidator
{
public:
    explicit MaskValidator(MaskEdit *edit)
        : QValidator(edit)
        , m_edit(edit)
    {
    }

    State validate(QString &input, int &pos) const override
    {
        const EditMask::Edit edit = m_edit->m_mask.apply(m_edit->m_maskedText, input, pos);
        if (edit.refused)
            Toolkit::beep();
        input = edit.text;
        pos = edit.cursor;
        return Acceptable;
    }

private:
    MaskEdit *m_edit;
};

MaskEdit::MaskEdit(const QString &editMask, QWidget *parent)
    : QLineEdit(parent)
    , m_mask(editMask)
    , m_maskedText(m_mask.blankText())
{
    // The mask's length is the maximum length; QLineEdit's own limit would
    // stop overwriting in a full entry.
    setText(m_maskedText);
    setValidator(new MaskValidator(this));
    // A drop inserts and removes in two steps the mask cannot follow.
    setAcceptDrops(false);
    connect(this, &QLineEdit::textEdited, this, &MaskEdit::onTextEdited);
    connect(this, &QLineEdit::textChanged, this, &MaskEdit::onTextChanged);
}

void MaskEdit::onTextEdited(const QString &text)
{
    m_operatorChange = true;
    if (text == m_maskedText)
        return;
    m_editedSinceFocus = true;
    if (m_undoTexts.size() == undoDepth)
        m_undoTexts.removeFirst();
    m_undoTexts.append(m_maskedText);
}

void MaskEdit::onTextChanged(const QString &text)
{
    const bool operatorChange = std::exchange(m_operatorChange, false);
    // A refused edit comes back as the text it started from.
    if (text == m_maskedText)
        return;
    // The program's writes start the history afresh, as in any line edit.
    if (!operatorChange)
        m_undoTexts.clear();
    m_maskedText = text;
    emit changed();
}

void MaskEdit::undoEdit()
{
    if (m_undoTexts.isEmpty() || isReadOnly())
        return;
    m_operatorChange = true;
    m_editedSinceFocus = true;
    setText(m_undoTexts.takeLast());
    m_operatorChange = false;
}

void MaskEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
        pasteAdmitted(pasteSource(event));
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        undoEdit();
        event->accept();
        return;
    }
    if (!isTypedCharacter(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }

    QChar key = event->text().at(0);
    emit keyPress(key);
    if (key.isNull()) {
        event->accept();
        return;
    }
    if (key == escapeKey && m_editedSinceFocus) {
        setText(m_textAtFocus);
        m_editedSinceFocus = false;
        event->accept();
        return;
    }
    if (key == event->text().at(0)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent replaced(event->type(), event->key(), event->modifiers(), QString(key),
                       event->isAutoRepeat(), ushort(event->count()));
    QLineEdit::keyPressEvent(&replaced);
    event->setAccepted(replaced.isAccepted());
}

void MaskEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = admitted(event->commitString());
    if (commit == event->commitString()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent admittedEvent(event->preeditString(), event->attributes());
    admittedEvent.setCommitString(commit, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&admittedEvent);
    event->setAccepted(admittedEvent.isAccepted());
}

void MaskEdit::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button pastes the selection where the window system has one.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() && !isReadOnly()) {
        deselect();
        pasteAdmitted(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void MaskEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // Qt's own menu would paste past keyPress and undo from a history the
    // mask has cleared: this one offers the same commands the entry's way.
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [menu, this](const QString &text, const QKeySequence &keys, bool enabled, auto command) {
        QAction *action = menu->addAction(
            keys.isEmpty() ? text : text + QLatin1Char('\t') + keys.toString(QKeySequence::NativeText));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, command);
    };
    const bool editable = !isReadOnly();
    add(QLineEdit::tr("&Undo"), QKeySequence::Undo, editable && !m_undoTexts.isEmpty(), &MaskEdit::undoEdit);
    menu->addSeparator();
    add(QLineEdit::tr("Cu&t"), QKeySequence::Cut, editable && hasSelectedText(), &QLineEdit::cut);
    add(QLineEdit::tr("&Copy"), QKeySequence::Copy, hasSelectedText(), &QLineEdit::copy);
    add(QLineEdit::tr("&Paste"), QKeySequence::Paste,
        editable && !QGuiApplication::clipboard()->text().isEmpty(),
        [this] { pasteAdmitted(QClipboard::Clipboard); });
    add(QLineEdit::tr("Delete"), {}, editable && hasSelectedText(), &QLineEdit::del);
    menu->addSeparator();
    add(QLineEdit::tr("Select All"), QKeySequence::SelectAll, !text().isEmpty(), &QLineEdit::selectAll);
    menu->popup(event->globalPos());
}

QString MaskEdit::admitted(const QString &text)
{
    QString passed;
    for (QChar key : text) {
        if (key.category() == QChar::Other_Control)
            continue;
        emit keyPress(key);
        if (!key.isNull())
            passed += key;
    }
    return passed;
}

void MaskEdit::pasteAdmitted(QClipboard::Mode mode)
{
    // Nothing admitted leaves a selection as a refused key does.
    if (const QString text = admitted(QGuiApplication::clipboard()->text(mode)); !text.isEmpty())
        insert(text);
}

void MaskEdit::focusInEvent(QFocusEvent *event)
{
    if (isFocusMoveWithinWindow(event->reason())) {
        // Taking the focus back after a refusal keeps what Escape restores.
        if (!m_takingFocusBack) {
            m_textAtFocus = text();
            m_editedSinceFocus = false;
        }
        m_takingFocusBack = false;
    }
    QLineEdit::focusInEvent(event);
}

void MaskEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (m_editedSinceFocus && !isComplete() && isFocusMoveWithinWindow(event->reason()))
        refuseLeaving();
}

void MaskEdit::refuseLeaving()
{
    Toolkit::beep();
    m_takingFocusBack = true;
    // Queued: the focus is still moving, and the report opens a modal box.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isVisible())
                setFocus(Qt::OtherFocusReason);
            else
                m_takingFocusBack = false;
            Toolkit::reportError(invalidInputMessage());
        },
        Qt::QueuedConnection);
}
