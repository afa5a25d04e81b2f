#pragma once

#include <QFlags>
#include <QObject>
#include <QString>

#include <memory>

class TC32Thread;
class LoopLineWatch;
class SerialDevice;
class PortCalls;
class PortWriter;
class LineErrorCounter;
class QSocketNotifier;

enum TBaudRate {
    cbr110, cbr300, cbr600, cbr1200, cbr2400, cbr4800, cbr9600, cbr14400, cbr19200,
    cbr38400, cbr56000, cbr57600, cbr115200, cbr128000, cbr256000
};

enum TParity { paNone, paOdd, paEven, paMark, paSpace };

// sb15 sets the same two-stop-bit flag as sb20: Linux has no 1.5 stop bits of
// its own, but a 16550-style UART sends 1.5 stop bits when that flag meets
// 5-bit characters (the only size with which 1.5 stop bits exist at all).
enum TStopbits { sb10, sb15, sb20 };

// Linux has no 4-bit characters: da4 leaves the character size as it was.
enum TDatabits { da4, da5, da6, da7, da8 };

enum TFlowControl { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault, fcRTSToggle };

enum TComm32Option {
    osParityCheck = 0x01,
    osDsrSensitivity = 0x02,
    osIgnoreXOff = 0x04,
    osErrorChar = 0x08,
    osNullStrip = 0x10,
};
Q_DECLARE_FLAGS(TComm32Options, TComm32Option)
Q_DECLARE_OPERATORS_FOR_FLAGS(TComm32Options)

// The events a component may watch, in their published order.
enum TC32EventState {
    evBreak = 0x001,
    evCTS = 0x002,
    evDSR = 0x004,
    evError = 0x008,
    evRing = 0x010,
    evRlsd = 0x020,
    evRxChar = 0x040,
    evRxFlag = 0x080,
    evTxEmpty = 0x100,
};
Q_DECLARE_FLAGS(TC32EventType, TC32EventState)
Q_DECLARE_OPERATORS_FOR_FLAGS(TC32EventType)

inline constexpr TC32EventType kAllC32Events = TC32EventType::fromInt(0x1FF);

// Line-event bits as the event thread reports them to DispatchEvents and as
// DoEvent receives them one at a time.
enum TC32EventBit : quint32 {
    EV_RXCHAR = 0x0001,
    EV_RXFLAG = 0x0002,
    EV_TXEMPTY = 0x0004,
    EV_CTS = 0x0008,
    EV_DSR = 0x0010,
    EV_RLSD = 0x0020,
    EV_BREAK = 0x0040,
    EV_ERR = 0x0080,
    EV_RING = 0x0100,
};

// Line-error flags passed to OnError (Errors), collected since the previous
// dispatch or OutQueueCount.
enum TC32LineError : quint32 {
    CE_RXOVER = 0x0001,   // the kernel's receive buffer overflowed
    CE_OVERRUN = 0x0002,  // the UART lost a character
    CE_RXPARITY = 0x0004,
    CE_FRAME = 0x0008,
    CE_BREAK = 0x0010,
};

// Error codes passed to OnOpen (Error). 0 means the port opened.
enum TC32OpenError : int {
    C32_ERROR_NONE = 0,
    C32_ERROR_NOT_A_PORT = 1,       // exists, but is no terminal device
    C32_ERROR_FILE_NOT_FOUND = 2,   // no such device, or a name that maps to none
    C32_ERROR_ACCESS_DENIED = 5,    // no permission, or held by another program
    C32_ERROR_GEN_FAILURE = 31,     // any other failure of the system
};

// Why an Open failed, as the system told it.
struct TC32OpenFailure
{
    // The device it tried; empty when the name stands for none.
    QString Path;
    // errno of the step that failed; 0 after a successful Open.
    int Errno = 0;
    // The port is held by another program: its exclusive mode (EBUSY) or
    // its lock (EWOULDBLOCK).
    bool HeldByOtherProgram = false;
};

// The number of bits per second a rate stands for.
int BitsPerSecond(TBaudRate Rate);

