#include "protocol/exchangetiming.h"

namespace Protocol {

bool SendGateOpen(quint32 now, quint32 LastSendTick, int outQueueCount, bool AwaitingReply)
{
    return TicksBetween(LastSendTick, now) >= MinSendInterval && outQueueCount == 0 && !AwaitingReply;
}

bool ReplyTimedOut(quint32 now, quint32 LastSendTick, bool AwaitingReply)
{
    return AwaitingReply && TicksBetween(LastSendTick, now) > ReplyTimeLimit;
}

} // namespace Protocol
