// termios2 clashes with <termios.h>, hence a file of its own.
#include "ptypair.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

int PtyPair::BitRate() const
{
    termios2 settings{};
    if (ioctl(FMaster, TCGETS2, &settings) != 0)
        return -1;
    return int(settings.c_ospeed);
}
