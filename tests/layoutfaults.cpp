#include "tests/layoutfaults.h"

#include "toolkit/spinedit.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// The room a line edit leaves its text: its frame and the edit's own margin
// of two pixels on either side.
int textRoom(const QLineEdit *edit)
{
    const int frame = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    return edit->width() - 2 * (frame + 2);
}

int widestText(const QFontMetrics &metrics, const QStringList &texts)
{
    int widest = 0;
    for (const QString &text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
}

// The width a control's content needs and the width it has; nothing for a
// kind whose content is not checked.
std::optional<std::pair<int, int>> widthNeededAndGiven(const QWidget *control)
{
    if (const auto *spin = qobject_cast<const SpinEdit *>(control)) {
        const QStringList ends{QString::number(spin->MinValue()), QString::number(spin->MaxValue())};
        return std::pair{widestText(spin->fontMetrics(), ends), textRoom(spin->findChild<QLineEdit *>())};
    }
    if (const auto *edit = qobject_cast<const QLineEdit *>(control)) {
        // As many of the widest hexadecimal digit as the entry holds.
        QStringList digits;
        for (const QChar c : QStringLiteral("0123456789ABCDEF"))
            digits << QString(edit->text().size(), c);
        return std::pair{widestText(edit->fontMetrics(), digits), textRoom(edit)};
    }
    if (const auto *list = qobject_cast<const QComboBox *>(control)) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        QStyleOptionComboBox option;
        option.initFrom(list);
        const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                          QStyle::SC_ComboBoxEditField, list);
        return std::pair{widestText(list->fontMetrics(), items), field.width()};
    }
    if (const auto *button = qobject_cast<const QPushButton *>(control)) {
        // The caption inside the button's margin and frame: the style's wish
        // for buttons at least 80 pixels wide is no clipping.
        const QStyle *style = button->style();
        const int border = style->pixelMetric(QStyle::PM_ButtonMargin)
            + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const QString caption = QString(button->text()).remove(QLatin1Char('&'));
        return std::pair{button->fontMetrics().horizontalAdvance(caption) + border, button->width()};
    }
    if (qobject_cast<const QLabel *>(control) || qobject_cast<const QAbstractButton *>(control))
        return std::pair{control->sizeHint().width(), control->width()};
    return std::nullopt;
}

// The part of a control that shows: a radio button takes its item's share
// of the group, its button and caption only as much as they need, centred
// on its height.
QRect shownRect(const QWidget *control)
{
    const QRect rect = control->geometry();
    if (!qobject_cast<const QRadioButton *>(control))
        return rect;
    const QSize needed = control->sizeHint().boundedTo(rect.size());
    return {rect.left(), rect.top() + (rect.height() - needed.height()) / 2, needed.width(), needed.height()};
}

// Where a group's children keep 4 pixels from its frame: the frame runs
// round the group's edges, the caption across its top.
QRect roomInside(const QGroupBox *group)
{
    constexpr int margin = 4;
    return group->rect().adjusted(margin, group->contentsRect().top(), -margin, -margin);
}

QString nameOf(const QWidget *control)
{
    if (const auto *button = qobject_cast<const QRadioButton *>(control))
        return control->parentWidget()->objectName() + QStringLiteral(" item ") + button->text();
    return control->objectName();
}

} // namespace

QStringList layoutFaults(const QWidget *sheet)
{
    QList<const QWidget *> controls;
    for (const QWidget *widget : sheet->findChildren<QWidget *>()) {
        const bool named = !widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_"));
        // A dialog the window owns is a window of its own, not one of its controls.
        const bool ownWindow = widget->window() == sheet->window();
        if (ownWindow && (named || qobject_cast<const QRadioButton *>(widget)))
            controls.append(widget);
    }

    QStringList faults;
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QWidget *widget = controls.at(i);
        if (!widget->parentWidget()->rect().contains(widget->geometry()))
            faults << nameOf(widget) + QStringLiteral(" reaches outside its parent");
        else if (const auto *group = qobject_cast<const QGroupBox *>(widget->parentWidget());
                 group && !roomInside(group).contains(shownRect(widget)))
            faults << nameOf(widget) + QStringLiteral(" comes closer than 4 pixels to the frame of its group");
        if (const auto width = widthNeededAndGiven(widget); width && width->first > width->second) {
            faults << nameOf(widget)
                    + QStringLiteral(" is clipped: needs %1 pixels, has %2").arg(width->first).arg(width->second);
        }
        for (const QWidget *other : controls.mid(i + 1)) {
            if (other->parentWidget() == widget->parentWidget() && other->geometry().intersects(widget->geometry()))
                faults << nameOf(widget) + QStringLiteral(" overlaps ") + nameOf(other);
        }
    }
    return faults;
}
