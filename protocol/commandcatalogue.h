#pragma once

#include <QList>
#include <QStringList>

#include <span>

namespace Protocol {

// P0 of the commands that take a modifier: the item index of each page's
// " Modifier " list.
enum Modifier : quint8 {
    SetAndStore = 0,
    SetTemporarily = 1,
    ReadStored = 2,
    ReadActual = 3,
};

// The items of every " Modifier " list, in Modifier order.
QStringList ModifierItemTexts();

// When the unit answers a command.
enum class ReplyRule {
    Never,
    OnRead, // only with a reading modifier (P0 >= ReadStored)
    Always,
};

// The page whose " Command " radio group offers a command.
enum class CommandPage {
    None, // reply codes that no page composes
    Parameters1,
    Parameters2,
    Pid,
    Get,
    Other,
    Karvel2,
};

struct CommandInfo
{
    quint8 code;
    QLatin1StringView itemText; // radio-group item, empty when no page offers it
    CommandPage page;
    int item; // index in the page's radio group, -1 when no page offers it
    ReplyRule reply;
    bool decoded; // a reply with this code is written into the window
};

// Every command code the panel knows, grouped by page in on-screen order.
std::span<const CommandInfo> CommandCatalogue();

// The catalogue entry of code, nullptr when the code is unknown.
const CommandInfo *FindCommand(quint8 code);

// Whether sending CMD with modifier P0 makes the panel wait for a reply.
bool ExpectsReply(quint8 CMD, quint8 P0);

// The reply groups, ascending.
QList<quint8> ReplyOnReadCodes();
QList<quint8> ReplyAlwaysCodes();
// Every byte that can begin a reply: the two groups above plus the codes
// whose unsolicited reply is still decoded.
QList<quint8> ReplyStartCodes();

bool IsReplyStartCode(quint8 byte);

} // namespace Protocol
