#pragma once

#include "app/exchange.h"
#include "config/configchannel.h"

#include <memory>

class TComm32;

// The configuration exchanges through an Exchange, the one the main window
// sends with or one of their own: the same pacing, one awaited reply, the
// same time limit. Whoever receives the port's bytes hands each assembled
// reply to replyArrived().
class ExchangeChannel : public ConfigChannel
{
public:
    ExchangeChannel(TComm32 &port, Exchange &exchange);

    std::optional<Protocol::ReplyFrame> exchange(const Frame &frame) override;
    void replyArrived(const Protocol::ReplyFrame &reply);
    // While an exchange of this channel is under way.
    bool busy() const { return m_busy; }

private:
    void waitForSendGate();

    TComm32 &m_port;
    Exchange &m_exchange;
    bool m_busy = false;
    std::optional<Protocol::ReplyFrame> m_reply;
};

// A channel on a port of its own (an open TComm32), as for the command line
// and the tests.
class SerialChannel : public ConfigChannel
{
public:
    explicit SerialChannel(TComm32 &port);
    ~SerialChannel() override;

    std::optional<Protocol::ReplyFrame> exchange(const Frame &frame) override { return m_channel.exchange(frame); }

private:
    TComm32 &m_port;
    Exchange m_exchange;
    ExchangeChannel m_channel;
};
