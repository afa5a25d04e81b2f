#pragma once

#include "sim/bootloader.h"
#include "sim/linefaults.h"
#include "sim/simulatedunit.h"

#include <span>
#include <string>
#include <string_view>

namespace karvsim {

struct CommandLine
{
    std::string link; // symbolic link that publishes the device path; none when empty
    SimulatedUnit::Options unit;
    LineFaults faults;
    BootFaults bootFaults;
    std::string dumpDirectory; // where the memories and parameters go on exit; none when empty
    bool help = false;
};

// Reads the arguments after the program name; throws std::invalid_argument
// with a message that names the offending argument.
CommandLine parseCommandLine(std::span<const std::string_view> arguments);

std::string usage();

} // namespace karvsim
