#include "protocol/replyassembler.h"

#include "protocol/commandcatalogue.h"

#include <algorithm>

namespace Protocol {

std::optional<ReplyFrame> ReplyAssembler::feed(QByteArrayView chunk)
{
    auto next = chunk.begin();
    if (RxCount == 0)
        next = std::find_if(next, chunk.end(), [](char byte) { return IsReplyStartCode(quint8(byte)); });

    for (; next != chunk.end() && RxCount < RxBuffer.size(); ++next)
        RxBuffer[RxCount++] = quint8(*next);

    if (RxCount < RxBuffer.size())
        return std::nullopt;
    RxCount = 0;
    return ReplyFrame{RxBuffer};
}

} // namespace Protocol
