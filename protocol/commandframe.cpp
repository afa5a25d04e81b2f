#include "protocol/commandframe.h"

#include "protocol/commandcatalogue.h"
#include "util/karvutils.h"

namespace Protocol {

CommandFrame CommandFrame::fromTexts(const std::array<QString, Size> &texts)
{
    CommandFrame frame;
    for (int i = 0; i < Size; ++i)
        frame.m_bytes[i] = KarvUtils::HexTextToByte(texts[i]);
    return frame;
}

CommandFrame CommandFrame::fromBytes(const std::array<quint8, Size> &bytes)
{
    CommandFrame frame;
    frame.m_bytes = bytes;
    return frame;
}

bool CommandFrame::expectsReply() const
{
    return ExpectsReply(at(CMD), at(P0));
}

} // namespace Protocol
