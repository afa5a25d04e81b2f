#include "pages/itemrows.h"

#include "pages/catalogueitems.h"
#include "pages/commandgroup.h"
#include "pages/pagelayout.h"
#include "toolkit/placement.h"
#include "toolkit/radiogroup.h"

#include <QGroupBox>
#include <QLabel>

namespace ItemRows {

namespace {

QLabel *labelBeside(QWidget *control, const QString &caption, const char *name, bool before)
{
    QLabel *label = Toolkit::label(caption, control->parentWidget(), name, {});
    const int left = before ? control->x() - kLabelGap - label->width() : control->x() + control->width() + kLabelGap;
    label->move(left, control->y() + (control->height() - label->height()) / 2);
    label->setBuddy(control);
    return label;
}

} // namespace

RadioGroup *addCommandGroup(QWidget *sheet, const char *name, Protocol::CommandPage page)
{
    const QStringList items = CatalogueItems::itemTexts(page);
    return ::addCommandGroup(sheet, name, items, groupHeight(int(items.size())));
}

QGroupBox *addRowGroup(QWidget *sheet, const QString &caption, const char *name, const QWidget *commandGroup)
{
    return Toolkit::placed(new QGroupBox(caption, sheet), name, PageLayout::parameterGroup(commandGroup->height()));
}

QLabel *labelBefore(QWidget *field, const QString &caption, const char *name)
{
    return labelBeside(field, caption, name, true);
}

QLabel *labelAfter(QWidget *control, const QString &caption, const char *name)
{
    return labelBeside(control, caption, name, false);
}

} // namespace ItemRows
