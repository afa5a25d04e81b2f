#pragma once

#include "protocol/replyframe.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class Exchange;

// Polls the unit for the quantities a plot shows: the chosen queries go out
// in turn through the main window's exchange, one each interval, under its
// rules (so a command the operator sends goes out between two polls, and
// every reply is decoded into the window as well). A poll that gets no reply
// within the exchange's limit pauses polling, with one status message;
// closing the port stops it.
class Poller : public QObject
{
    Q_OBJECT

public:
    enum class State { Stopped, Running, Paused };

    static constexpr int DefaultInterval = 100;
    static constexpr int LongestInterval = 10'000;
    // The shortest interval the line allows at a rate: one exchange's wire
    // time, a command and its reply at ten bits a byte. The exchange's
    // pacing still keeps two sends at least 100 ms apart.
    static int shortestInterval(int bitsPerSecond);

    explicit Poller(Exchange &exchange, QObject *parent = nullptr);

    // The query codes, sent in this order; the address goes in each frame.
    void setQueries(const QList<quint8> &codes);
    QList<quint8> queries() const { return m_queries; }
    void setAddress(quint8 address) { m_address = address; }
    // The line's rate bounds the interval from below.
    void setBitsPerSecond(int bitsPerSecond);
    // Milliseconds between two polls, held to the bounds.
    void setInterval(int milliseconds);
    int interval() const { return m_interval; }

    // Polling from the first query on; also ends a pause. Refused, with a
    // status message, while the port is closed.
    void start();
    void stop();
    State state() const { return m_state; }

signals:
    // A reply to one of the queries, with the tick count it came at.
    void replied(const Protocol::ReplyFrame &reply, quint32 tick);
    void stateChanged(Poller::State state);
    // Said once when polling pauses or stops by itself.
    void status(const QString &text);

private:
    void poll();
    void schedule();
    void setState(State state);
    void replyArrived(const Protocol::ReplyFrame &reply);

    Exchange &m_exchange;
    QList<quint8> m_queries;
    quint8 m_address = 0x01;
    int m_bitsPerSecond = 19200;
    int m_interval = DefaultInterval;
    State m_state = State::Stopped;
    qsizetype m_next = 0;
    quint32 m_due = 0;
    QTimer m_timer;
};
