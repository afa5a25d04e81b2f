#pragma once

#include <QtGlobal>

#include <array>

namespace Protocol {

// One 8-byte reply as it arrived: byte 0 the code of the command answered,
// bytes 2..7 its values, least significant byte first.
struct ReplyFrame
{
    static constexpr int Size = 8;

    std::array<quint8, Size> bytes{};

    quint8 code() const { return bytes[0]; }

    // Byte k.
    quint8 B(int k) const { return bytes.at(k); }
    // Unsigned 16 bits from bytes k, k+1.
    quint16 W(int k) const { return quint16(B(k) | B(k + 1) << 8); }
    // Unsigned 24 bits from bytes k..k+2.
    quint32 T(int k) const { return W(k) | quint32(B(k + 2)) << 16; }
    // Signed 32 bits (two's complement) from bytes k..k+3.
    qint32 L(int k) const { return qint32(T(k) | quint32(B(k + 3)) << 24); }

    bool operator==(const ReplyFrame &) const = default;
};

} // namespace Protocol
