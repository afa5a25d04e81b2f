#include "installer/bootreply.h"

#include <algorithm>
#include <cstring>

void BootReply::Begin(char firstByte)
{
    FReplyDone = false;
    FReplyBuf.fill(0);
    FTextLength = 0;
    FReplyIsText = firstByte != 'R' && firstByte != 'a';
    FReplyCount = BinaryCount;
}

int BootReply::BytesToTake(int Count) const
{
    if (Count <= 0)
        return 0;
    if (FReplyIsText)
        return std::min(Count, BufferSize - 1);
    return Count < FReplyCount ? 0 : std::min(Count, BufferSize);
}

void BootReply::Take(const char *Bytes, int Count)
{
    if (Count <= 0)
        return;
    if (!FReplyIsText) {
        std::memcpy(FReplyBuf.data(), Bytes, std::min(Count, BufferSize));
        FReplyDone = true;
        return;
    }
    // The piece counts up to its first zero byte, like the string it is read as.
    const int pieceLength = int(std::find(Bytes, Bytes + Count, '\0') - Bytes);
    const int appended = std::min(pieceLength, BufferSize - 1 - FTextLength);
    std::memcpy(FReplyBuf.data() + FTextLength, Bytes, appended);
    FTextLength += appended;
    if (FTextLength > 0 && FReplyBuf[FTextLength - 1] == '\r')
        FReplyDone = true;
}

QByteArray BootReply::Text() const
{
    return QByteArray(FReplyBuf.data(), FTextLength);
}
