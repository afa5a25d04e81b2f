#include "sim/parametermemory.h"

#include <stdexcept>
#include <utility>

namespace karvsim {

namespace {

struct FactorySetting
{
    std::uint8_t code;
    bool takesModifier;
    ParameterBytes bytes;
};

// Factory settings, P1..P6 as the commands carry them.
constexpr FactorySetting kFactory[] = {
    {0x10, true, {0x03}},                   // current limit 3/3
    {0x11, true, {20, 80, 100}},            // standby, running, accelerating current
    {0x12, true, {2}},                      // predivider
    {0x14, true, {0xE8, 0x03, 0xD0, 0x07}}, // AMax 1000, VMax 2000
    {0x15, true, {0xC8}},                   // 200 steps per revolution
    {0x16, true, {0xF4, 0x01}},             // reference-search velocity 500
    {0x17, true, {4}},                      // microstep resolution, wave 0, no mixed decay
    {0x50, false, {0x01}},                  // step/direction input off
    {0x51, true, {}},                       // alarm mode
    {0x54, true, {}},                       // switch mode
    {0x55, true, {}},                       // CAN receive ID
    {0x56, true, {}},                       // CAN send ID
    {0x57, true, {0xF4, 0x01}},             // stop-switch deceleration 500
    {0x58, true, {}},                       // automatic correction
    {0x59, true, {}},                       // travel-check tolerance
    {0x63, true, {0x01}},                   // bow 1
    {0x6A, true, {}},                       // PID clocks and velocity factor
    {0x6B, true, {}},                       // PID coefficients
    {0x6C, true, {}},                       // PID part clipping
    {0x6D, true, {}},                       // PID sum clipping
    {0x6F, false, {}},                      // PID off
    {0x70, true, {}},                       // encoder configuration
    {0x73, true, {}},                       // deviation alarm
    {0x80, true, {}},                       // service parameter without a page; kept opaque
    {0xC0, false, {0x02}},                  // CAN 250 kBaud
};

constexpr std::uint8_t kSerialLink = 0xC1;

} // namespace

ParameterMemory::ParameterMemory(const ParameterBytes &serialLink)
{
    for (const FactorySetting &s : kFactory)
        slots_.emplace(s.code, Slot{s.takesModifier, s.bytes, s.bytes, s.bytes});
    slots_.emplace(kSerialLink, Slot{true, serialLink, serialLink, serialLink});
}

bool ParameterMemory::holds(std::uint8_t code) const
{
    return slots_.contains(code);
}

bool ParameterMemory::takesModifier(std::uint8_t code) const
{
    return slot(code).takesModifier;
}

const ParameterBytes &ParameterMemory::value(std::uint8_t code, Bank bank) const
{
    const Slot &s = slot(code);
    return bank == Bank::Stored ? s.stored : s.actual;
}

void ParameterMemory::set(std::uint8_t code, Bank bank, const ParameterBytes &bytes)
{
    Slot &s = slot(code);
    (bank == Bank::Stored ? s.stored : s.actual) = bytes;
}

std::vector<std::uint8_t> ParameterMemory::storedImage() const
{
    std::vector<std::uint8_t> image;
    image.reserve(slots_.size() * ParameterBytes{}.size());
    for (const auto &[code, s] : slots_)
        image.insert(image.end(), s.stored.begin(), s.stored.end());
    return image;
}

void ParameterMemory::loadStored(std::span<const std::uint8_t> eeprom)
{
    std::size_t at = 0;
    for (auto &[code, s] : slots_) {
        for (std::uint8_t &byte : s.stored)
            byte = at < eeprom.size() ? eeprom[at++] : 0;
    }
}

std::vector<std::uint8_t> ParameterMemory::codes() const
{
    std::vector<std::uint8_t> held;
    for (const auto &[code, s] : slots_)
        held.push_back(code);
    return held;
}

void ParameterMemory::reloadActual()
{
    for (auto &[code, s] : slots_)
        s.actual = s.stored;
}

void ParameterMemory::restoreFactory()
{
    for (auto &[code, s] : slots_)
        s.stored = s.actual = s.factory;
}

ParameterMemory::Slot &ParameterMemory::slot(std::uint8_t code)
{
    return const_cast<Slot &>(std::as_const(*this).slot(code));
}

const ParameterMemory::Slot &ParameterMemory::slot(std::uint8_t code) const
{
    const auto it = slots_.find(code);
    if (it == slots_.end())
        throw std::out_of_range("no parameter with this command code");
    return it->second;
}

} // namespace karvsim
