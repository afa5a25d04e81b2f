#pragma once

#include "app/exchange.h"
#include "config/configchannel.h"

class TComm32;

// The configuration exchanges on a port of their own (an open TComm32): the
// panel's exchange rules, applied by the same Exchange the main window uses.
class SerialChannel : public ConfigChannel
{
public:
    explicit SerialChannel(TComm32 &port);
    ~SerialChannel() override;

    std::optional<Protocol::ReplyFrame> exchange(const Frame &frame) override;

private:
    void waitForSendGate();

    TComm32 &m_port;
    Exchange m_exchange;
    std::optional<Protocol::ReplyFrame> m_reply;
};
