#pragma once

#include "cli/output.h"
#include "protocol/replyframe.h"

// A reply as named values, decoded by the panel's own decoding: each value
// the window would show, under a name of its own (the control's objectName
// for the parameter values the pages take back), in the window's units.
// LEDs and check boxes become booleans, numbers stay numbers.
Fields ReplyFields(const Protocol::ReplyFrame &reply);

// The eight reply bytes as hexadecimal text, "20 00 ...".
QString ReplyBytesText(const Protocol::ReplyFrame &reply);
