#pragma once

class ComboList;
class QWidget;

// The " Modifier " group of a parameter page with its drop-down list of the
// four modifiers (item index = P0), placed under the page's command group of
// the given height. The list starts at "Set and store in EEPROM" and takes
// part in no command (tag -1).
ComboList *addModifierGroup(QWidget *sheet, const char *groupName, const char *listName, int commandHeight);

// Whether a modifier's item index reads a value instead of setting one: the
// frame then carries 00 in P1..P6.
inline bool isReadingModifier(int itemIndex)
{
    return itemIndex >= 2;
}
