// Apart from <termios.h>, whose definitions clash with the kernel's termios2.
#include "arbitraryspeed.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

bool setArbitrarySpeed(int fd, int baudRate)
{
    termios2 tio{};
    if (::ioctl(fd, TCGETS2, &tio) != 0)
        return false;
    tio.c_cflag = (tio.c_cflag & ~CBAUD) | BOTHER;
    tio.c_cflag &= ~(CBAUD << IBSHIFT); // input speed follows the output speed
    tio.c_ospeed = tio.c_ispeed = static_cast<speed_t>(baudRate);
    return ::ioctl(fd, TCSETS2, &tio) == 0;
}
