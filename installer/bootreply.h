#pragma once

#include <QByteArray>

#include <array>

// The reply to one boot-loader request, as it is gathered from the port's
// received-bytes events. Requests 'R' and 'a' are answered with two binary
// bytes; every other request with a text line ending in a carriage return.
class BootReply
{
public:
    static constexpr int BufferSize = 256;
    static constexpr int BinaryCount = 2;

    // Forgets the previous reply and takes the mode of the request that
    // starts with firstByte.
    void Begin(char firstByte);

    // How many of the count waiting bytes to read now: none while a binary
    // reply is still short (they stay queued and are reported again with the
    // next ones), otherwise all of them, at most one text piece of 255.
    int BytesToTake(int Count) const;
    // Takes bytes read from the port. Text is appended up to the first zero
    // byte and only as far as the buffer holds; the rest is cut.
    void Take(const char *Bytes, int Count);

    bool ReplyDone() const { return FReplyDone; }
    bool ReplyIsText() const { return FReplyIsText; }
    // The text of a text reply, without the terminating zero.
    QByteArray Text() const;
    // Byte i of a binary reply.
    quint8 Byte(int i) const { return quint8(FReplyBuf.at(i)); }

private:
    bool FReplyDone = false;
    std::array<char, BufferSize> FReplyBuf{};
    bool FReplyIsText = true;
    int FReplyCount = BinaryCount;
    // Length of the text in FReplyBuf: always below BufferSize, so the
    // terminating zero has its place.
    int FTextLength = 0;
};
