#pragma once

#include "protocol/replyframe.h"

#include <QByteArrayView>

#include <optional>

namespace Protocol {

// Collects the bytes of one reply from the chunks the port delivers. While
// idle it skips to the first reply code; once a reply has begun every byte
// belongs to it until eight are in. A chunk's bytes after the eighth are
// dropped unexamined: the unit sends nothing after a reply but line noise.
class ReplyAssembler
{
public:
    // The most bytes the received-bytes handler reads per event; the rest
    // stays in the port for the next event.
    static constexpr int MaxChunk = 20;

    // What one chunk came to: the bytes skipped while looking for a reply
    // code, the reply completed, and the bytes dropped after it. The views
    // point into the chunk.
    struct Outcome
    {
        QByteArrayView skipped;
        std::optional<ReplyFrame> reply;
        QByteArrayView surplus;
    };

    // Takes the bytes actually read.
    Outcome take(QByteArrayView chunk);
    // The reply the bytes complete.
    std::optional<ReplyFrame> feed(QByteArrayView chunk) { return take(chunk).reply; }

    // Abandons a partly assembled reply.
    void reset() { RxCount = 0; }

    int rxCount() const { return RxCount; }

private:
    std::array<quint8, ReplyFrame::Size> RxBuffer{};
    quint16 RxCount = 0;
};

} // namespace Protocol
