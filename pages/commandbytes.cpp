#include "pages/commandbytes.h"

#include "toolkit/statictext.h"
#include "util/karvutils.h"

CommandBytes::CommandBytes(const std::array<StaticText *, Count> &texts)
    : m_texts(texts)
{
}

QString CommandBytes::text(Byte byte) const
{
    return m_texts[byte]->text();
}

std::array<QString, CommandBytes::Count> CommandBytes::texts() const
{
    std::array<QString, Count> result;
    for (int byte = 0; byte < Count; ++byte)
        result[byte] = m_texts[byte]->text();
    return result;
}

void CommandBytes::set(Byte byte, const QString &text)
{
    m_texts[byte]->setText(text);
}

void CommandBytes::setHex(Byte byte, qint32 value)
{
    set(byte, KarvUtils::HexText(value));
}

void CommandBytes::setLittleEndian(Byte first, qint32 value, int count)
{
    for (int k = 0; k < count; ++k)
        setHex(Byte(first + k), qint32((quint32(value) >> (8 * k)) & 0xFF));
}

void CommandBytes::zeroParameters()
{
    zero({P1, P2, P3, P4, P5, P6});
}

void CommandBytes::zero(std::initializer_list<Byte> bytes)
{
    for (Byte byte : bytes)
        set(byte, QStringLiteral("00"));
}
