#include "pages/modifiergroup.h"

#include "pages/pagelayout.h"
#include "protocol/commandcatalogue.h"
#include "toolkit/combolist.h"
#include "toolkit/placement.h"
#include "toolkit/tag.h"

#include <QGroupBox>

ComboList *addModifierGroup(QWidget *sheet, const char *groupName, const char *listName, int commandHeight)
{
    auto *group = Toolkit::placed(new QGroupBox(QStringLiteral(" Modifier "), sheet), groupName,
                                  PageLayout::modifierGroup(commandHeight));
    auto *list = Toolkit::placed(new ComboList(Protocol::ModifierItemTexts(), group), listName,
                                 PageLayout::modifierList());
    list->setItemIndex(0);
    Toolkit::setTag(list, -1);
    Toolkit::nameAs(list, group->title());
    return list;
}
