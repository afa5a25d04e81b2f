#pragma once

#include "serial/comm32.h"

#include <optional>
#include <span>

// The six rates the panel offers for the unit's command link, in the order
// of its list.
struct LineRate
{
    int bitsPerSecond;
    TBaudRate rate;
};

std::span<const LineRate> PanelLineRates();

// The rate of one of the six given in bits per second; nothing for any other.
std::optional<TBaudRate> PanelLineRate(int bitsPerSecond);
