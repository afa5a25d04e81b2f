#include "serial/termios2speed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

bool SetArbitrarySpeed(int Fd, int BitsPerSecond)
{
    termios2 settings{};
    // Speed 0 would hang the line up.
    if (BitsPerSecond <= 0 || ioctl(Fd, TCGETS2, &settings) != 0)
        return false;
    settings.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    settings.c_ispeed = unsigned(BitsPerSecond);
    settings.c_ospeed = unsigned(BitsPerSecond);
    return ioctl(Fd, TCSETS2, &settings) == 0;
}
