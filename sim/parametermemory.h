#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace karvsim {

// What a parameter command carries in P1..P6.
using ParameterBytes = std::array<std::uint8_t, 6>;

// The firmware keeps each parameter twice: the EEPROM copy that survives a
// reset and the working copy the motor runs with.
enum class Bank { Stored, Actual };

class ParameterMemory
{
public:
    // `serialLink` is the factory setting of the RS-232/485 parameters ($C1),
    // which depends on the unit's own address and speed.
    explicit ParameterMemory(const ParameterBytes &serialLink);

    bool holds(std::uint8_t code) const;
    // False for the commands that are applied whatever P0 says ($50, $C0, $6F).
    bool takesModifier(std::uint8_t code) const;

    const ParameterBytes &value(std::uint8_t code, Bank bank) const;
    void set(std::uint8_t code, Bank bank, const ParameterBytes &bytes);

    // The EEPROM copies laid out as the EEPROM holds them: each command's six
    // bytes in the order of the command codes, from address 0.
    std::vector<std::uint8_t> storedImage() const;
    // Takes the EEPROM copies from such an image (a cleared EEPROM gives
    // zeros); bytes beyond the image are ignored, missing ones read as zero.
    void loadStored(std::span<const std::uint8_t> eeprom);
    // The codes held, ascending.
    std::vector<std::uint8_t> codes() const;

    // Reloads the working copy from EEPROM, as after power-up.
    void reloadActual();
    // Writes the factory settings into EEPROM and the working copy.
    void restoreFactory();

private:
    struct Slot
    {
        bool takesModifier;
        ParameterBytes factory;
        ParameterBytes stored;
        ParameterBytes actual;
    };
    Slot &slot(std::uint8_t code);
    const Slot &slot(std::uint8_t code) const;

    std::map<std::uint8_t, Slot> slots_;
};

} // namespace karvsim
