#include "pages/taggedcontrols.h"

#include "config/configfields.h"

#include "pages/itemrows.h"
#include "toolkit/placement.h"
#include "toolkit/radiogroup.h"
#include "toolkit/tag.h"

#include <QLabel>

namespace TaggedControls {

namespace {

template <typename Control>
Control *tagged(Control *control, int tag)
{
    Toolkit::setTag(control, tag);
    return control;
}

} // namespace

QLabel *labelBefore(QWidget *field, const char *name, const QString &caption)
{
    return tagged(ItemRows::labelBefore(field, caption, name), Toolkit::tagOf(field));
}

QLabel *labelAt(QWidget *field, const char *name, const QString &caption, int left)
{
    QLabel *label = labelBefore(field, name, caption);
    label->move(left, label->y());
    return label;
}

QLabel *noteAt(QWidget *control, const char *name, const QString &text, int left)
{
    return tagged(ItemRows::noteAt(control, text, name, left), Toolkit::tagOf(control));
}

SpinEdit *spinEdit(QWidget *group, const char *name, int tag, const QRect &geometry)
{
    auto *edit = tagged(Toolkit::placed(new SpinEdit(group), name, geometry), tag);
    const auto [minValue, maxValue] = ConfigFields::RangeOf(QLatin1StringView(name));
    edit->setRange(minValue, maxValue);
    edit->setValue(std::max(minValue, 0));
    return edit;
}

CheckBox *checkBox(QWidget *group, const char *name, int tag, const QString &caption, const QRect &geometry)
{
    return tagged(Toolkit::placed(new CheckBox(caption, group), name, geometry), tag);
}

ComboList *comboList(QWidget *group, const char *name, int tag, const QRect &geometry, int itemIndex)
{
    const QStringList items = ConfigFields::ItemsOf(QLatin1StringView(name));
    auto *list = tagged(Toolkit::placed(new ComboList(items, group), name, geometry), tag);
    list->setItemIndex(itemIndex);
    return list;
}

MaskEdit *maskEdit(QWidget *group, const char *name, int tag, const QRect &geometry, const QString &editMask,
                   const QString &text)
{
    auto *edit = tagged(Toolkit::placed(new MaskEdit(editMask, group), name, geometry), tag);
    edit->setText(text);
    return edit;
}

void enableForCommand(QWidget *group, int itemIndex)
{
    for (QWidget *control : group->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (control->property("Tag").isValid())
            control->setEnabled(Toolkit::tagOf(control) == itemIndex);
    }
}

void nameByCommand(QWidget *group, const RadioGroup *commandGroup)
{
    for (QWidget *control : group->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const bool entryOrList = qobject_cast<QAbstractSpinBox *>(control) || qobject_cast<QLineEdit *>(control)
            || qobject_cast<QComboBox *>(control);
        if (entryOrList && control->accessibleName().isEmpty())
            Toolkit::nameAs(control, commandGroup->itemText(Toolkit::tagOf(control)));
    }
}

} // namespace TaggedControls
