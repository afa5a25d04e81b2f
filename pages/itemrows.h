#pragma once

#include "protocol/commandcatalogue.h"

#include <QString>

class QGroupBox;
class QLabel;
class QWidget;
class RadioGroup;

// Pages whose rows stand beside the radio items they belong to. The
// " Command " group is made just high enough for each item to get kPitch
// pixels; the group to its right is as high, so row n lines up with item n.
namespace ItemRows {

inline constexpr int kPitch = 32;
// Where a radio group starts its items: below its caption line at the
// 11-pixel window font.
inline constexpr int kCaptionLine = 14;
inline constexpr int kFieldHeight = 21;
// Between a caption and the control it names.
inline constexpr int kLabelGap = 4;

inline constexpr int groupHeight(int items)
{
    return kCaptionLine + items * kPitch + 4;
}

// The top of a control of the given height centred on item's row.
inline constexpr int rowTop(int item, int height)
{
    return kCaptionLine + item * kPitch + (kPitch - height) / 2;
}

// The page's " Command " radio group with the catalogue's items for page,
// item 0 selected.
RadioGroup *addCommandGroup(QWidget *sheet, const char *name, Protocol::CommandPage page);

// The group right of commandGroup, as high, for the rows of its items.
QGroupBox *addRowGroup(QWidget *sheet, const QString &caption, const char *name, const QWidget *commandGroup);

// A caption ending just left of field, on its vertical centre.
QLabel *labelBefore(QWidget *field, const QString &caption, const char *name);
// A caption starting just right of control, on its vertical centre.
QLabel *labelAfter(QWidget *control, const QString &caption, const char *name);

} // namespace ItemRows
