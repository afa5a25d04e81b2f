#pragma once

#include "protocol/commandcatalogue.h"

#include <QString>

#include <initializer_list>

class QGroupBox;
class QLabel;
class QWidget;
class RadioGroup;

// Pages whose rows stand beside the radio items they belong to. The
// " Command " group is made just high enough for each line of its items to
// get one row of controls; the group to its right starts level with it and
// is as high, so a row placed by rowTop() stands level with its item.
namespace ItemRows {

inline constexpr int kFieldHeight = 21;

// An item whose controls stand on more than one line.
struct TallItem
{
    int item;
    int lines;
};

// The page's " Command " radio group with the catalogue's items for page,
// item 0 selected.
RadioGroup *addCommandGroup(QWidget *sheet, const char *name, Protocol::CommandPage page,
                            std::initializer_list<TallItem> tallItems = {});

// The group right of commandGroup, as high, for the rows of its items.
QGroupBox *addRowGroup(QWidget *sheet, const QString &caption, const char *name, const QWidget *commandGroup);

// The top of a control of the given height on a line of item's rows (lines
// counted from 0), centred on that line.
int rowTop(const RadioGroup *commandGroup, int item, int height, int line = 0);

// The caption of a control (its buddy and its name for screen readers), on
// its vertical centre: ending just left of a field, or starting just right
// of a control that reads from the left, such as a lamp.
QLabel *labelBefore(QWidget *field, const QString &caption, const char *name);
QLabel *labelAfter(QWidget *control, const QString &caption, const char *name);
// A text on control's vertical centre, starting at left, that names no
// field: a note, or the heading of a row of check boxes.
QLabel *noteAt(QWidget *control, const QString &text, const char *name, int left);

} // namespace ItemRows
