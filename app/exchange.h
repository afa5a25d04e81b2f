#pragma once

#include "protocol/commandframe.h"
#include "protocol/replyassembler.h"
#include "protocol/replyframe.h"

#include <QString>

#include <array>
#include <optional>

class TComm32;

// What the operator reads when an awaited reply is overdue; lines are
// separated by "\r".
inline const QString kNoReplyText = QStringLiteral("No reply from Karvel.\rPlease check the connection\rand the addresses!");

// The command–reply cycle with the unit on the main window's port: sends are
// paced, a reply is awaited for the commands that call for one, reply bytes
// are assembled, and an overdue reply is given up so that sending goes on.
class Exchange
{
public:
    explicit Exchange(TComm32 &port);

    // A newly opened port: nothing awaited, no partial reply, and the first
    // send passes the pacing at once.
    void restart();

    // Sends the frame the nine display texts hold, in wire order, unless the
    // last send was less than 100 ms ago, the transmit queue still holds
    // bytes or a reply is awaited. A text that is no hexadecimal number
    // throws EConvertError before anything is written. Returns whether the
    // frame went out.
    bool send(const std::array<QString, Protocol::CommandFrame::Size> &texts);

    // Takes at most ReplyAssembler::MaxChunk of the count bytes the port
    // reported; the rest stays in the port for its next event. Returns the
    // reply they complete, which ends the wait for one.
    std::optional<Protocol::ReplyFrame> receive(int count);

    // Whether an awaited reply has been given up on: more than 1000 ms since
    // the send.
    bool replyOverdue() const;
    // Forgets the overdue reply: both directions of the port are purged, the
    // partial reply is dropped and the pacing counts from now.
    void abandonReply();
    // The port has gone: no reply is awaited any more, the partial one is
    // dropped.
    void dropReply();

    bool AwaitingReply() const { return m_awaitingReply; }
    quint32 LastSendTick() const { return m_lastSendTick; }
    int RxCount() const { return m_assembler.rxCount(); }

private:
    TComm32 &m_port;
    bool m_awaitingReply = false;
    quint32 m_lastSendTick = 0;
    Protocol::ReplyAssembler m_assembler;
};
