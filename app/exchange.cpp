#include "app/exchange.h"

#include "protocol/exchangetiming.h"
#include "serial/comm32.h"
#include "toolkit/ticks.h"

#include <algorithm>

using namespace Protocol;

Exchange::Exchange(TComm32 &port)
    : m_port(port)
{
}

void Exchange::restart()
{
    m_awaitingReply = false;
    m_lastSendTick = 0;
    m_assembler.reset();
}

bool Exchange::send(const std::array<QString, CommandFrame::Size> &texts)
{
    if (!SendGateOpen(Toolkit::Ticks(), m_lastSendTick, m_port.OutQueueCount(), m_awaitingReply))
        return false;
    const CommandFrame frame = CommandFrame::fromTexts(texts);
    // A write that fails counts as sent: the time-out tells the operator
    // when its reply does not come.
    m_port.Write(frame.bytes().data(), CommandFrame::Size);
    m_lastSendTick = Toolkit::Ticks();
    m_awaitingReply = frame.expectsReply();
    return true;
}

std::optional<ReplyFrame> Exchange::receive(int count)
{
    std::array<char, ReplyAssembler::MaxChunk> chunk;
    const int wanted = std::clamp(count, 0, ReplyAssembler::MaxChunk);
    // Only the bytes that were read count: a hung-up port reads -1.
    const int read = wanted > 0 ? std::max(m_port.Read(chunk.data(), wanted), 0) : 0;
    std::optional<ReplyFrame> reply = m_assembler.feed(QByteArrayView(chunk.data(), read));
    if (reply)
        m_awaitingReply = false;
    return reply;
}

bool Exchange::replyOverdue() const
{
    return ReplyTimedOut(Toolkit::Ticks(), m_lastSendTick, m_awaitingReply);
}

void Exchange::abandonReply()
{
    m_port.PurgeWrite();
    m_port.PurgeRead();
    dropReply();
    m_lastSendTick = Toolkit::Ticks();
}

void Exchange::dropReply()
{
    m_awaitingReply = false;
    m_assembler.reset();
}
