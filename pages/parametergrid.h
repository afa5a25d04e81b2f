#pragma once

#include "pages/pagelayout.h"

#include <QPoint>
#include <QRect>

// The rows of a page's " Parameter " group: evenly pitched under the
// caption, each one edit high, so that the labels, edits, lists and check
// boxes of a row share one centre line.
namespace ParameterGrid {

inline constexpr int kFirstRowTop = 20;
inline constexpr int kRowPitch = 32;
inline constexpr int kRowHeight = 21;
inline constexpr int kBottomMargin = 13;
// The design's auto-sized labels and check boxes at the window font.
inline constexpr int kLabelHeight = 13;
inline constexpr int kCheckHeight = 19;

// A column of labels and the column of their edits.
struct Column
{
    int label;
    int field;
    int fieldWidth;
};

constexpr int rowTop(int row)
{
    return kFirstRowTop + row * kRowPitch;
}

// The height of a group of the given number of rows.
constexpr int groupHeight(int rows)
{
    return rowTop(rows - 1) + kRowHeight + kBottomMargin;
}

// The command group whose modifier group, under it, ends level with a
// parameter group of the given height.
constexpr int commandHeightBeside(int parameterHeight)
{
    return parameterHeight - PageLayout::kMargin - PageLayout::kModifierHeight;
}

// An edit or a drop-down list.
constexpr QRect field(int row, int left, int width)
{
    return {left, rowTop(row), width, kRowHeight};
}

// Where a label's caption starts.
constexpr QPoint caption(int row, int left)
{
    return {left, rowTop(row) + (kRowHeight - kLabelHeight) / 2};
}

constexpr QRect checkBox(int row, int left, int width)
{
    return {left, rowTop(row) + (kRowHeight - kCheckHeight) / 2, width, kCheckHeight};
}

} // namespace ParameterGrid
