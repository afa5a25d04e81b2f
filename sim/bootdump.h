#pragma once

#include "sim/bootloader.h"

#include <filesystem>
#include <string>

namespace karvsim {

class SimulatedUnit;

// A request as one line of text: the letter, the address register in four
// hexadecimal digits, then each argument byte in two ("C 007F 12 34").
std::string requestLine(const BootLoaderRequest &request);

// Writes the boot loader's flash (flash.bin), EEPROM (eeprom.bin) and request
// log (requests.txt) into `directory`, which is made when missing, so that
// scripts can check what an installer did. Throws std::system_error.
void dumpBootLoader(const SimulatedUnit &unit, const std::filesystem::path &directory);

} // namespace karvsim
