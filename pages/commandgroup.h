#pragma once

#include <QStringList>

class QGroupBox;
class RadioGroup;
class QWidget;

// The " Command " radio group of a page at the left of its sheet with the
// given items, the first one selected.
RadioGroup *addCommandGroup(QWidget *sheet, const char *name, const QStringList &items, int height);

// The " Parameter " group right of the command group.
QGroupBox *addParameterGroup(QWidget *sheet, const char *name, int height);
