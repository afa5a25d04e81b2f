#pragma once

#include "protocol/commandframe.h"
#include "protocol/replyassembler.h"
#include "protocol/replyframe.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <optional>

class TComm32;

// What the operator reads when an awaited reply is overdue; lines are
// separated by "\r".
inline const QString kNoReplyText = QStringLiteral("No reply from Karvel.\rPlease check the connection\rand the addresses!");

// The command–reply cycle with the unit on the main window's port: sends are
// paced, a reply is awaited for the commands that call for one, reply bytes
// are assembled, and an overdue reply is given up so that sending goes on.
//
// Besides the operator's "&Send Command" a client (the poller) may ask for
// exchanges. They follow the same rules, one at a time; a command the
// operator sends while the client has the line goes out next, between two of
// the client's, so that neither is lost nor are two replies awaited at once.
//
// Everything that passes is told by signals, for the traffic monitor.
class Exchange : public QObject
{
    Q_OBJECT

public:
    // Who sent the frame whose reply is awaited.
    enum class Origin { Operator, Client };
    Q_ENUM(Origin)
    enum class PortEvent { Opened, Closed, HungUp };
    Q_ENUM(PortEvent)

    explicit Exchange(TComm32 &port, QObject *parent = nullptr);

    // A newly opened port: nothing awaited, no partial reply, and the first
    // send passes the pacing at once.
    void restart();

    // Sends the frame the nine display texts hold, in wire order, unless the
    // last send was less than 100 ms ago, the transmit queue still holds
    // bytes or a reply is awaited. A text that is no hexadecimal number
    // throws EConvertError before anything is written. While the client has
    // the line the frame is held instead and goes out as soon as the rules
    // allow (one frame is held; further presses meanwhile are paced away).
    // Returns whether the frame went out or is held to go out.
    bool send(const std::array<QString, Protocol::CommandFrame::Size> &texts);

    // The client's next frame: sent as soon as the rules allow, after a
    // frame the operator is sending. A request not yet sent is replaced.
    void request(const Protocol::CommandFrame &frame);
    // Drops the client's request not yet sent.
    void cancelRequest();
    bool requestPending() const { return m_request.has_value(); }

    // Takes at most ReplyAssembler::MaxChunk of the count bytes the port
    // reported; the rest stays in the port for its next event. Returns the
    // reply they complete, which ends the wait for one.
    std::optional<Protocol::ReplyFrame> receive(int count);

    // Whether a reply the operator's command awaits has been given up on:
    // more than 1000 ms since the send. The client's are supervised here.
    bool replyOverdue() const;
    // Tells the monitor that the overdue reply is given up, before the
    // operator is told.
    void reportTimeOut();
    // Forgets the overdue reply: both directions of the port are purged, the
    // partial reply is dropped and the pacing counts from now.
    void abandonReply();
    // The port has gone: no reply is awaited any more, the partial one is
    // dropped.
    void dropReply();

    // What the window sees of the port and passes on.
    void notePortEvent(PortEvent event);
    void noteLineErrors(quint32 errors);
    // Between an Opened and a Closed or HungUp.
    bool portOpen() const { return m_portOpen; }

    bool AwaitingReply() const { return m_awaitingReply; }
    quint32 LastSendTick() const { return m_lastSendTick; }
    int RxCount() const { return m_assembler.rxCount(); }

signals:
    void frameSent(const Protocol::CommandFrame &frame, Exchange::Origin origin);
    void replyAssembled(const Protocol::ReplyFrame &reply);
    // Received bytes that belong to no reply.
    void bytesDiscarded(const QByteArray &bytes);
    void replyTimedOut(Exchange::Origin origin);
    // CE_* flags.
    void lineErrors(quint32 errors);
    void portEvent(Exchange::PortEvent event);

private:
    bool gateOpen() const;
    void transmit(const Protocol::CommandFrame &frame, Origin origin);
    // Sends what waits, gives up the client's overdue reply, and sets the
    // next wake-up.
    void serve();
    void scheduleServe();
    void discard(QByteArrayView bytes);

    TComm32 &m_port;
    bool m_awaitingReply = false;
    quint32 m_lastSendTick = 0;
    Origin m_lastOrigin = Origin::Operator;
    bool m_portOpen = false;
    Protocol::ReplyAssembler m_assembler;
    std::optional<Protocol::CommandFrame> m_held;
    std::optional<Protocol::CommandFrame> m_request;
    QTimer m_serve;
};

Q_DECLARE_METATYPE(Protocol::CommandFrame)
Q_DECLARE_METATYPE(Protocol::ReplyFrame)
