#pragma once

#include "sim/frames.h"
#include "sim/motionmodel.h"
#include "sim/parametermemory.h"

#include <cstdint>
#include <optional>

namespace karvsim {

inline constexpr std::uint8_t kFirmwareRevision = 123; // shown as 1.23
inline constexpr std::uint16_t kSerialNumber = 4711;

// Alarm reasons in the order of the alarm-reset reply.
enum class Alarm {
    DriverError,
    DeviationError,
    ExternalAlarm,
    TravelCheckError,
    PositionError,
    Undervoltage,
    Overtemperature,
};

struct Supply
{
    std::uint16_t voltage = 240;    // 0.1 V
    std::uint16_t temperature = 35; // °C
};

// The unit's firmware: runs the commands addressed to it and builds the replies.
class Firmware
{
public:
    Firmware(std::uint8_t address, int baudRate, std::int32_t travel);

    // Runs one command at unit time `now`; returns the reply when the command has one.
    std::optional<ReplyFrame> execute(const CommandFrame &command, MotionModel::Time now);

    void raiseAlarm(Alarm alarm);
    void setSupply(const Supply &supply);
    // Whether the supply drifts around the values set (driftedSupply).
    void setSupplyDrift(bool drift) { supplyDrift_ = drift; }
    const ParameterBytes &parameter(std::uint8_t code, Bank bank) const;
    void setParameter(std::uint8_t code, Bank bank, const ParameterBytes &bytes);
    const ParameterMemory &parameters() const { return parameters_; }
    // Takes the stored parameters from the boot loader's EEPROM.
    void loadStored(std::span<const std::uint8_t> eeprom);
    // The address the unit answers at: the one its working $C1 carries, or
    // its factory address while that reads 00 (as after an EEPROM clear).
    std::uint8_t address() const;
    // Whether command asks for a parameter's stored or actual value.
    bool isParameterRead(const CommandFrame &command) const;
    // Starts afresh, as on a reset command and when the boot loader hands back.
    void hardwareReset();

private:
    std::optional<ReplyFrame> parameterCommand(const CommandFrame &command);
    std::optional<ReplyFrame> query(std::uint8_t code, MotionModel::Time now);
    bool motionCommand(const CommandFrame &command);
    MotionProfile profile() const;

    std::uint8_t factoryAddress_;
    ParameterMemory parameters_;
    MotionModel motion_;
    ParameterBytes alarms_{};
    Supply supply_;
    bool supplyDrift_ = false;
    bool resetFlag_ = true; // set by power-up and resets, cleared when reported
};

} // namespace karvsim
