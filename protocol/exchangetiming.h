#pragma once

#include <QtGlobal>

// The timing rules of one command–reply exchange, on the millisecond tick
// counter. The counter wraps after about 49.7 days, so every span is taken as
// the unsigned difference (later - earlier) modulo 2^32.
namespace Protocol {

// Least time between two sends.
inline constexpr quint32 MinSendInterval = 100;
// An awaited reply is given up once more than this has passed since the send.
inline constexpr quint32 ReplyTimeLimit = 1000;

inline quint32 TicksBetween(quint32 earlier, quint32 later)
{
    return later - earlier;
}

// Whether "&Send Command" may send now: MinSendInterval has passed since the
// last send, the transmit queue is empty and no reply is awaited.
bool SendGateOpen(quint32 now, quint32 LastSendTick, int outQueueCount, bool AwaitingReply);

// Whether an awaited reply is overdue and has to be given up.
bool ReplyTimedOut(quint32 now, quint32 LastSendTick, bool AwaitingReply);

} // namespace Protocol
