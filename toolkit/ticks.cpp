#include "toolkit/ticks.h"

#include <time.h>

namespace {
const FakeTicks *activeFake = nullptr;
}

namespace Toolkit {

quint32 Ticks()
{
    if (activeFake)
        return activeFake->m_ticks;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Unsigned arithmetic: the truncation to 32 bits is the intended wrap.
    const quint64 milliseconds = quint64(now.tv_sec) * 1000u + quint64(now.tv_nsec) / 1000000u;
    return quint32(milliseconds);
}

} // namespace Toolkit

FakeTicks::FakeTicks(quint32 start)
    : m_ticks(start)
{
    activeFake = this;
}

FakeTicks::~FakeTicks()
{
    activeFake = nullptr;
}
