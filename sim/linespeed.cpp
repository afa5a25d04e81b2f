// Kept apart from <termios.h>: the kernel's termios2, the only view that
// reports a speed set as BOTHER, clashes with the C library's definitions.
#include "sim/linespeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace karvsim {

int lineSpeedOf(int fd)
{
    termios2 tio{};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return 0;
    return static_cast<int>(tio.c_ospeed);
}

} // namespace karvsim
