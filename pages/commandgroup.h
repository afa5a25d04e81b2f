#pragma once

#include "protocol/commandcatalogue.h"

#include <QList>

class QGroupBox;
class RadioGroup;
class QWidget;

// The commands a page's " Command " radio group offers, in item order.
QList<Protocol::CommandInfo> pageCommands(Protocol::CommandPage page);

// The " Command " radio group of a page at the left of its sheet, one item
// per command, the first one selected.
RadioGroup *addCommandGroup(QWidget *sheet, const char *name, const QList<Protocol::CommandInfo> &commands,
                            int height);

// The " Parameter " group right of the command group.
QGroupBox *addParameterGroup(QWidget *sheet, const char *name, int height);
