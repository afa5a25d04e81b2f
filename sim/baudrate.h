#pragma once

#include <termios.h>

#include <optional>

namespace karvsim {

// The termios speed constant of a standard baud rate, if it is one.
std::optional<speed_t> speedConstant(int baudRate);

} // namespace karvsim
