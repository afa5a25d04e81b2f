#pragma once

#include "protocol/commandcatalogue.h"

#include <QStringList>

#include <optional>

// A page's " Command " items and their codes, read from the command catalogue
// so that captions and codes have one home.
namespace CatalogueItems {

// The captions in item order; an item the catalogue does not list stays empty.
QStringList itemTexts(Protocol::CommandPage page);

// The command code of a page's item; nothing when the index names no item.
std::optional<quint8> code(Protocol::CommandPage page, int item);

} // namespace CatalogueItems
