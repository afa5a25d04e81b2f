#include "sim/baudrate.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace karvsim {

namespace {

constexpr std::pair<int, speed_t> kRates[] = {
    {1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
    {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};

} // namespace

std::optional<speed_t> speedConstant(int baudRate)
{
    const auto it = std::ranges::find(kRates, baudRate, &std::pair<int, speed_t>::first);
    if (it == std::end(kRates))
        return std::nullopt;
    return it->second;
}

} // namespace karvsim
