#include "toolkit/statictext.h"

StaticText::StaticText(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAlignment(Qt::AlignCenter);
}
