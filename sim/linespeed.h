#pragma once

namespace karvsim {

// The output speed in baud set on the terminal `fd` (for a pseudo-terminal
// master: on its slave), whether it was set as a standard Bnnn constant or
// as an arbitrary rate (BOTHER); 0 when it cannot be read.
int lineSpeedOf(int fd);

} // namespace karvsim
