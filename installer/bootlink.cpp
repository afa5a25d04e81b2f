#include "installer/bootlink.h"

#include "serial/comm32.h"
#include "toolkit/eventwait.h"

#include <numeric>
#include <optional>

namespace {

// The unit's rates that have a boot-entry rate of their own; any other keeps
// the component's current rate.
std::optional<TBaudRate> unitRate(int baud)
{
    switch (baud) {
    case 2400: return cbr2400;
    case 4800: return cbr4800;
    case 9600: return cbr9600;
    case 19200: return cbr19200;
    case 38400: return cbr38400;
    default: return std::nullopt;
    }
}

} // namespace

BootLink::BootLink(QObject *parent)
    : QObject(parent)
    , Comm32(new TComm32(this))
{
    Comm32->setObjectName(QStringLiteral("Comm32"));
    Comm32->SetDeviceName(QStringLiteral("COM1"));
    Comm32->SetMonitorEvents(evRxChar);
    Comm32->SetFlowControl(fcRTSToggle);
    // One request per flash word: the adapter's latency timer would otherwise
    // stretch every reply.
    Comm32->SetLowLatency(true);
    connect(Comm32, &TComm32::OnRxChar, this, &BootLink::Comm32RxChar);
}

std::array<quint8, 9> BootLink::BootEntryFrame(quint8 address)
{
    std::array<quint8, 9> frame{address, 0xF2, 0x3B, 0x6E, 0x19, 0xC4, 0x57, 0xA2, 0};
    frame[8] = quint8(std::accumulate(frame.begin(), frame.end() - 1, 0u));
    return frame;
}

bool BootLink::EnterBootMode()
{
    Comm32->SetDeviceName(PortDevice);
    if (const std::optional<TBaudRate> rate = unitRate(PortBaud))
        Comm32->SetBaudRate(*rate);
    Comm32->Open();
    if (Comm32->IsOpen()) {
        Send(BootEntryFrame(ModuleAddress));
        Comm32->WaitForOutQueueEmpty();
        Comm32->Close();
        Toolkit::waitUntil([this] { return Cancelled(); }, EntryPause);
    }
    m_entryFailure.clear();
    if (Cancelled())
        return false;
    Comm32->SetBaudRate(cbr9600);
    Comm32->Open();
    if (!Comm32->IsOpen()) {
        m_entryFailure = QStringLiteral("The port ") + PortName + QStringLiteral(" could not be opened!");
        return false;
    }
    return true;
}

bool BootLink::BootRequest(std::initializer_list<quint8> request)
{
    if (Cancelled() || !Send(request))
        return false;
    return Toolkit::waitUntil([this] { return m_reply.ReplyDone() || Cancelled(); }, ReplyLimit) && !Cancelled();
}

bool BootLink::Send(std::span<const quint8> bytes)
{
    if (!Toolkit::waitUntil([this] { return !Comm32->WritePending() || Cancelled(); }, WriteLimit) || Cancelled())
        return false;
    m_reply.Begin(char(bytes.front()));
    Comm32->PurgeRead();
    return Comm32->Write(bytes.data(), int(bytes.size())) >= 0;
}

void BootLink::Cancel()
{
    m_cancelled = true;
    // Wakes the link's thread, which may sleep in a wait for up to ReplyLimit.
    QMetaObject::invokeMethod(this, [] {}, Qt::QueuedConnection);
}

void BootLink::Close()
{
    Comm32->Close();
}

void BootLink::Comm32RxChar(QObject *, int Count)
{
    const int wanted = m_reply.BytesToTake(Count);
    if (wanted == 0)
        return;
    std::array<char, BootReply::BufferSize> piece;
    const int read = Comm32->Read(piece.data(), wanted);
    m_reply.Take(piece.data(), read);
}
