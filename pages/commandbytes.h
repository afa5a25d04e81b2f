#pragma once

#include <QString>

#include <array>

class StaticText;

// The " Command Bytes " display: the nine texts that are the command frame.
// The pages compose into it, sending reads it back; nothing else stores the
// frame.
class CommandBytes
{
public:
    enum Byte { ADR, CMD, P0, P1, P2, P3, P4, P5, P6, Count };

    explicit CommandBytes(const std::array<StaticText *, Count> &texts);

    QString text(Byte byte) const;
    std::array<QString, Count> texts() const;

    void set(Byte byte, const QString &text);
    // The value as a hex text: at least two upper-case digits, negatives as
    // their 32-bit two's complement.
    void setHex(Byte byte, qint32 value);
    // Bits 8*k..8*k+7 of value, k = 0..count-1, into first, first+1, ...:
    // a multi-byte value least significant byte first.
    void setLittleEndian(Byte first, qint32 value, int count);
    // P1..P6 := "00", as a reading modifier sends them.
    void zeroParameters();
    // The given bytes := "00".
    void zero(std::initializer_list<Byte> bytes);

private:
    std::array<StaticText *, Count> m_texts;
};
