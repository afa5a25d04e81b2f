#include "installer/textlinesplitter.h"

namespace Installer {

TextLineSplitter::TextLineSplitter(qsizetype maxLineLength)
    : m_maxLineLength(maxLineLength)
{
    m_line.reserve(maxLineLength);
}

std::optional<QByteArrayView> TextLineSplitter::nextLine(QByteArrayView &input)
{
    dropHandedOutLine();
    while (!m_textEnded && !input.isEmpty()) {
        const char c = input.front();
        input = input.sliced(1);

        const bool lfOfCRLF = m_afterCR && c == '\n';
        m_afterCR = c == '\r';
        if (lfOfCRLF)
            continue;
        if (c == '\r' || c == '\n') {
            if (m_skippingRest) {
                m_skippingRest = false;
                continue;
            }
            m_lineHandedOut = true;
            return QByteArrayView(m_line);
        }
        if (m_skippingRest)
            continue;
        if (c == CtrlZ && m_line.isEmpty()) {
            m_textEnded = true;
            break;
        }
        m_line.append(c);
        if (m_line.size() == m_maxLineLength) {
            m_skippingRest = true;
            m_lineHandedOut = true;
            return QByteArrayView(m_line);
        }
    }
    return std::nullopt;
}

std::optional<QByteArrayView> TextLineSplitter::lastLine()
{
    dropHandedOutLine();
    if (m_textEnded || m_line.isEmpty())
        return std::nullopt;
    m_lineHandedOut = true;
    return QByteArrayView(m_line);
}

void TextLineSplitter::dropHandedOutLine()
{
    if (m_lineHandedOut) {
        m_line.resize(0); // keeps the capacity, unlike clear()
        m_lineHandedOut = false;
    }
}

} // namespace Installer
