#include "sim/firmware.h"

#include "protocol/factorydefault.h"
#include "sim/supplydrift.h"

#include <algorithm>
#include <iterator>

namespace karvsim {

namespace {

namespace cmd {
constexpr std::uint8_t CurrentControl = 0x11;
constexpr std::uint8_t RampSettings = 0x14;
constexpr std::uint8_t ReferenceVelocity = 0x16;
constexpr std::uint8_t Position = 0x20;
constexpr std::uint8_t ActualMotion = 0x21;
constexpr std::uint8_t ReferenceSearch = 0x22;
constexpr std::uint8_t RampToPosition = 0x23;
constexpr std::uint8_t ConstantRotation = 0x25;
constexpr std::uint8_t ResetPosition = 0x27;
constexpr std::uint8_t SoftStop = 0x2A;
constexpr std::uint8_t EmergencyStop = 0x2B;
constexpr std::uint8_t Switches = 0x30;
constexpr std::uint8_t FirmwareRevision = 0x43;
constexpr std::uint8_t SupplyState = 0x44;
constexpr std::uint8_t RampQuery = 0x52;
constexpr std::uint8_t CurrentQuery = 0x53;
constexpr std::uint8_t EncoderCounter = 0x71;
constexpr std::uint8_t AlarmReset = 0x74;
constexpr std::uint8_t ServiceQueryA = 0x81;
constexpr std::uint8_t ServiceQueryB = 0x82;
constexpr std::uint8_t HardwareReset = 0xCC;
constexpr std::uint8_t FactoryDefault = 0xDD;
} // namespace cmd

// P0 of the parameter commands.
constexpr std::uint8_t SetAndStore = 0;
constexpr std::uint8_t SetTemporarily = 1;
constexpr std::uint8_t ReadStored = 2;
constexpr std::uint8_t ReadActual = 3;

constexpr std::size_t kValues = 2; // reply byte of the first value

// Speeds of the serial-link list of $C1, by item index (the unit knows 38400 as "38500").
constexpr int kLinkSpeeds[] = {2400, 4800, 7200, 9600, 19200, 38400, 57600};
constexpr std::uint8_t kDefaultLinkSpeed = 4;

constexpr std::uint8_t kSerialLinkCode = 0xC1;

ParameterBytes serialLinkDefaults(std::uint8_t address, int baudRate)
{
    const auto it = std::ranges::find(kLinkSpeeds, baudRate);
    const auto speed = it == std::end(kLinkSpeeds)
                           ? kDefaultLinkSpeed
                           : static_cast<std::uint8_t>(it - std::begin(kLinkSpeeds));
    return {speed, address};
}

// The position register is 24 bits wide.
std::int32_t wrap24(std::int64_t value)
{
    const auto low = static_cast<std::int32_t>(value & 0xFFFFFF);
    return low >= 0x800000 ? low - 0x1000000 : low;
}

// Actual velocity and acceleration travel as 14-bit two's complement.
std::uint32_t field14(std::int32_t value)
{
    return static_cast<std::uint32_t>(std::clamp(value, -8192, 8191)) & 0x3FFF;
}

ParameterBytes parametersOf(const CommandFrame &command)
{
    ParameterBytes bytes;
    std::copy_n(command.begin() + frame::kFirstParameter, bytes.size(), bytes.begin());
    return bytes;
}

std::int32_t signed32(const CommandFrame &command)
{
    return static_cast<std::int32_t>(readLittleEndian(command, frame::kFirstParameter, 4));
}

} // namespace

Firmware::Firmware(std::uint8_t address, int baudRate, std::int32_t travel)
    : factoryAddress_(address)
    , parameters_(serialLinkDefaults(address, baudRate))
    , motion_(travel)
{
}

std::optional<ReplyFrame> Firmware::execute(const CommandFrame &command, MotionModel::Time now)
{
    motion_.advanceTo(now, profile());
    const std::uint8_t code = command[frame::kCode];
    if (parameters_.holds(code))
        return parameterCommand(command);
    if (motionCommand(command))
        return std::nullopt;
    switch (code) {
    case cmd::HardwareReset:
        hardwareReset();
        return std::nullopt;
    case cmd::FactoryDefault:
        if (command[frame::kFirstParameter] == kFactoryDefaultCode[0]
            && command[frame::kFirstParameter + 1] == kFactoryDefaultCode[1]) {
            parameters_.restoreFactory();
            hardwareReset();
        }
        return std::nullopt;
    default:
        return query(code, now);
    }
}

void Firmware::raiseAlarm(Alarm alarm)
{
    if (alarm == Alarm::Undervoltage || alarm == Alarm::Overtemperature)
        alarms_.back() |= alarm == Alarm::Undervoltage ? 0x01 : 0x02;
    else
        alarms_.at(static_cast<std::size_t>(alarm)) = 1;
}

void Firmware::setSupply(const Supply &supply)
{
    supply_ = supply;
}

const ParameterBytes &Firmware::parameter(std::uint8_t code, Bank bank) const
{
    return parameters_.value(code, bank);
}

void Firmware::setParameter(std::uint8_t code, Bank bank, const ParameterBytes &bytes)
{
    parameters_.set(code, bank, bytes);
}

void Firmware::loadStored(std::span<const std::uint8_t> eeprom)
{
    parameters_.loadStored(eeprom);
}

std::uint8_t Firmware::address() const
{
    const std::uint8_t own = parameters_.value(kSerialLinkCode, Bank::Actual)[1];
    return own != 0 ? own : factoryAddress_;
}

bool Firmware::isParameterRead(const CommandFrame &command) const
{
    const std::uint8_t code = command[frame::kCode];
    return parameters_.holds(code) && parameters_.takesModifier(code)
        && (command[frame::kModifier] == ReadStored || command[frame::kModifier] == ReadActual);
}

std::optional<ReplyFrame> Firmware::parameterCommand(const CommandFrame &command)
{
    const std::uint8_t code = command[frame::kCode];
    const std::uint8_t modifier = parameters_.takesModifier(code) ? command[frame::kModifier]
                                                                  : SetAndStore;
    const auto reply = [&](Bank bank) {
        ReplyFrame r{code};
        std::ranges::copy(parameters_.value(code, bank), r.begin() + kValues);
        return r;
    };
    switch (modifier) {
    case SetAndStore:
        parameters_.set(code, Bank::Stored, parametersOf(command));
        [[fallthrough]];
    case SetTemporarily:
        parameters_.set(code, Bank::Actual, parametersOf(command));
        return std::nullopt;
    case ReadStored:
        return reply(Bank::Stored);
    case ReadActual:
        return reply(Bank::Actual);
    default:
        return std::nullopt; // a modifier the firmware does not know: ignored
    }
}

bool Firmware::motionCommand(const CommandFrame &command)
{
    switch (command[frame::kCode]) {
    case cmd::ReferenceSearch:
        motion_.searchReference();
        return true;
    case cmd::RampToPosition:
        motion_.rampTo(wrap24(signed32(command)));
        return true;
    case cmd::ConstantRotation:
        motion_.rotate(signed16(readLittleEndian(command, frame::kFirstParameter, 2)));
        return true;
    case cmd::SoftStop:
        motion_.softStop();
        return true;
    case cmd::EmergencyStop:
        motion_.emergencyStop();
        return true;
    case cmd::ResetPosition:
        motion_.setPosition(wrap24(signed32(command)));
        return true;
    default:
        return false;
    }
}

std::optional<ReplyFrame> Firmware::query(std::uint8_t code, MotionModel::Time now)
{
    ReplyFrame r{code};
    switch (code) {
    case cmd::Position:
        writeLittleEndian(r, kValues, 4, static_cast<std::uint32_t>(wrap24(motion_.position())));
        break;
    case cmd::RampQuery: {
        const ParameterBytes &ramp = parameters_.value(cmd::RampSettings, Bank::Actual);
        std::copy_n(ramp.begin(), 2, r.begin() + kValues);
        std::copy_n(parameters_.value(cmd::ReferenceVelocity, Bank::Actual).begin(), 2, r.begin() + 4);
        std::copy_n(ramp.begin() + 2, 2, r.begin() + 6);
        break;
    }
    case cmd::ActualMotion:
        writeLittleEndian(r, 2, 2, field14(motion_.velocity()));
        writeLittleEndian(r, 4, 2, field14(motion_.acceleration()));
        r[6] = motion_.searchingReference() ? 1 : 0;
        r[7] = 0; // no encoder correction runs in this unit
        break;
    case cmd::CurrentQuery:
        std::copy_n(parameters_.value(cmd::CurrentControl, Bank::Actual).begin(), 3, r.begin() + kValues);
        break;
    case cmd::EncoderCounter:
        writeLittleEndian(r, kValues, 3, static_cast<std::uint32_t>(motion_.encoderCount()));
        break;
    case cmd::Switches: {
        const Switches s = motion_.switches();
        r[2] = s.left;
        r[3] = s.right;
        r[4] = s.reference;
        break;
    }
    case cmd::FirmwareRevision:
        r[1] = kFirmwareRevision;
        r[2] = resetFlag_;
        writeLittleEndian(r, 4, 2, kSerialNumber);
        resetFlag_ = false;
        break;
    case cmd::SupplyState: {
        const Supply supply = supplyDrift_ ? driftedSupply(supply_, now) : supply_;
        writeLittleEndian(r, 2, 2, supply.voltage);
        writeLittleEndian(r, 4, 2, supply.temperature);
        break;
    }
    case cmd::AlarmReset:
        std::ranges::copy(alarms_, r.begin() + kValues);
        alarms_ = {};
        break;
    case cmd::ServiceQueryA:
    case cmd::ServiceQueryB:
        break; // answered with no values: the panel only needs the wait ended
    default:
        return std::nullopt;
    }
    return r;
}

MotionProfile Firmware::profile() const
{
    const ParameterBytes &ramp = parameters_.value(cmd::RampSettings, Bank::Actual);
    const ParameterBytes &reference = parameters_.value(cmd::ReferenceVelocity, Bank::Actual);
    return {static_cast<double>(readLittleEndian(ramp, 0, 2)),
            static_cast<double>(readLittleEndian(ramp, 2, 2)),
            static_cast<double>(readLittleEndian(reference, 0, 2))};
}

void Firmware::hardwareReset()
{
    parameters_.reloadActual();
    motion_.reset();
    alarms_ = {};
    resetFlag_ = true;
}

} // namespace karvsim
