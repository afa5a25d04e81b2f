#pragma once

#include "protocol/replyframe.h"

#include <QList>
#include <QString>

namespace Protocol {

// One value for one control of the window, found by its objectName.
struct DecodedWrite
{
    enum Kind {
        SpinValue, // spin edit value (the control limits it to its range)
        ItemIndex, // drop-down list selection (out of range: no selection)
        Checked,   // check box: value 1 ticked, 0 cleared
        Text,      // masked edit or static text: text
        LedLit,    // LED: value 1 lit (lcCyan), 0 unlit (lcDarkCyan)
    };

    QString control;
    Kind kind;
    qint64 value = 0;
    QString text;

    bool operator==(const DecodedWrite &) const = default;
};

// The writes a reply calls for, in the order they are to be applied. Codes
// without a decoding give none.
QList<DecodedWrite> DecodeReply(const ReplyFrame &reply);

} // namespace Protocol
