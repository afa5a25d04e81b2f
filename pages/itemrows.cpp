#include "pages/itemrows.h"

#include "pages/catalogueitems.h"
#include "pages/pagelayout.h"
#include "toolkit/placement.h"
#include "toolkit/radiogroup.h"

#include <QGroupBox>
#include <QLabel>

namespace ItemRows {

namespace {

// Where a radio group starts its items: below its caption line at the
// 11-pixel window font.
constexpr int kCaptionLine = 14;
constexpr int kPitch = 32;
// Between a caption and the control it names.
constexpr int kLabelGap = 4;

constexpr int groupHeight(int lines)
{
    return kCaptionLine + lines * kPitch + 4;
}

QLabel *labelOnRow(QWidget *control, const QString &text, const char *name)
{
    QLabel *label = Toolkit::label(text, control->parentWidget(), name, {});
    label->move(0, control->y() + (control->height() - label->height()) / 2);
    return label;
}

} // namespace

RadioGroup *addCommandGroup(QWidget *sheet, const char *name, Protocol::CommandPage page,
                            std::initializer_list<TallItem> tallItems)
{
    const QStringList items = CatalogueItems::itemTexts(page);
    auto *group = new RadioGroup(QStringLiteral(" Command "), items, sheet);
    int lines = int(items.size());
    for (const TallItem &tall : tallItems) {
        group->setItemLines(tall.item, tall.lines);
        lines += tall.lines - 1;
    }
    Toolkit::placed(group, name, PageLayout::commandGroup(groupHeight(lines)));
    group->setItemIndex(0);
    return group;
}

QGroupBox *addRowGroup(QWidget *sheet, const QString &caption, const char *name, const QWidget *commandGroup)
{
    return Toolkit::placed(new QGroupBox(caption, sheet), name, PageLayout::parameterGroup(commandGroup->height()));
}

int rowTop(const RadioGroup *commandGroup, int item, int height, int line)
{
    const QRect band = commandGroup->itemRect(item);
    const int lineHeight = band.height() / commandGroup->itemLines(item);
    return band.top() + line * lineHeight + (lineHeight - height) / 2;
}

QLabel *labelBefore(QWidget *field, const QString &caption, const char *name)
{
    QLabel *label = labelOnRow(field, caption, name);
    label->move(field->x() - kLabelGap - label->width(), label->y());
    Toolkit::nameByCaption(field, label);
    return label;
}

QLabel *labelAfter(QWidget *control, const QString &caption, const char *name)
{
    QLabel *label = labelOnRow(control, caption, name);
    label->move(control->x() + control->width() + kLabelGap, label->y());
    Toolkit::nameByCaption(control, label);
    return label;
}

QLabel *noteAt(QWidget *control, const QString &text, const char *name, int left)
{
    QLabel *label = labelOnRow(control, text, name);
    label->move(left, label->y());
    return label;
}

} // namespace ItemRows
