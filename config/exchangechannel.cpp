#include "config/exchangechannel.h"

#include "protocol/exchangetiming.h"
#include "serial/comm32.h"
#include "toolkit/eventwait.h"
#include "toolkit/ticks.h"
#include "util/karvutils.h"

#include <QObject>
#include <QScopeGuard>

ExchangeChannel::ExchangeChannel(TComm32 &port, Exchange &exchange)
    : m_port(port)
    , m_exchange(exchange)
{
}

void ExchangeChannel::replyArrived(const Protocol::ReplyFrame &reply)
{
    if (m_busy)
        m_reply = reply;
}

void ExchangeChannel::waitForSendGate()
{
    // The gate opens when the pacing interval has run out and the transmit
    // queue is empty; each wait sleeps no longer than the interval's rest.
    for (;;) {
        const quint32 now = Toolkit::Ticks();
        if (Protocol::SendGateOpen(now, m_exchange.LastSendTick(), m_port.OutQueueCount(), m_exchange.AwaitingReply()))
            return;
        const quint32 since = Protocol::TicksBetween(m_exchange.LastSendTick(), now);
        const quint32 rest = since < Protocol::MinSendInterval ? Protocol::MinSendInterval - since : 1;
        Toolkit::waitUntil([] { return false; }, rest);
    }
}

std::optional<Protocol::ReplyFrame> ExchangeChannel::exchange(const Frame &frame)
{
    m_busy = true;
    const auto done = qScopeGuard([this] { m_busy = false; });
    waitForSendGate();
    std::array<QString, Protocol::CommandFrame::Size> texts;
    for (std::size_t i = 0; i < frame.size(); ++i)
        texts[i] = KarvUtils::HexText(frame[i]);
    m_reply.reset();
    m_exchange.send(texts);
    if (!m_exchange.AwaitingReply())
        return std::nullopt;
    if (!Toolkit::waitUntil([this] { return m_reply.has_value() || m_exchange.replyOverdue(); },
                            Protocol::ReplyTimeLimit + Protocol::MinSendInterval)
        || !m_reply) {
        m_exchange.abandonReply();
        return std::nullopt;
    }
    return m_reply;
}

SerialChannel::SerialChannel(TComm32 &port)
    : m_port(port)
    , m_exchange(port)
    , m_channel(port, m_exchange)
{
    m_exchange.restart();
    QObject::connect(&m_port, &TComm32::OnRxChar, &m_port, [this](QObject *, int count) {
        if (const auto reply = m_exchange.receive(count))
            m_channel.replyArrived(*reply);
    });
}

SerialChannel::~SerialChannel()
{
    QObject::disconnect(&m_port, &TComm32::OnRxChar, &m_port, nullptr);
}
