#include "pages/catalogueitems.h"

namespace CatalogueItems {

QStringList itemTexts(Protocol::CommandPage page)
{
    QStringList texts;
    for (const Protocol::CommandInfo &command : Protocol::CommandCatalogue()) {
        if (command.page != page)
            continue;
        if (texts.size() <= command.item)
            texts.resize(command.item + 1);
        texts[command.item] = command.itemText;
    }
    return texts;
}

std::optional<quint8> code(Protocol::CommandPage page, int item)
{
    for (const Protocol::CommandInfo &command : Protocol::CommandCatalogue()) {
        if (command.page == page && command.item == item)
            return command.code;
    }
    return std::nullopt;
}

} // namespace CatalogueItems
