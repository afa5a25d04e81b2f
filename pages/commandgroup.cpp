#include "pages/commandgroup.h"

#include "pages/pagelayout.h"
#include "toolkit/placement.h"
#include "toolkit/radiogroup.h"

#include <QGroupBox>

RadioGroup *addCommandGroup(QWidget *sheet, const char *name, const QStringList &items, int height)
{
    auto *group = Toolkit::placed(new RadioGroup(QStringLiteral(" Command "), items, sheet), name,
                                  PageLayout::commandGroup(height));
    group->setItemIndex(0);
    return group;
}

QGroupBox *addParameterGroup(QWidget *sheet, const char *name, int height)
{
    return Toolkit::placed(new QGroupBox(QStringLiteral(" Parameter "), sheet), name,
                           PageLayout::parameterGroup(height));
}
