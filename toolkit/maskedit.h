#pragma once

#include "toolkit/editmask.h"

#include <QLineEdit>

// A line edit with a fixed-length mask of required positions (see EditMask):
// typing overwrites at the cursor, Backspace and Delete blank a position,
// and text() reads blank positions as spaces, trailing ones too.
//
// Leaving it by Tab or mouse after the operator edited it while a position
// is still blank is refused: it beeps, takes the focus back and reports the
// refusal through the top-level error report. Escape restores the text it
// had when it got the focus.
class MaskEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit MaskEdit(const QString &editMask, QWidget *parent = nullptr);

    bool isComplete() const { return m_mask.isComplete(text()); }

signals:
    // Every change of the text, the program's writes included.
    void changed();
    // Every character key before the entry takes it. A handler may replace
    // key; QChar() discards it.
    void keyPress(QChar &key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    class MaskValidator;

    void onTextEdited(const QString &text);
    void onTextChanged(const QString &text);
    void refuseLeaving();

    EditMask m_mask;
    // The text as last accepted: what the validator compares each edit with.
    QString m_maskedText;
    QString m_textAtFocus;
    bool m_editedSinceFocus = false;
    bool m_takingFocusBack = false;
};
