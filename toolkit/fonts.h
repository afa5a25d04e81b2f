#pragma once

#include <QFont>

namespace Toolkit {

// The windows' fixed pixel layouts are drawn for an 11-pixel sans-serif face.
QFont windowFont();
// The larger face of the command-bytes display.
QFont commandBytesFont();

} // namespace Toolkit
