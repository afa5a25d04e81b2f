#include "toolkit/maskedit.h"

#include "toolkit/beep.h"
#include "toolkit/errorreport.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

namespace {

const QChar escapeKey(27);

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
    if (text != m_maskedText)
        m_editedSinceFocus = true;
}

void MaskEdit::onTextChanged(const QString &text)
{
    // A refused edit comes back as the text it started from.
    if (text == m_maskedText)
        return;
    m_maskedText = text;
    emit changed();
}

void MaskEdit::keyPressEvent(QKeyEvent *event)
{
    // Delete is an editing key like the arrows, not a typed character, even
    // where the window system hands it over with the DEL character.
    if (event->text().size() != 1 || event->key() == Qt::Key_Delete) {
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
