#include "toolkit/checkbox.h"

CheckBox::CheckBox(const QString &caption, QWidget *parent)
    : QCheckBox(caption, parent)
{
    connect(this, &QCheckBox::toggled, this, &CheckBox::changed);
}
