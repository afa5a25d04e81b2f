#include "sim/pseudoterminal.h"

#include "sim/baudrate.h"
#include "sim/linespeed.h"

#include <fcntl.h>
#include <termios.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace karvsim {

namespace {

[[noreturn]] void fail(const char *what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

UniqueFd openSlave(const std::string &path)
{
    return UniqueFd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
}

} // namespace

PseudoTerminal::PseudoTerminal(int baudRate)
    : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
{
    if (!master_.valid())
        fail("posix_openpt");
    if (::grantpt(master_.get()) != 0 || ::unlockpt(master_.get()) != 0)
        fail("grantpt/unlockpt");
    char name[128];
    if (::ptsname_r(master_.get(), name, sizeof name) != 0)
        fail("ptsname_r");
    slavePath_ = name;
    heldSlave_ = openSlave(slavePath_);
    if (!heldSlave_.valid())
        fail("open pseudo-terminal slave");

    // On Linux the master's termios calls act on the slave's settings: every
    // byte passes unchanged both ways, at the unit's own speed until the panel sets one.
    termios tio{};
    if (::tcgetattr(master_.get(), &tio) != 0)
        fail("tcgetattr");
    ::cfmakeraw(&tio);
    const speed_t speed = speedConstant(baudRate).value_or(B19200);
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(master_.get(), TCSANOW, &tio) != 0)
        fail("tcsetattr");
}

int PseudoTerminal::lineSpeed() const
{
    return lineSpeedOf(master_.get());
}

ssize_t PseudoTerminal::read(std::span<std::uint8_t> buffer)
{
    return ::read(master_.get(), buffer.data(), buffer.size());
}

ssize_t PseudoTerminal::write(std::span<const std::uint8_t> bytes)
{
    return ::write(master_.get(), bytes.data(), bytes.size());
}

bool PseudoTerminal::reholdSlave()
{
    heldSlave_ = openSlave(slavePath_);
    return heldSlave_.valid();
}

} // namespace karvsim
