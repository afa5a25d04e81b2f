#include "pages/commandgroup.h"

#include "pages/pagelayout.h"
#include "toolkit/placement.h"
#include "toolkit/radiogroup.h"

#include <QGroupBox>

#include <algorithm>

QList<Protocol::CommandInfo> pageCommands(Protocol::CommandPage page)
{
    QList<Protocol::CommandInfo> commands;
    for (const Protocol::CommandInfo &command : Protocol::CommandCatalogue()) {
        if (command.page == page)
            commands.append(command);
    }
    std::sort(commands.begin(), commands.end(),
              [](const Protocol::CommandInfo &a, const Protocol::CommandInfo &b) { return a.item < b.item; });
    return commands;
}

RadioGroup *addCommandGroup(QWidget *sheet, const char *name, const QList<Protocol::CommandInfo> &commands,
                            int height)
{
    QStringList items;
    for (const Protocol::CommandInfo &command : commands)
        items.append(command.itemText);
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
