#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <span>

// The unit's configuration as the parameter pages show it: every command
// that a page composes and that sets a stored value, with each of its fields
// named, ranged and placed in P1..P6 as the page's control does it. The
// pages build their controls' ranges and item lists from this table, so a
// range has one home.
namespace ConfigFields {

// What a command carries in P1..P6 (and its reply in bytes 2..7).
using ParameterBytes = std::array<quint8, 6>;

enum class Kind {
    Number, // a spin edit: a decimal number within min..max
    List,   // a drop-down list: one of its items, sent as its index (plus offset)
    Check,  // a check box: "yes" or "no", sent as 01 and 00 (inverted: 00 and 01)
    Binary, // a base-2 entry of `digits` digits
    Hex,    // a hexadecimal entry of `digits` digits
};

struct Field
{
    QLatin1StringView name;    // the key in a configuration file: the control's caption with its unit
    QLatin1StringView control; // the objectName of the page's control
    Kind kind;
    int byte;  // first parameter byte, 1..6 for P1..P6
    int width; // bytes, least significant first
    int shift = 0; // bits below the field in those bytes
    int bits = 0;  // the field's bits; 0: all of its bytes
    int min = 0;
    int max = 0;
    std::span<const QLatin1StringView> items = {};
    int offset = 0;        // lists: sent as index + offset
    bool inverted = false; // check boxes: ticked is sent as 00
    bool isSigned = false; // numbers: the bits are two's complement
    int digits = 0;        // binary and hexadecimal entries
};

struct Command
{
    quint8 code;
    std::span<const Field> fields;
    bool readable;     // answers "Read stored value"; $50, $C0, $6F cannot be read back
    bool identity;     // the unit's own addresses and link speed: not cloned by default
};

// Every configuration command, in the order of the pages and their items.
std::span<const Command> Commands();
const Command *FindCommand(quint8 code);

// The field whose control has this objectName; nullptr when none does.
const Field *FindControl(QLatin1StringView control);
// The field's list items as the control shows them.
QStringList ItemTexts(const Field &field);
// The control's range, for spin edits.
struct Range
{
    int min;
    int max;
};
Range RangeOf(QLatin1StringView control);
QStringList ItemsOf(QLatin1StringView control);

// The value a field holds in bytes, as the control holds it (the item index
// for lists, 0 or 1 for check boxes).
qint64 ValueIn(const Field &field, const ParameterBytes &bytes);
// Writes value into the field's bits of bytes, leaving the other bits.
void Place(const Field &field, qint64 value, ParameterBytes &bytes);
// bytes with every bit that a field of command shows cleared.
ParameterBytes UnshownBits(const Command &command, ParameterBytes bytes);
// Whether the control can hold value.
bool InRange(const Field &field, qint64 value);

// The value as the panel shows it, and back; nothing when text is no value
// the control can hold.
QString ValueText(const Field &field, qint64 value);
std::optional<qint64> ParseValue(const Field &field, const QString &text);
// The allowed values, for messages: "0..255", "one of ...", "yes or no".
QString RangeText(const Field &field);

} // namespace ConfigFields
