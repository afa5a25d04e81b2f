#pragma once

#include "protocol/replyframe.h"

#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>

// Named values in the order they are printed.
using Fields = QList<QPair<QString, QJsonValue>>;

// A reply as named values, decoded by the panel's own decoding: each value
// the window would show, under a name of its own (the control's objectName
// for the parameter values the pages take back), in the window's units.
// LEDs and check boxes become booleans, numbers stay numbers.
Fields ReplyFields(const Protocol::ReplyFrame &reply);

// The eight reply bytes as hexadecimal text, "20 00 ...".
QString ReplyBytesText(const Protocol::ReplyFrame &reply);
