#pragma once

// Sets a line speed that has no B* constant (termios2 with BOTHER). Kept in a
// file of its own because the kernel's termios2 header clashes with the C
// library's <termios.h>. False when the driver refuses the rate.
bool SetArbitrarySpeed(int Fd, int BitsPerSecond);
