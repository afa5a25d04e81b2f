#include "app/linerates.h"

#include <algorithm>
#include <array>

std::span<const LineRate> PanelLineRates()
{
    static constexpr std::array<LineRate, 6> rates{{
        {2400, cbr2400}, {4800, cbr4800}, {9600, cbr9600}, {19200, cbr19200}, {38400, cbr38400}, {57600, cbr57600},
    }};
    return rates;
}

std::optional<TBaudRate> PanelLineRate(int bitsPerSecond)
{
    const std::span<const LineRate> rates = PanelLineRates();
    const auto found = std::find_if(rates.begin(), rates.end(),
                                    [bitsPerSecond](const LineRate &r) { return r.bitsPerSecond == bitsPerSecond; });
    if (found == rates.end())
        return std::nullopt;
    return found->rate;
}
