#pragma once

#include <QtGlobal>

// The main window's protocol state: whether a reply is awaited, when the
// last command went out and how many reply bytes have been collected.
// Sending, reply assembly and the reply time-out work on it; opening the
// port starts it afresh.
struct ReplyState
{
    bool AwaitingReply = false;
    quint32 LastSendTick = 0;
    int RxCount = 0;

    void reset() { *this = ReplyState(); }
};