// A non-visual serial port component: opens a port by name, keeps its line
// settings in step with the properties, writes and reads without blocking
// and raises the line events on the thread it lives in (the main thread).
//
// DeviceName is the path of the device to open (port names such as "COM3"
// are resolved by the caller). Anything but an absolute path fails with
// C32_ERROR_FILE_NOT_FOUND: a name must never reach a file relative to the
// working directory.
//
// All members must be called on the component's thread. Open and Close must
// not be called from a line-event handler of the same component; they may be
// called from OnDisconnect, which is raised from the event loop instead.
//
// What it changes in the driver outside termios (RS-485 mode for
// fcRTSToggle, low-latency mode) is put back as found when the port closes.
class TCustomComm32 : public QObject
{
    Q_OBJECT

public:
    explicit TCustomComm32(QObject *Owner = nullptr);
    ~TCustomComm32() override;

    // Closes the port if open, opens DeviceName exclusively, applies every
    // line setting, starts the event thread unless Simple, raises OnOpen.
    // After a failure OpenFailure() tells why.
    void Open();
    // Stops the event thread (serving a hand-over it waits for), aborts a
    // background write and closes the port. Nothing when already closed.
    void Close();
    bool IsOpen() const;
    // Why the last Open failed; empty (Errno 0) after one that succeeded.
    const TC32OpenFailure &OpenFailure() const { return FOpenFailure; }

    // Count bytes written at once; 0 when the rest goes on in the background
    // or a previous write is still running (then nothing is written); -1 on
    // failure or a closed port. Never blocks; Buffer may be reused at once.
    // With RTS toggled by hand a write runs until its last byte has left and
    // RTS is down again.
    int Write(const void *Buffer, int Count);
    // True while a write still goes on in the background: until then Write
    // sends nothing. Its end wakes the component's event loop, so a caller
    // can wait for it there.
    bool WritePending() const;
    // Up to Count bytes that have already arrived; 0 when none has, -1 on a
    // closed or hung-up port.
    int Read(void *Buffer, int Count);
    // Bytes not yet handed to the line, including a background write's rest;
    // at least 1 while a background write runs, so 0 means Write will send.
    // Also clears the collected line-error flags.
    int OutQueueCount();
    // Blocks, without dispatching events, until OutQueueCount would be 0:
    // the thread sleeps in the kernel while the bytes leave the line.
    void WaitForOutQueueEmpty();
    // Drops received bytes that were not read.
    void PurgeRead();
    // Drops bytes not yet transmitted and aborts a background write.
    void PurgeWrite();

    // Reads the line-error flags and queue counts once, then raises the
    // event of every bit in EventMask in the fixed order Break, CTS, DSR,
    // Error, Ring, RLSD, RxChar, RxFlag, TxEmpty. Called with each hand-over
    // from the event thread.
    void DispatchEvents(quint32 EventMask);

    // Readable while the event thread waits for the main thread to take a
    // hand-over; -1 while no event thread runs. Lets a caller wait for a
    // line event without running the event loop.
    int HandOverNoticeFd() const;

