#include "app/exchange.h"

#include "protocol/exchangetiming.h"
#include "serial/comm32.h"
#include "toolkit/ticks.h"

#include <algorithm>

using namespace Protocol;

namespace {

// The longest the exchange sleeps between two looks at the tick counter, so
// that the counter (which tests hold) and not the timer decides.
constexpr quint32 kLongestWake = 100;
// A look again while the transmit queue empties.
constexpr quint32 kQueueWake = 10;

} // namespace

Exchange::Exchange(TComm32 &port, QObject *parent)
    : QObject(parent)
    , m_port(port)
{
    m_serve.setSingleShot(true);
    connect(&m_serve, &QTimer::timeout, this, &Exchange::serve);
}

void Exchange::restart()
{
    m_awaitingReply = false;
    m_lastSendTick = 0;
    m_lastOrigin = Origin::Operator;
    m_assembler.reset();
    m_held.reset();
    m_request.reset();
    m_serve.stop();
}

bool Exchange::gateOpen() const
{
    return SendGateOpen(Toolkit::Ticks(), m_lastSendTick, m_port.OutQueueCount(), m_awaitingReply);
}

bool Exchange::send(const std::array<QString, CommandFrame::Size> &texts)
{
    if (gateOpen()) {
        transmit(CommandFrame::fromTexts(texts), Origin::Operator);
        scheduleServe();
        return true;
    }
    // Refused by the pacing as ever, unless it is the client's traffic that
    // holds the press back.
    const bool clientHasLine = m_request || m_lastOrigin == Origin::Client;
    if (!clientHasLine || m_held)
        return false;
    m_held = CommandFrame::fromTexts(texts);
    scheduleServe();
    return true;
}

void Exchange::request(const CommandFrame &frame)
{
    m_request = frame;
    serve();
}

void Exchange::cancelRequest()
{
    m_request.reset();
}

void Exchange::transmit(const CommandFrame &frame, Origin origin)
{
    // A write that fails counts as sent: the time-out tells the operator
    // when its reply does not come.
    m_port.Write(frame.bytes().data(), CommandFrame::Size);
    m_lastSendTick = Toolkit::Ticks();
    m_awaitingReply = frame.expectsReply();
    m_lastOrigin = origin;
    emit frameSent(frame, origin);
}

void Exchange::serve()
{
    if (m_awaitingReply) {
        if (m_lastOrigin == Origin::Client && ReplyTimedOut(Toolkit::Ticks(), m_lastSendTick, true)) {
            emit replyTimedOut(Origin::Client);
            abandonReply();
        }
    } else if (m_held || m_request) {
        if (gateOpen()) {
            // The operator's frame first.
            std::optional<CommandFrame> &next = m_held ? m_held : m_request;
            const CommandFrame frame = *next;
            const Origin origin = m_held ? Origin::Operator : Origin::Client;
            next.reset();
            transmit(frame, origin);
        }
    }
    scheduleServe();
}

void Exchange::scheduleServe()
{
    const quint32 elapsed = TicksBetween(m_lastSendTick, Toolkit::Ticks());
    quint32 wait = 0;
    if (m_awaitingReply) {
        // The operator's reply is supervised by the window; the end of any
        // wait comes with the reply or with abandonReply.
        if (m_lastOrigin != Origin::Client) {
            m_serve.stop();
            return;
        }
        wait = elapsed > ReplyTimeLimit ? 0 : ReplyTimeLimit + 1 - elapsed;
    } else if (m_held || m_request) {
        if (elapsed < MinSendInterval)
            wait = MinSendInterval - elapsed;
        else if (m_port.OutQueueCount() > 0)
            wait = kQueueWake;
    } else {
        m_serve.stop();
        return;
    }
    m_serve.start(int(std::min(wait, kLongestWake)));
}

std::optional<ReplyFrame> Exchange::receive(int count)
{
    std::array<char, ReplyAssembler::MaxChunk> chunk;
    const int wanted = std::clamp(count, 0, ReplyAssembler::MaxChunk);
    // Only the bytes that were read count: a hung-up port reads -1.
    const int read = wanted > 0 ? std::max(m_port.Read(chunk.data(), wanted), 0) : 0;
    const ReplyAssembler::Outcome outcome = m_assembler.take(QByteArrayView(chunk.data(), read));
    discard(outcome.skipped);
    if (outcome.reply) {
        m_awaitingReply = false;
        emit replyAssembled(*outcome.reply);
        discard(outcome.surplus);
        scheduleServe();
    }
    return outcome.reply;
}

void Exchange::discard(QByteArrayView bytes)
{
    if (!bytes.isEmpty())
        emit bytesDiscarded(bytes.toByteArray());
}

bool Exchange::replyOverdue() const
{
    return m_lastOrigin == Origin::Operator && ReplyTimedOut(Toolkit::Ticks(), m_lastSendTick, m_awaitingReply);
}

void Exchange::reportTimeOut()
{
    emit replyTimedOut(Origin::Operator);
}

void Exchange::abandonReply()
{
    m_port.PurgeWrite();
    m_port.PurgeRead();
    dropReply();
    m_lastSendTick = Toolkit::Ticks();
    scheduleServe();
}

void Exchange::dropReply()
{
    m_awaitingReply = false;
    m_assembler.reset();
}

void Exchange::notePortEvent(PortEvent event)
{
    m_portOpen = event == PortEvent::Opened;
    if (event != PortEvent::Opened) {
        // Nothing goes out on a port that has gone.
        m_held.reset();
        m_request.reset();
        m_serve.stop();
    }
    emit portEvent(event);
}

void Exchange::noteLineErrors(quint32 errors)
{
    emit lineErrors(errors);
}
