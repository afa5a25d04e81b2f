#pragma once

#include <QString>

#include <array>

namespace Protocol {

// The nine bytes of one command, in the order they go on the wire. The
// window's nine display texts are its only store between sends.
class CommandFrame
{
public:
    static constexpr int Size = 9;
    enum Position { ADR, CMD, P0, P1, P2, P3, P4, P5, P6 };

    // objectNames of the display texts, in Position order.
    static constexpr std::array<const char *, Size> DisplayControls{
        "StaticAdr", "StaticCMD", "StaticP0", "StaticP1", "StaticP2",
        "StaticP3", "StaticP4", "StaticP5", "StaticP6",
    };

    // Each display text read as hexadecimal, its low 8 bits kept. Texts are
    // converted in Position order; the first that is no hexadecimal number
    // throws EConvertError and no frame comes into being.
    static CommandFrame fromTexts(const std::array<QString, Size> &texts);
    // A frame the program composes itself (the poller's queries).
    static CommandFrame fromBytes(const std::array<quint8, Size> &bytes);

    const std::array<quint8, Size> &bytes() const { return m_bytes; }
    quint8 at(Position position) const { return m_bytes[position]; }

    bool expectsReply() const;

private:
    std::array<quint8, Size> m_bytes{};
};

} // namespace Protocol
