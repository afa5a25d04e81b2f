#pragma once

#include <QRect>

// The common frame of the command pages, so that the pages line up when the
// operator turns from one to the next: the " Command " radio group at the
// left, the page's parameter group to its right, the " Modifier " group
// under the radio group. A page chooses only the heights.
namespace PageLayout {

inline constexpr int kMargin = 8;
inline constexpr int kCommandWidth = 193;
inline constexpr int kParameterLeft = kMargin + kCommandWidth + kMargin;
// The sheet of the 633 x 497 page control is about 625 x 469 pixels.
inline constexpr int kParameterWidth = 617 - kParameterLeft;
inline constexpr int kModifierHeight = 57;

inline QRect commandGroup(int height)
{
    return {kMargin, kMargin, kCommandWidth, height};
}

inline QRect parameterGroup(int height)
{
    return {kParameterLeft, kMargin, kParameterWidth, height};
}

// The " Modifier " group directly under a command group of the given height,
// and the drop-down list inside it.
inline QRect modifierGroup(int commandHeight)
{
    return {kMargin, kMargin + commandHeight + kMargin, kCommandWidth, kModifierHeight};
}

// Wide enough for "Set and store in EEPROM" at the window font.
inline QRect modifierList()
{
    return {12, 24, kCommandWidth - 24, 21};
}

} // namespace PageLayout
