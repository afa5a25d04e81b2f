#include "sim/supplydrift.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace karvsim {

namespace {

double wave(double seconds, double period)
{
    return std::sin(2 * std::numbers::pi * seconds / period);
}

std::uint16_t offset(std::uint16_t base, double by)
{
    return static_cast<std::uint16_t>(std::clamp(std::lround(base + by), 0L, 0xFFFFL));
}

} // namespace

Supply driftedSupply(const Supply &base, std::chrono::nanoseconds unitTime)
{
    const double t = std::chrono::duration<double>(unitTime).count();
    return {offset(base.voltage, 2.0 * wave(t, 23.0) + 1.0 * wave(t, 3.7)),
            offset(base.temperature, 1.5 * wave(t, 170.0))};
}

} // namespace karvsim
