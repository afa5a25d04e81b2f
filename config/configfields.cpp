#include "config/configfields.h"

#include <algorithm>

namespace ConfigFields {

namespace {

using namespace Qt::StringLiterals;
using enum Kind;

constexpr QLatin1StringView kSwOne[] = {"Separate Switches"_L1, "RefSw = EndSw"_L1};
constexpr QLatin1StringView kCalDir[] = {"Search Left Sw."_L1, "Search Right Sw."_L1};
constexpr QLatin1StringView kMovement[] = {"Circular"_L1, "Linear"_L1};
constexpr QLatin1StringView kTravelcheck[] = {"No Travelcheck"_L1, "Travelcheck"_L1};
constexpr QLatin1StringView kDeviationStop[] = {"No Stop"_L1, "Soft Stop"_L1, "Hard Stop"_L1};
constexpr QLatin1StringView kCanBaud[] = {"125 kBaud"_L1, "250 kBaud"_L1, "500 kBaud"_L1, "1 MBaud"_L1};
constexpr QLatin1StringView kPidClock[] = {"1/1"_L1, "1/2"_L1, "1/3"_L1, "1/4"_L1,
                                           "1/8"_L1, "1/16"_L1, "1/32"_L1, "1/64"_L1};
constexpr QLatin1StringView kDiffClock[] = {"1/1"_L1,  "1/4"_L1,  "1/8"_L1,   "1/16"_L1,
                                            "1/32"_L1, "1/64"_L1, "1/128"_L1, "1/256"_L1};
constexpr QLatin1StringView kCurrentLimitItems[] = {"Inputs"_L1, "1/3"_L1, "2/3"_L1, "3/3"_L1};
// "38500" is what the unit's list says; only the index goes out.
constexpr QLatin1StringView kRs232Baud[] = {"2400"_L1,  "4800"_L1,  "7200"_L1, "9600"_L1,
                                            "19200"_L1, "38500"_L1, "57600"_L1};

constexpr Field number(QLatin1StringView name, QLatin1StringView control, int byte, int width, int min, int max)
{
    return {.name = name, .control = control, .kind = Number, .byte = byte, .width = width, .min = min, .max = max};
}
constexpr Field byteNumber(QLatin1StringView name, QLatin1StringView control, int byte, int max = 255)
{
    return number(name, control, byte, 1, 0, max);
}
constexpr Field list(QLatin1StringView name, QLatin1StringView control, int byte,
                     std::span<const QLatin1StringView> items)
{
    return {.name = name, .control = control, .kind = List, .byte = byte, .width = 1, .items = items};
}
constexpr Field check(QLatin1StringView name, QLatin1StringView control, int byte)
{
    return {.name = name, .control = control, .kind = Check, .byte = byte, .width = 1};
}
constexpr Field hexId(QLatin1StringView name, QLatin1StringView control, int byte, int width)
{
    return {.name = name, .control = control, .kind = Hex, .byte = byte, .width = width, .digits = 2 * width};
}
// One of the three PID clock dividers packed into the clock word of P1..P2.
constexpr Field clock(QLatin1StringView name, QLatin1StringView control, int shift,
                      std::span<const QLatin1StringView> items)
{
    return {.name = name, .control = control, .kind = List, .byte = 1, .width = 2, .shift = shift, .bits = 3,
            .items = items};
}

constexpr Field kCurrentControl[] = {
    byteNumber("Standby"_L1, "EditStandbyCur"_L1, 1),
    byteNumber("Running"_L1, "EditActiveCur"_L1, 2),
    byteNumber("Accelerating"_L1, "EditAccelCur"_L1, 3),
};
constexpr Field kAMaxVMax[] = {
    number("AMax"_L1, "EditAcceleration"_L1, 1, 2, 0, 8191),
    number("VMax"_L1, "EditVelocity"_L1, 3, 2, 0, 8191),
};
constexpr Field kBow[] = {number("Bow"_L1, "EditBow"_L1, 1, 2, 1, 8191)};
constexpr Field kPredivider[] = {byteNumber("Predivider"_L1, "EditPrediv"_L1, 1, 16)};
constexpr Field kMicrostepping[] = {
    byteNumber("Resolution"_L1, "EditMStepRes"_L1, 1, 67),
    {.name = "Wave"_L1, .control = "EditMStepWave"_L1, .kind = Number, .byte = 2, .width = 1, .min = -127,
     .max = 127, .isSigned = true},
    check("Mixed Decay"_L1, "CheckMixedDecay"_L1, 5),
};
constexpr Field kSwitchMode[] = {
    list("Switches"_L1, "CbSwOne"_L1, 2, kSwOne),
    list("Search"_L1, "CbCalDir"_L1, 3, kCalDir),
    list("Movement"_L1, "CbMovement"_L1, 4, kMovement),
    list("Travelcheck"_L1, "CbTravelcheck"_L1, 6, kTravelcheck),
};
constexpr Field kStopSwitchDecel[] = {number("Deceleration"_L1, "EditSoftStop"_L1, 1, 2, 0, 8191)};
constexpr Field kReferenceVelocity[] = {number("Velocity"_L1, "EditVRef"_L1, 1, 2, 0, 8191)};
constexpr Field kTravelcheckTolerance[] = {number("Tolerance"_L1, "EditTT"_L1, 1, 2, 0, 65535)};
constexpr Field kStepsPerRevolution[] = {number("Steps"_L1, "EditPosLimit"_L1, 1, 4, 0, 16777215)};

constexpr Field kEncoder[] = {
    {.name = "Config."_L1, .control = "EditEncConf"_L1, .kind = Binary, .byte = 1, .width = 1, .bits = 7,
     .digits = 7},
    byteNumber("Prediv."_L1, "EditEncPrediv"_L1, 2),
    number("Deviation"_L1, "EditEncDeviation"_L1, 3, 2, 0, 65535),
    byteNumber("Multiplier"_L1, "EditEncMult"_L1, 5),
};
constexpr Field kDeviationAlarm[] = {
    check("Enabled"_L1, "CheckDevInt"_L1, 1),
    list("Stop"_L1, "CbDeviationStop"_L1, 2, kDeviationStop),
    number("Correction Delay"_L1, "EditAutoCorrect"_L1, 3, 2, 0, 2000),
};
constexpr Field kAutomaticCorrection[] = {
    byteNumber("Correction"_L1, "EditCorrection"_L1, 1),
    number("Tolerance"_L1, "EditTolerance"_L1, 3, 2, 0, 65535),
};
constexpr Field kAlarmMode[] = {
    check("External Alarm"_L1, "CheckExtAlarm"_L1, 1),
    check("Driver Error"_L1, "CheckDriverError"_L1, 2),
};
constexpr Field kStepDirection[] = {
    {.name = "Enabled"_L1, .control = "CheckStepDir"_L1, .kind = Check, .byte = 1, .width = 1, .inverted = true},
};
constexpr Field kCanReceiveId[] = {hexId("ID"_L1, "EditReceiveID"_L1, 1, 4)};
constexpr Field kCanSendId[] = {hexId("ID"_L1, "EditSendID"_L1, 1, 4)};
constexpr Field kCanBaudRate[] = {
    {.name = "Baud Rate"_L1, .control = "CbCANBaud"_L1, .kind = List, .byte = 1, .width = 1, .items = kCanBaud,
     .offset = 1},
};

constexpr Field kPidConfiguration[] = {
    clock("Clk"_L1, "CbPIDClk"_L1, 0, kPidClock),
    clock("DiffClk"_L1, "CbDiffClk"_L1, 3, kDiffClock),
    clock("VClock"_L1, "CbVClk"_L1, 6, kDiffClock),
    number("VFactor"_L1, "EditVFact"_L1, 3, 2, 0, 4095),
};
constexpr Field kPidCoefficients[] = {
    byteNumber("P"_L1, "EditPCof"_L1, 1),   byteNumber("P Range"_L1, "EditPRange"_L1, 2, 7),
    byteNumber("I"_L1, "EditICof"_L1, 3),   byteNumber("I Range"_L1, "EditIRange"_L1, 4, 15),
    byteNumber("D"_L1, "EditDCof"_L1, 5),   byteNumber("D Range"_L1, "EditDRange"_L1, 6, 7),
};
constexpr Field kPidPartClipping[] = {
    byteNumber("P"_L1, "EditPClip"_L1, 1),
    byteNumber("I"_L1, "EditIClip"_L1, 2),
    byteNumber("D"_L1, "EditDClip"_L1, 3),
};
constexpr Field kPidSumClipping[] = {
    byteNumber("IntSum"_L1, "EditCISum"_L1, 1),
    byteNumber("IntInput"_L1, "EditCIInput"_L1, 2),
    number("ClipSum"_L1, "EditClipSum"_L1, 3, 2, 0, 8191),
};
constexpr Field kPidEnable[] = {check("Enabled"_L1, "CheckPIDEnable"_L1, 1)};

constexpr Field kCurrentLimit[] = {list("Current Limit"_L1, "CbCurrentLimit"_L1, 1, kCurrentLimitItems)};
constexpr Field kSerialLink[] = {
    list("Baudrate"_L1, "CbRS232Baud"_L1, 1, kRs232Baud),
    hexId("Recv ID"_L1, "EditRSRecvID"_L1, 2, 1),
    hexId("Send ID"_L1, "EditRSSendID"_L1, 3, 1),
    byteNumber("Delay (ms)"_L1, "EditRS485Delay"_L1, 4),
};

constexpr Command kCommands[] = {
    {0x11, kCurrentControl, true, false},
    {0x14, kAMaxVMax, true, false},
    {0x63, kBow, true, false},
    {0x12, kPredivider, true, false},
    {0x17, kMicrostepping, true, false},
    {0x54, kSwitchMode, true, false},
    {0x57, kStopSwitchDecel, true, false},
    {0x16, kReferenceVelocity, true, false},
    {0x59, kTravelcheckTolerance, true, false},
    {0x15, kStepsPerRevolution, true, false},

    {0x70, kEncoder, true, false},
    {0x73, kDeviationAlarm, true, false},
    {0x58, kAutomaticCorrection, true, false},
    {0x51, kAlarmMode, true, false},
    {0x50, kStepDirection, false, false},
    {0x55, kCanReceiveId, true, true},
    {0x56, kCanSendId, true, true},
    {0xC0, kCanBaudRate, false, false},

    {0x6A, kPidConfiguration, true, false},
    {0x6B, kPidCoefficients, true, false},
    {0x6C, kPidPartClipping, true, false},
    {0x6D, kPidSumClipping, true, false},
    {0x6F, kPidEnable, false, false},

    {0x10, kCurrentLimit, true, false},
    // Written last when written at all: the unit answers at its new address
    // and speed from then on.
    {0xC1, kSerialLink, true, true},
};

int bitsOf(const Field &field)
{
    return field.bits ? field.bits : 8 * field.width;
}

quint64 maskOf(const Field &field)
{
    return (quint64{1} << bitsOf(field)) - 1;
}

QString booleanText(bool ticked)
{
    return ticked ? u"yes"_s : u"no"_s;
}

} // namespace

std::span<const Command> Commands()
{
    return kCommands;
}

const Command *FindCommand(quint8 code)
{
    const auto it = std::ranges::find(kCommands, code, &Command::code);
    return it == std::end(kCommands) ? nullptr : it;
}

const Field *FindControl(QLatin1StringView control)
{
    for (const Command &command : kCommands) {
        const auto it = std::ranges::find(command.fields, control, &Field::control);
        if (it != command.fields.end())
            return &*it;
    }
    return nullptr;
}

QStringList ItemTexts(const Field &field)
{
    QStringList texts;
    for (const QLatin1StringView item : field.items)
        texts.append(item);
    return texts;
}

Range RangeOf(QLatin1StringView control)
{
    const Field *field = FindControl(control);
    Q_ASSERT(field && field->kind == Number);
    return {field->min, field->max};
}

QStringList ItemsOf(QLatin1StringView control)
{
    const Field *field = FindControl(control);
    Q_ASSERT(field && field->kind == List);
    return ItemTexts(*field);
}

qint64 ValueIn(const Field &field, const ParameterBytes &bytes)
{
    quint64 raw = 0;
    for (int i = field.width - 1; i >= 0; --i)
        raw = raw << 8 | bytes.at(field.byte - 1 + i);
    raw = raw >> field.shift & maskOf(field);
    switch (field.kind) {
    case Number:
        if (field.isSigned && raw >> (bitsOf(field) - 1))
            return qint64(raw) - (qint64{1} << bitsOf(field));
        return qint64(raw);
    case List:
        return qint64(raw) - field.offset;
    case Check:
        return (raw != 0) != field.inverted ? 1 : 0;
    case Binary:
    case Hex:
        break;
    }
    return qint64(raw);
}

void Place(const Field &field, qint64 value, ParameterBytes &bytes)
{
    quint64 raw = 0;
    switch (field.kind) {
    case List:
        raw = quint64(value + field.offset);
        break;
    case Check:
        raw = (value != 0) != field.inverted ? 1 : 0;
        break;
    case Number:
    case Binary:
    case Hex:
        raw = quint64(value);
        break;
    }
    const quint64 mask = maskOf(field) << field.shift;
    for (int i = 0; i < field.width; ++i) {
        const int at = 8 * i;
        quint8 &byte = bytes.at(field.byte - 1 + i);
        const quint8 keep = quint8(~(mask >> at));
        byte = quint8((byte & keep) | ((raw << field.shift & mask) >> at));
    }
}

ParameterBytes UnshownBits(const Command &command, ParameterBytes bytes)
{
    for (Field field : command.fields) {
        field.kind = Hex; // placed as the bits are, whatever the field shows
        Place(field, 0, bytes);
    }
    return bytes;
}

bool InRange(const Field &field, qint64 value)
{
    switch (field.kind) {
    case Number:
        return value >= field.min && value <= field.max;
    case List:
        return value >= 0 && value < qint64(field.items.size());
    case Check:
        return value == 0 || value == 1;
    case Binary:
    case Hex:
        break;
    }
    return value >= 0 && quint64(value) <= maskOf(field);
}

QString ValueText(const Field &field, qint64 value)
{
    switch (field.kind) {
    case Number:
        return QString::number(value);
    case List:
        return InRange(field, value) ? QString(field.items[value]) : QString::number(value);
    case Check:
        return booleanText(value != 0);
    case Binary:
        return QString::number(value, 2).rightJustified(field.digits, u'0');
    case Hex:
        return QString::number(value, 16).toUpper().rightJustified(field.digits, u'0');
    }
    return {};
}

std::optional<qint64> ParseValue(const Field &field, const QString &text)
{
    bool ok = false;
    qint64 value = 0;
    switch (field.kind) {
    case Number:
        value = text.toLongLong(&ok, 10);
        break;
    case List: {
        const auto it = std::ranges::find(field.items, text);
        ok = it != field.items.end();
        value = it - field.items.begin();
        break;
    }
    case Check:
        ok = text == booleanText(true) || text == booleanText(false);
        value = text == booleanText(true) ? 1 : 0;
        break;
    case Binary:
    case Hex:
        ok = text.size() == field.digits;
        value = ok ? text.toLongLong(&ok, field.kind == Binary ? 2 : 16) : 0;
        ok = ok && !text.startsWith(u'+') && !text.startsWith(u'-');
        break;
    }
    if (!ok || !InRange(field, value))
        return std::nullopt;
    return value;
}

QString RangeText(const Field &field)
{
    switch (field.kind) {
    case Number:
        return u"a number from %1 to %2"_s.arg(field.min).arg(field.max);
    case List: {
        QStringList quoted;
        for (const QLatin1StringView item : field.items)
            quoted.append(u'"' + QString(item) + u'"');
        return u"one of "_s + quoted.join(u", "_s);
    }
    case Check:
        return u"yes or no"_s;
    case Binary:
        return u"%1 binary digits"_s.arg(field.digits);
    case Hex:
        return u"%1 hexadecimal digits"_s.arg(field.digits);
    }
    return {};
}

} // namespace ConfigFields
