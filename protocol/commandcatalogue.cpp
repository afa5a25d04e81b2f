#include "protocol/commandcatalogue.h"

#include <algorithm>
#include <array>

namespace Protocol {

namespace {

using namespace Qt::StringLiterals;
using enum CommandPage;
using enum ReplyRule;

constexpr std::array kCatalogue{
    CommandInfo{0x11, "$11: Current Control"_L1, Parameters1, 0, OnRead, true},
    CommandInfo{0x14, "$14: AMax / VMax"_L1, Parameters1, 1, OnRead, true},
    CommandInfo{0x63, "$63: Bow"_L1, Parameters1, 2, OnRead, true},
    CommandInfo{0x12, "$12: Predivider"_L1, Parameters1, 3, OnRead, true},
    CommandInfo{0x17, "$17: Microstepping"_L1, Parameters1, 4, OnRead, true},
    CommandInfo{0x54, "$54: Switch Mode"_L1, Parameters1, 5, OnRead, true},
    CommandInfo{0x57, "$57: Stop Switch Decel."_L1, Parameters1, 6, OnRead, true},
    CommandInfo{0x16, "$16: Reference Search Vel."_L1, Parameters1, 7, OnRead, true},
    CommandInfo{0x59, "$59: Travelcheck Tolerance"_L1, Parameters1, 8, OnRead, true},
    CommandInfo{0x15, "$15: Steps/Revolution"_L1, Parameters1, 9, OnRead, true},

    CommandInfo{0x70, "$70: Encoder Configuration"_L1, Parameters2, 0, OnRead, true},
    CommandInfo{0x73, "$73: Deviation Alarm"_L1, Parameters2, 1, OnRead, true},
    CommandInfo{0x58, "$58: Automatic Correction"_L1, Parameters2, 2, OnRead, true},
    CommandInfo{0x51, "$51: Alarm Mode"_L1, Parameters2, 3, OnRead, true},
    CommandInfo{0x50, "$50: Step/Direction Mode"_L1, Parameters2, 4, Never, false},
    CommandInfo{0x55, "$55: CAN Receive ID"_L1, Parameters2, 5, OnRead, true},
    CommandInfo{0x56, "$56: CAN Send ID"_L1, Parameters2, 6, OnRead, true},
    CommandInfo{0xC0, "$C0: CAN Baud Rate"_L1, Parameters2, 7, Never, false},

    CommandInfo{0x6A, "$6A: PID Configuration"_L1, Pid, 0, OnRead, true},
    CommandInfo{0x6B, "$6B: PID Coefficients"_L1, Pid, 1, OnRead, true},
    CommandInfo{0x6C, "$6C: PID Part Clipping"_L1, Pid, 2, OnRead, true},
    CommandInfo{0x6D, "$6D: PID Sum Clipping"_L1, Pid, 3, OnRead, true},
    CommandInfo{0x6F, "$6F: PID Enable"_L1, Pid, 4, Never, false},

    CommandInfo{0x20, "$20: Position"_L1, Get, 0, Always, true},
    CommandInfo{0x52, "$52: Acceleration / Velocity"_L1, Get, 1, Always, true},
    CommandInfo{0x21, "$21: Actual Acc./Vel."_L1, Get, 2, Always, true},
    CommandInfo{0x53, "$53: Current Settings"_L1, Get, 3, Always, true},
    CommandInfo{0x71, "$71: Encoder Counter"_L1, Get, 4, Always, true},
    CommandInfo{0x30, "$30: Switches"_L1, Get, 5, Always, true},
    CommandInfo{0x43, "$43: Firmware Revision"_L1, Get, 6, Always, true},

    CommandInfo{0x22, "$22: Reference Search"_L1, Other, 0, Never, false},
    CommandInfo{0x23, "$23: Ramp to Position"_L1, Other, 1, Never, false},
    CommandInfo{0x25, "$25: Constant Rotation"_L1, Other, 2, Never, false},
    CommandInfo{0x2A, "$2A: Stop ramp softly"_L1, Other, 3, Never, false},
    CommandInfo{0x2B, "$2B: Emergency stop"_L1, Other, 4, Never, false},
    CommandInfo{0x27, "$27: Reset Position"_L1, Other, 5, Never, false},
    CommandInfo{0x74, "$74: Alarm Reset"_L1, Other, 6, Always, true},
    CommandInfo{0xCC, "$CC: Hardware Reset"_L1, Other, 7, Never, false},
    CommandInfo{0xDD, "$DD: Factory Default"_L1, Other, 8, Never, false},

    // Item 2 of this page ("n/a") composes no command.
    CommandInfo{0x10, "$10: Current Limit"_L1, Karvel2, 0, OnRead, true},
    // Sent without waiting for the answer, which is shown when it comes.
    CommandInfo{0x44, "$44: Get Volt./Temp."_L1, Karvel2, 1, Never, true},
    CommandInfo{0xC1, "$C1: RS232/485 Parameters"_L1, Karvel2, 3, OnRead, true},

    // Replies the unit may send; consumed without being shown.
    CommandInfo{0x80, {}, None, -1, OnRead, false},
    CommandInfo{0x81, {}, None, -1, Always, false},
    CommandInfo{0x82, {}, None, -1, Always, false},
};

template <typename Predicate>
QList<quint8> codesWhere(Predicate predicate)
{
    QList<quint8> codes;
    for (const CommandInfo &command : kCatalogue) {
        if (predicate(command))
            codes.append(command.code);
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

bool startsReply(const CommandInfo &command)
{
    return command.reply != Never || command.decoded;
}

} // namespace

QStringList ModifierItemTexts()
{
    return {
        QStringLiteral("Set and store in EEPROM"),
        QStringLiteral("Set temporarily"),
        QStringLiteral("Read stored value"),
        QStringLiteral("Read actual value"),
    };
}

std::span<const CommandInfo> CommandCatalogue()
{
    return kCatalogue;
}

const CommandInfo *FindCommand(quint8 code)
{
    const auto found = std::find_if(kCatalogue.begin(), kCatalogue.end(),
                                    [code](const CommandInfo &command) { return command.code == code; });
    return found == kCatalogue.end() ? nullptr : &*found;
}

bool ExpectsReply(quint8 CMD, quint8 P0)
{
    const CommandInfo *command = FindCommand(CMD);
    if (!command)
        return false;
    switch (command->reply) {
    case Never:
        return false;
    case OnRead:
        return P0 >= ReadStored;
    case Always:
        return true;
    }
    return false;
}

QList<quint8> ReplyOnReadCodes()
{
    return codesWhere([](const CommandInfo &command) { return command.reply == OnRead; });
}

QList<quint8> ReplyAlwaysCodes()
{
    return codesWhere([](const CommandInfo &command) { return command.reply == Always; });
}

QList<quint8> ReplyStartCodes()
{
    return codesWhere(startsReply);
}

bool IsReplyStartCode(quint8 byte)
{
    const CommandInfo *command = FindCommand(byte);
    return command && startsReply(*command);
}

} // namespace Protocol
