#pragma once

#include <array>
#include <cstdint>

// The access code that the unit's firmware requires in P1, P2 of "$DD: Factory
// Default" before it resets its settings; the "Other..." page sends it and the
// simulated unit checks it.
inline constexpr std::array<std::uint8_t, 2> kFactoryDefaultCode{0x4B, 0x32};
