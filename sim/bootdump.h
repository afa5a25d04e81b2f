#pragma once

#include "sim/bootloader.h"

#include <filesystem>
#include <string>

namespace karvsim {

class SimulatedUnit;

// A request as one line of text: the letter, the address register in four
// hexadecimal digits, then each argument byte in two ("C 007F 12 34").
std::string requestLine(const BootLoaderRequest &request);

// A parameter as one line of text: its code, then its stored and its actual
// P1..P6, all in hexadecimal ("11 stored 14 50 64 00 00 00 actual 14 50 64 00 00 00").
std::string parameterLine(const SimulatedUnit &unit, std::uint8_t code);

// Writes the boot loader's flash (flash.bin), EEPROM (eeprom.bin) and request
// log (requests.txt), and the unit's parameters (configuration.txt, one
// parameterLine each), into `directory`, which is made when missing, so that
// scripts can check what an installer or a configuration write did. Throws
// std::system_error.
void dumpUnit(const SimulatedUnit &unit, const std::filesystem::path &directory);

} // namespace karvsim
