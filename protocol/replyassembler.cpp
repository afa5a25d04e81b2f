#include "protocol/replyassembler.h"

#include "protocol/commandcatalogue.h"

#include <algorithm>

namespace Protocol {

ReplyAssembler::Outcome ReplyAssembler::take(QByteArrayView chunk)
{
    Outcome outcome;
    auto next = chunk.begin();
    if (RxCount == 0)
        next = std::find_if(next, chunk.end(), [](char byte) { return IsReplyStartCode(quint8(byte)); });
    outcome.skipped = QByteArrayView(chunk.begin(), next);

    for (; next != chunk.end() && RxCount < RxBuffer.size(); ++next)
        RxBuffer[RxCount++] = quint8(*next);

    if (RxCount < RxBuffer.size())
        return outcome;
    RxCount = 0;
    outcome.reply = ReplyFrame{RxBuffer};
    outcome.surplus = QByteArrayView(next, chunk.end());
    return outcome;
}

} // namespace Protocol
