#pragma once

#include "sim/firmware.h"

#include <chrono>

namespace karvsim {

// The supply as a real unit measures it: the voltage wanders by up to
// 0.3 V and the temperature by a degree or two around the values set, slowly
// and the same way at the same unit time, so that a plot has something to
// show and a test can predict it.
Supply driftedSupply(const Supply &base, std::chrono::nanoseconds unitTime);

} // namespace karvsim
