#include "serial/comm32.h"

#include "serial/c32thread.h"
#include "serial/lineerrorcounter.h"
#include "serial/looplinewatch.h"
#include "serial/portwriter.h"
#include "serial/serialdevice.h"
#include "serial/ttyqueue.h"

#include <QSocketNotifier>

#include <cerrno>

namespace {

// The provider sub-type OnOpen reports for an open port: every tty counts as
// an RS-232 port (PST_RS232).
constexpr int kProviderSubTypeRs232 = 1;

// errno of a failed open to the code OnOpen reports.
int OpenErrorFor(int Errno)
{
    switch (Errno) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return C32_ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EROFS:
    case EWOULDBLOCK:
        return C32_ERROR_ACCESS_DENIED;
    case EISDIR:
    case ENOTTY:
        return C32_ERROR_NOT_A_PORT;
    default:
        return C32_ERROR_GEN_FAILURE;
    }
}

} // namespace

int BitsPerSecond(TBaudRate Rate)
{
    static constexpr int kRates[] = {110, 300, 600, 1200, 2400, 4800, 9600, 14400,
                                     19200, 38400, 56000, 57600, 115200, 128000, 256000};
    return Rate >= cbr110 && Rate <= cbr256000 ? kRates[Rate] : 0;
}

TCustomComm32::TCustomComm32(QObject *Owner)
    : QObject(Owner)
    , FDeviceName(QStringLiteral("COM2"))
    , FBaudRate(cbr9600)
    , FParity(paNone)
    , FStopbits(sb10)
    , FDatabits(da8)
    , FMonitorEvents(kAllC32Events)
    , FReadBufferSize(4096)
    , FWriteBufferSize(2048)
    , FFlowControl(fcDefault)
    , FXonChar(17)
    , FXoffChar(19)
    , FEvtChar(0)
    , FSimple(false)
    , FLowLatency(false)
    , FDevice(std::make_unique<SerialDevice>())
    , FLineErrorCounter(std::make_unique<LineErrorCounter>())
{
}

TCustomComm32::~TCustomComm32()
{
    Close();
}

void TCustomComm32::Open()
{
    Close();
    ++FSession;
    const QString path = FDeviceName.startsWith(QLatin1Char('/')) ? FDeviceName : QString();
    const int error = path.isEmpty() ? ENOENT : FDevice->Open(path);
    if (error != 0) {
        FOpenFailure = {path, error, error == EBUSY || error == EWOULDBLOCK};
        DoOpen(0, OpenErrorFor(error));
        return;
    }
    FOpenFailure = {};
    FDevice->Configure({FBaudRate, FParity, FStopbits, FDatabits, FOptions.testFlag(osParityCheck),
                        FFlowControl, FXonChar, FXoffChar});
    FDevice->SetLowLatency(FLowLatency);
    FLineErrorCounter->Reset(FDevice->Handle());
    StartWriter();
    if (!FSimple && FInLoopEvents)
        StartLoopWatch();
    else if (!FSimple)
        StartEventThread();
    DoOpen(kProviderSubTypeRs232, C32_ERROR_NONE);
}

void TCustomComm32::StartEventThread()
{
    FThread = std::make_unique<TC32Thread>(FDevice->Handle(), FMonitorEvents);
    FThread->SetCallback([this](quint32 EventMask) { DispatchEvents(EventMask); });
    // Queued: the handlers of OnDisconnect may close the port, which they
    // could not do inside a hand-over.
    connect(FThread.get(), &TC32Thread::HungUp, this, [this, Session = FSession] { PortHungUp(Session); },
            Qt::QueuedConnection);
    FThread->start(QThread::TimeCriticalPriority);
}

void TCustomComm32::StartLoopWatch()
{
    FLoopWatch = std::make_unique<LoopLineWatch>(FDevice->Handle(), FMonitorEvents,
                                                 [this](quint32 EventMask) { DispatchEvents(EventMask); });
    connect(FLoopWatch.get(), &LoopLineWatch::HungUp, this, [this, Session = FSession] { PortHungUp(Session); },
            Qt::QueuedConnection);
}

void TCustomComm32::StartWriter()
{
    FWriter = std::make_unique<PortWriter>(FDevice->Calls(), FDevice->Handle());
    FWriterNotifier = std::make_unique<QSocketNotifier>(FWriter->EndedFd(), QSocketNotifier::Read);
    connect(FWriterNotifier.get(), &QSocketNotifier::activated, this, [this] { FWriter->TakeEnded(); });
}

void TCustomComm32::PortHungUp(quint64 Session)
{
    if (Session == FSession && IsOpen())
        emit OnDisconnect(this);
}

void TCustomComm32::Close()
{
    if (!IsOpen())
        return;
    // The thread's destructor stops it and serves a hand-over it waits for.
    FThread.reset();
    FLoopWatch.reset();
    FWriterNotifier.reset();
    FWriter.reset();
    FDevice->Close();
}

bool TCustomComm32::IsOpen() const
{
    return FDevice->IsOpen();
}

