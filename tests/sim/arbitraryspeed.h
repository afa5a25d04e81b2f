#pragma once

// Sets the line speed as a serial driver does for rates without a Bnnn
// constant (termios2 with BOTHER); false on failure.
bool setArbitrarySpeed(int fd, int baudRate);
