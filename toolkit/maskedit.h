#pragma once

#include "toolkit/editmask.h"

#include <QClipboard>
#include <QLineEdit>
#include <QStringList>

// A line edit with a fixed-length mask of required positions (see EditMask):
// typing overwrites at the cursor, Backspace and Delete blank a position,
// and text() reads blank positions as spaces, trailing ones too.
//
// Leaving it by Tab or mouse after the operator edited it while a position
// is still blank is refused: it beeps, takes the focus back and reports the
// refusal through the top-level error report. Escape restores the text it
// had when it got the focus.
//
// What the operator enters passes keyPress character by character, whether
// typed, pasted or committed by an input method; editing chords (Ctrl+A,
// Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z, Shift+Insert) are not characters and do
// their work as in any line edit. Undo steps back through the operator's
// edits since the program last wrote the text.
class MaskEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit MaskEdit(const QString &editMask, QWidget *parent = nullptr);

    bool isComplete() const { return m_mask.isComplete(text()); }

signals:
    // Every change of the text, the program's writes included.
    void changed();
    // Every character the operator enters, before the entry takes it: a
    // typed key (Backspace, Tab, Enter and Escape among them), or one
    // character of pasted or input-method text. A handler may replace key;
    // QChar() discards it.
    void keyPress(QChar &key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    class MaskValidator;

    void onTextEdited(const QString &text);
    void onTextChanged(const QString &text);
    void refuseLeaving();
    void undoEdit();
    // text less what keyPress discards and less control characters: the
    // line breaks and tabs of pasted text are no keys the operator typed.
    QString admitted(const QString &text);
    void pasteAdmitted(QClipboard::Mode mode);

    EditMask m_mask;
    // The text as last accepted: what the validator compares each edit with.
    QString m_maskedText;
    QString m_textAtFocus;
    bool m_editedSinceFocus = false;
    bool m_takingFocusBack = false;
    // The texts before the operator's edits, the latest last. QLineEdit's
    // own history does not survive the mask rewriting each edit.
    QStringList m_undoTexts;
    // The change under way is the operator's: an edit or an undo.
    bool m_operatorChange = false;
};