    QString DeviceName() const { return FDeviceName; }
    void SetDeviceName(const QString &Value) { FDeviceName = Value; }
    TBaudRate BaudRate() const { return FBaudRate; }
    void SetBaudRate(TBaudRate Value);
    TParity Parity() const { return FParity; }
    void SetParity(TParity Value);
    TStopbits Stopbits() const { return FStopbits; }
    void SetStopbits(TStopbits Value);
    TDatabits Databits() const { return FDatabits; }
    void SetDatabits(TDatabits Value);
    TC32EventType MonitorEvents() const { return FMonitorEvents; }
    void SetMonitorEvents(TC32EventType Value) { FMonitorEvents = Value; }
    // Kept for the published interface: a tty's queues are sized by its
    // driver and cannot be changed from user space.
    int ReadBufferSize() const { return FReadBufferSize; }
    void SetReadBufferSize(int Value) { FReadBufferSize = Value; }
    int WriteBufferSize() const { return FWriteBufferSize; }
    void SetWriteBufferSize(int Value) { FWriteBufferSize = Value; }
    TFlowControl FlowControl() const { return FFlowControl; }
    void SetFlowControl(TFlowControl Value);
    char XonChar() const { return FXonChar; }
    void SetXonChar(char Value);
    char XoffChar() const { return FXoffChar; }
    void SetXoffChar(char Value);
    // Kept for the published interface: a tty cannot report the arrival of
    // one particular character, so OnRxFlag is never raised.
    char EvtChar() const { return FEvtChar; }
    void SetEvtChar(char Value) { FEvtChar = Value; }
    TComm32Options Options() const { return FOptions; }
    void SetOptions(TComm32Options Value);
    bool Simple() const { return FSimple; }
    void SetSimple(bool Value) { FSimple = Value; }
    // None until the next Open; when true (and not Simple), Open starts no
    // event thread: the events are raised by the event loop of the thread
    // the component lives on, which then must not be a window's (a handler
    // runs as soon as bytes arrive, without a hand-over per event).
    bool InLoopEvents() const { return FInLoopEvents; }
    void SetInLoopEvents(bool Value) { FInLoopEvents = Value; }
    // While open, the driver hands over each received byte at once instead
    // of collecting them (a USB adapter's latency timer, often 16 ms, would
    // delay every reply). Where the driver has no such mode nothing changes.
    // Applied at once; the driver's own setting is back after Close.
    bool LowLatency() const { return FLowLatency; }
    void SetLowLatency(bool Value);
    // Only while closed: the port is reached through Calls (modem lines,
    // driver records, writes, drain) from the next Open on. The component
    // does not own them; they must outlive its open port.
    void SetPortCalls(PortCalls &Calls);

signals:
    void OnOpen(QObject *Sender, int ProviderSubType, int Error);
    void OnBreak(QObject *Sender);
    void OnCTS(QObject *Sender);
    void OnDSR(QObject *Sender);
    void OnError(QObject *Sender, int Errors);
    void OnRing(QObject *Sender);
    void OnRLSD(QObject *Sender);
    void OnRxChar(QObject *Sender, int Count);
    void OnRxFlag(QObject *Sender);
    void OnTxEmpty(QObject *Sender);
    // The open port's device went away (the far side hung up, the adapter
    // was unplugged). Raised once per Open, from the event loop, some time
    // after the hang-up; reading and writing fail until the port is closed.
    // Needs line events: a Simple component does not notice.
    void OnDisconnect(QObject *Sender);

protected:
    // Raises the event of one line-event bit; any other value does nothing.
    virtual void DoEvent(quint32 EventBit);
    virtual void DoOpen(int ProviderSubType, int Error);

private:
    // Stores a setting and, while the port is open, applies it at once.
    template <typename T>
    void Update(T &Field, T Value, bool (SerialDevice::*ApplyToPort)(T));
    void StartEventThread();
    void StartLoopWatch();
    void StartWriter();
    // The event thread of Open number Session saw the port hang up.
    void PortHungUp(quint64 Session);

    QString FDeviceName;
    TBaudRate FBaudRate;
    TParity FParity;
    TStopbits FStopbits;
    TDatabits FDatabits;
    TC32EventType FMonitorEvents;
    int FReadBufferSize;
    int FWriteBufferSize;
    TFlowControl FFlowControl;
    char FXonChar;
    char FXoffChar;
    char FEvtChar;
    TComm32Options FOptions;
    bool FSimple;
    bool FInLoopEvents = false;
    bool FLowLatency;

    std::unique_ptr<SerialDevice> FDevice;
    // Both exist while the port is open; the notifier takes the writer's
    // end of a job into the event loop.
    std::unique_ptr<PortWriter> FWriter;
    std::unique_ptr<QSocketNotifier> FWriterNotifier;
    std::unique_ptr<LineErrorCounter> FLineErrorCounter;
    // At most one of the two exists, while the port is open.
    std::unique_ptr<TC32Thread> FThread;
    std::unique_ptr<LoopLineWatch> FLoopWatch;
    TC32OpenFailure FOpenFailure;
    // Counts the Opens, so that a hang-up noticed before a Close is not
    // taken for one of the port opened after it.
    quint64 FSession = 0;
    // What the last dispatch read: passed to OnError and OnRxChar.
    quint32 FLineErrors = 0;
    int FInQueue = 0;
};

// The component the main window and the installer window place.
class TComm32 : public TCustomComm32
{
    Q_OBJECT

public:
    using TCustomComm32::TCustomComm32;
};
