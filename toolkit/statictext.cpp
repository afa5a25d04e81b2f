#include "toolkit/statictext.h"

#include "toolkit/statictextaccessible.h"

#include <QAccessible>

StaticText::StaticText(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    StaticTextAccessible::install();
    setTextFormat(Qt::PlainText);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
}

void StaticText::setText(const QString &text)
{
    const QString old = QLabel::text();
    if (text == old)
        return;
    QLabel::setText(text);
    // QLabel announces a change only as one of its name, which a caption
    // has replaced; the value is what changed.
    QAccessibleTextUpdateEvent textEvent(this, 0, old, text);
    QAccessible::updateAccessibility(&textEvent);
    QAccessibleValueChangeEvent valueEvent(this, text);
    QAccessible::updateAccessibility(&valueEvent);
}

void StaticText::clear()
{
    setText(QString());
}
