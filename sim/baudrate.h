#pragma once

#include <termios.h>

#include <optional>

namespace karvsim {

// The termios speed constant of a standard baud rate, if it is one.
std::optional<speed_t> speedConstant(int baudRate);
// The baud rate of a termios speed constant; 0 for B0 and rates this unit cannot run at.
int baudRateOf(speed_t speed);

} // namespace karvsim
