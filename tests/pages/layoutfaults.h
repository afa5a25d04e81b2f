#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QStyleOptionComboBox>

namespace LayoutFaults {

// Captions and list items wider than the room their control gives them.
inline QStringList clipped(const QWidget *widget)
{
    const bool isGroup = qobject_cast<const QGroupBox *>(widget);
    const QString caption = widget->property(isGroup ? "title" : "text").toString();
    const QString name = widget->objectName().isEmpty() ? caption : widget->objectName();
    if (auto *list = qobject_cast<const QComboBox *>(widget)) {
        QStyleOptionComboBox option;
        option.initFrom(list);
        const int room =
            list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list).width();
        QStringList faults;
        for (int item = 0; item < list->count(); ++item) {
            if (room < list->fontMetrics().horizontalAdvance(list->itemText(item)))
                faults << name + " clips " + list->itemText(item);
        }
        return faults;
    }
    if (!isGroup && !qobject_cast<const QLabel *>(widget) && !qobject_cast<const QAbstractButton *>(widget))
        return {};
    const QSize needed = isGroup ? widget->minimumSizeHint() : widget->sizeHint();
    return widget->width() < needed.width() ? QStringList{name + " clips its caption"} : QStringList();
}

// Controls of the sheet's groups standing outside their group, overlapping a
// neighbour, or clipping their caption. The sheet must have been shown:
// hidden radio groups arrange their items late.
inline QStringList of(const QWidget *sheet)
{
    QStringList faults;
    for (auto *group : sheet->findChildren<QGroupBox *>(Qt::FindDirectChildrenOnly)) {
        faults << clipped(group);
        const QList<QWidget *> children = group->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = 0; i < children.size(); ++i) {
            const QWidget *child = children.at(i);
            if (!group->rect().contains(child->geometry()))
                faults << child->objectName() + " leaves its group";
            faults << clipped(child);
            for (qsizetype j = 0; j < i; ++j) {
                if (children.at(j)->geometry().intersects(child->geometry()))
                    faults << child->objectName() + " overlaps " + children.at(j)->objectName();
            }
        }
    }
    return faults;
}

} // namespace LayoutFaults
