#pragma once

#include "app/exchange.h"
#include "protocol/replyframe.h"

#include <QObject>

#include <array>
#include <optional>

class Interrupt;
class TComm32;
struct TC32OpenFailure;

// The unit's command link for karvctl: the panel's port settings, its send
// pacing, reply assembly and reply time limit, one exchange at a time.
class CommandLink : public QObject
{
    Q_OBJECT

public:
    enum class Result { Replied, Sent, NoReply, Interrupted };

    CommandLink(const Interrupt &interrupt, QObject *parent = nullptr);

    bool Open(const QString &device, int baud);
    const TC32OpenFailure &OpenFailure() const;

    // Sends the frame once the panel's pacing allows. With awaitReply,
    // waits up to the reply time limit for the reply (Reply()); otherwise
    // until the frame has left.
    Result Transact(const std::array<quint8, Protocol::CommandFrame::Size> &frame, bool awaitReply);
    const Protocol::ReplyFrame &Reply() const { return *m_reply; }

    // Sleeps in the event loop for milliseconds; false when interrupted.
    bool Pause(quint32 milliseconds) const;

private:
    void Comm32RxChar(QObject *Sender, int Count);

    const Interrupt &m_interrupt;
    TComm32 *Comm32;
    Exchange m_exchange;
    std::optional<Protocol::ReplyFrame> m_reply;
};
