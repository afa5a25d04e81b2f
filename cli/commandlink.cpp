#include "cli/commandlink.h"

#include "app/linerates.h"
#include "cli/interrupt.h"
#include "protocol/exchangetiming.h"
#include "serial/comm32.h"
#include "toolkit/eventwait.h"
#include "toolkit/ticks.h"
#include "util/karvutils.h"

CommandLink::CommandLink(const Interrupt &interrupt, QObject *parent)
    : QObject(parent)
    , m_interrupt(interrupt)
    , Comm32(new TComm32(this))
    , m_exchange(*Comm32)
{
    Comm32->SetMonitorEvents(evRxChar);
    Comm32->SetFlowControl(fcRTSToggle);
    // No window to keep responsive: the replies are taken by this thread's
    // own waits, without an event thread.
    Comm32->SetInLoopEvents(true);
    connect(Comm32, &TComm32::OnRxChar, this, &CommandLink::Comm32RxChar);
}

bool CommandLink::Open(const QString &device, int baud)
{
    Comm32->SetDeviceName(device);
    if (const std::optional<TBaudRate> rate = PanelLineRate(baud))
        Comm32->SetBaudRate(*rate);
    Comm32->Open();
    m_exchange.restart();
    return Comm32->IsOpen();
}

const TC32OpenFailure &CommandLink::OpenFailure() const
{
    return Comm32->OpenFailure();
}

bool CommandLink::Pause(quint32 milliseconds) const
{
    Toolkit::waitUntil([this] { return m_interrupt.Raised(); }, milliseconds);
    return !m_interrupt.Raised();
}

CommandLink::Result CommandLink::Transact(const std::array<quint8, Protocol::CommandFrame::Size> &frame,
                                          bool awaitReply)
{
    // The pacing of the panel's Send: the previous frame has left and the
    // least interval has passed.
    Comm32->WaitForOutQueueEmpty();
    const quint32 since = Protocol::TicksBetween(m_exchange.LastSendTick(), Toolkit::Ticks());
    if (since < Protocol::MinSendInterval && !Pause(Protocol::MinSendInterval - since + 1))
        return Result::Interrupted;
    std::array<QString, Protocol::CommandFrame::Size> texts;
    for (size_t i = 0; i < frame.size(); ++i)
        texts[i] = KarvUtils::HexText(frame[i]);
    m_reply.reset();
    if (!m_exchange.send(texts))
        return Result::NoReply;
    if (!awaitReply) {
        Comm32->WaitForOutQueueEmpty();
        return Result::Sent;
    }
    Toolkit::waitUntil([this] { return m_reply || m_interrupt.Raised(); }, Protocol::ReplyTimeLimit);
    if (m_reply)
        return Result::Replied;
    if (m_interrupt.Raised())
        return Result::Interrupted;
    m_exchange.abandonReply();
    return Result::NoReply;
}

void CommandLink::Comm32RxChar(QObject *, int Count)
{
    if (std::optional<Protocol::ReplyFrame> reply = m_exchange.receive(Count))
        m_reply = reply;
}