int TCustomComm32::Write(const void *Buffer, int Count)
{
    if (!IsOpen())
        return -1;
    // A job that ended in failure or was aborted counts as finished too, so
    // that one failed write cannot block every later one.
    if (WritePending())
        return 0;
    const bool rtsByHand = FDevice->TogglesRtsByHand();
    if (rtsByHand)
        FDevice->SetRts(true);
    const int written = FDevice->Write(Buffer, Count);
    if (written < 0) {
        if (rtsByHand)
            FDevice->SetRts(false);
        return -1;
    }
    if (written < Count || rtsByHand)
        FWriter->Start(QByteArray(static_cast<const char *>(Buffer) + written, Count - written), rtsByHand);
    return written == Count ? written : 0;
}

bool TCustomComm32::WritePending() const
{
    return FWriter && FWriter->Busy();
}

void TCustomComm32::SetPortCalls(PortCalls &Calls)
{
    FDevice->SetCalls(Calls);
}

int TCustomComm32::Read(void *Buffer, int Count)
{
    return IsOpen() ? FDevice->Read(Buffer, Count) : -1;
}

int TCustomComm32::OutQueueCount()
{
    if (!IsOpen())
        return 0;
    FLineErrorCounter->Take(FDevice->Handle());
    // A running job counts as at least one byte on its way, so that 0 always
    // means that the next Write sends.
    const bool writing = FWriter->Busy();
    const int queued = TtyQueue::OutputCount(FDevice->Handle()) + FWriter->Remaining();
    return writing ? qMax(queued, 1) : queued;
}

void TCustomComm32::WaitForOutQueueEmpty()
{
    if (!IsOpen())
        return;
    FWriter->Wait();
    FDevice->Drain();
}

void TCustomComm32::PurgeRead()
{
    if (IsOpen())
        TtyQueue::DropInput(FDevice->Handle());
}

void TCustomComm32::PurgeWrite()
{
    if (!IsOpen())
        return;
    FWriter->Abort();
    TtyQueue::DropOutput(FDevice->Handle());
}

void TCustomComm32::DispatchEvents(quint32 EventMask)
{
    if (!IsOpen())
        return;
    FLineErrors = FLineErrorCounter->Take(FDevice->Handle());
    FInQueue = TtyQueue::InputCount(FDevice->Handle());
    static constexpr quint32 kOrder[] = {EV_BREAK, EV_CTS, EV_DSR, EV_ERR, EV_RING,
                                         EV_RLSD, EV_RXCHAR, EV_RXFLAG, EV_TXEMPTY};
    for (const quint32 bit : kOrder) {
        if (EventMask & bit)
            DoEvent(bit);
    }
}

int TCustomComm32::HandOverNoticeFd() const
{
    return FThread ? FThread->HandOverNoticeFd() : -1;
}

void TCustomComm32::DoEvent(quint32 EventBit)
{
    switch (EventBit) {
    case EV_BREAK: emit OnBreak(this); break;
    case EV_CTS: emit OnCTS(this); break;
    case EV_DSR: emit OnDSR(this); break;
    case EV_ERR: emit OnError(this, int(FLineErrors)); break;
    case EV_RING: emit OnRing(this); break;
    case EV_RLSD: emit OnRLSD(this); break;
    case EV_RXCHAR: emit OnRxChar(this, FInQueue); break;
    case EV_RXFLAG: emit OnRxFlag(this); break;
    case EV_TXEMPTY: emit OnTxEmpty(this); break;
    default: break;
    }
}

void TCustomComm32::DoOpen(int ProviderSubType, int Error)
{
    emit OnOpen(this, ProviderSubType, Error);
}

template <typename T>
void TCustomComm32::Update(T &Field, T Value, bool (SerialDevice::*ApplyToPort)(T))
{
    Field = Value;
    if (IsOpen())
        (FDevice.get()->*ApplyToPort)(Value);
}

void TCustomComm32::SetBaudRate(TBaudRate Value)
{
    Update(FBaudRate, Value, &SerialDevice::SetBaudRate);
}

void TCustomComm32::SetParity(TParity Value)
{
    Update(FParity, Value, &SerialDevice::SetParity);
}

void TCustomComm32::SetStopbits(TStopbits Value)
{
    Update(FStopbits, Value, &SerialDevice::SetStopbits);
}

void TCustomComm32::SetDatabits(TDatabits Value)
{
    Update(FDatabits, Value, &SerialDevice::SetDatabits);
}

void TCustomComm32::SetFlowControl(TFlowControl Value)
{
    FFlowControl = Value;
    if (IsOpen())
        FDevice->SetFlowControl(Value, FXonChar, FXoffChar);
}

void TCustomComm32::SetXonChar(char Value)
{
    Update(FXonChar, Value, &SerialDevice::SetXonChar);
}

void TCustomComm32::SetXoffChar(char Value)
{
    Update(FXoffChar, Value, &SerialDevice::SetXoffChar);
}

void TCustomComm32::SetLowLatency(bool Value)
{
    Update(FLowLatency, Value, &SerialDevice::SetLowLatency);
}

void TCustomComm32::SetOptions(TComm32Options Value)
{
    FOptions = Value;
    if (IsOpen())
        FDevice->SetParityCheck(Value.testFlag(osParityCheck));
}
