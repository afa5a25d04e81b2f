#pragma once

#include "sim/uniquefd.h"

#include <sys/types.h>

#include <cstdint>
#include <span>
#include <string>

namespace karvsim {

// The unit's end of a pseudo-terminal; the panel opens the slave as its serial port.
//
// The slave is held open here as well: otherwise the master reports a
// hang-up whenever the panel closes the port, and a poll() on it would
// return at once until the panel opens it again. Held open, the line simply
// stays quiet between the panel's sessions, and the speed and raw mode the
// panel set survive its close, as on a real port.
class PseudoTerminal
{
public:
    // Creates the pair in raw mode at `baudRate`; throws std::system_error.
    explicit PseudoTerminal(int baudRate);

    const std::string &slavePath() const { return slavePath_; }
    int masterFd() const { return master_.get(); }

    // The speed the panel set on the line; nothing notifies a change, so ask each time.
    int lineSpeed() const;

    // Non-blocking; results as read(2) and write(2).
    ssize_t read(std::span<std::uint8_t> buffer);
    ssize_t write(std::span<const std::uint8_t> bytes);

    // Opens the slave again after somebody hung the line up; false when that fails.
    bool reholdSlave();

private:
    UniqueFd master_;
    std::string slavePath_;
    UniqueFd heldSlave_;
};

} // namespace karvsim
