#include "plot/poller.h"

#include "app/exchange.h"
#include "protocol/commandframe.h"
#include "protocol/exchangetiming.h"
#include "toolkit/ticks.h"

#include <algorithm>

namespace {

// The longest the poller sleeps between two looks at the tick counter, so
// that the counter (which tests hold) decides when a poll is due.
constexpr quint32 kLongestWake = 100;

} // namespace

int Poller::shortestInterval(int bitsPerSecond)
{
    constexpr int bits = (Protocol::CommandFrame::Size + Protocol::ReplyFrame::Size) * 10;
    const int rate = std::max(bitsPerSecond, 1);
    return (bits * 1000 + rate - 1) / rate;
}

Poller::Poller(Exchange &exchange, QObject *parent)
    : QObject(parent)
    , m_exchange(exchange)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &Poller::poll);
    connect(&exchange, &Exchange::replyAssembled, this, &Poller::replyArrived);
    connect(&exchange, &Exchange::replyTimedOut, this, [this](Exchange::Origin origin) {
        if (origin != Exchange::Origin::Client || m_state != State::Running)
            return;
        setState(State::Paused);
        emit status(QStringLiteral("No reply from Karvel: polling paused."));
    });
    connect(&exchange, &Exchange::portEvent, this, [this](Exchange::PortEvent event) {
        if (event == Exchange::PortEvent::Opened || m_state == State::Stopped)
            return;
        setState(State::Stopped);
        emit status(QStringLiteral("Port closed: polling stopped."));
    });
}

void Poller::setQueries(const QList<quint8> &codes)
{
    m_queries = codes;
    m_next = 0;
    if (m_queries.isEmpty() && m_state != State::Stopped)
        setState(State::Stopped);
}

void Poller::setBitsPerSecond(int bitsPerSecond)
{
    m_bitsPerSecond = bitsPerSecond;
    setInterval(m_interval);
}

void Poller::setInterval(int milliseconds)
{
    m_interval = std::clamp(milliseconds, shortestInterval(m_bitsPerSecond), LongestInterval);
}

void Poller::start()
{
    if (m_queries.isEmpty())
        return;
    if (!m_exchange.portOpen()) {
        emit status(QStringLiteral("The port is closed: open it to poll."));
        return;
    }
    m_next = 0;
    m_due = Toolkit::Ticks();
    setState(State::Running);
    poll();
}

void Poller::stop()
{
    setState(State::Stopped);
}

void Poller::setState(State state)
{
    if (state != State::Running) {
        m_timer.stop();
        m_exchange.cancelRequest();
    }
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void Poller::poll()
{
    if (m_state != State::Running)
        return;
    const quint32 now = Toolkit::Ticks();
    // Due now or overdue, unless m_due lies ahead (by no more than an interval).
    const quint32 ahead = Protocol::TicksBetween(now, m_due);
    if (ahead > 0 && ahead <= quint32(LongestInterval)) {
        schedule();
        return;
    }
    // A poll still waiting for the line (an operator's command went first)
    // keeps its turn: the queries go out in order.
    if (!m_exchange.requestPending()) {
        std::array<quint8, Protocol::CommandFrame::Size> frame{};
        frame[Protocol::CommandFrame::ADR] = m_address;
        frame[Protocol::CommandFrame::CMD] = m_queries.at(m_next);
        m_next = (m_next + 1) % m_queries.size();
        m_exchange.request(Protocol::CommandFrame::fromBytes(frame));
    }
    // Behind by more than an interval (a long wait for the line): count from now.
    m_due = Protocol::TicksBetween(m_due, now) > quint32(m_interval) ? now + quint32(m_interval)
                                                                      : m_due + quint32(m_interval);
    schedule();
}

void Poller::schedule()
{
    const quint32 wait = Protocol::TicksBetween(Toolkit::Ticks(), m_due);
    m_timer.start(int(std::min(wait > quint32(LongestInterval) ? 0u : wait, kLongestWake)));
}

void Poller::replyArrived(const Protocol::ReplyFrame &reply)
{
    if (m_state != State::Stopped && m_queries.contains(reply.code()))
        emit replied(reply, Toolkit::Ticks());
}
