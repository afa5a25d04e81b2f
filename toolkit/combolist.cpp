#include "toolkit/combolist.h"

ComboList::ComboList(const QStringList &items, QWidget *parent)
    : QComboBox(parent)
{
    addItems(items);
    connect(this, &QComboBox::activated, this, &ComboList::changed);
}

void ComboList::setItemIndex(int index)
{
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}
