#pragma once

#include "serial/comm32.h"
#include "serial/driversettings.h"
#include "serial/portcalls.h"

#include <QString>

// The line settings a component applies to its port when it opens it.
struct LineSettings
{
    TBaudRate BaudRate;
    TParity Parity;
    TStopbits Stopbits;
    TDatabits Databits;
    bool ParityCheck;
    TFlowControl FlowControl;
    char XonChar;
    char XoffChar;
};

// The POSIX side of one serial port: opens a tty exclusively and in raw
// 8-bit mode, keeps its termios and modem lines in step with the component's
// settings, and reads and writes without blocking. Owns the descriptor.
//
// What Linux cannot do, and what happens instead:
// - DSR/DTR handshake (fcDTR): there is none; DTR and RTS are raised and no
//   flow control is applied. osDsrSensitivity likewise has no counterpart.
// - 1.5 stop bits: see sb15. 4 data bits: see da4.
// - osIgnoreXOff, osErrorChar, osNullStrip: n_tty offers no such choices;
//   with osParityCheck a byte with a parity error reads as 0.
// - fcRTSToggle: the kernel's RS-485 mode where the driver has one;
//   otherwise the component raises RTS itself before a write and drops it
//   when the transmit queue has drained (TogglesRtsByHand). A tty without
//   modem lines (a pseudo-terminal) is written to without any of this.
//
// Modem lines, driver records, writes and the drain go through PortCalls.
//
// What it changes in the driver outside termios (RS-485 and low-latency
// mode) is put back as found when the port closes, the device gone or not.
class SerialDevice
{
public:
    explicit SerialDevice(PortCalls &Calls = SystemPortCalls::Shared());
    ~SerialDevice();
    SerialDevice(const SerialDevice &) = delete;
    SerialDevice &operator=(const SerialDevice &) = delete;

    // 0 when the port is open; otherwise the errno of the step that failed:
    // ENOTTY for a file that is no terminal, EWOULDBLOCK for a port another
    // program has locked.
    int Open(const QString &Path);
    void Close();
    bool IsOpen() const { return FFd >= 0; }
    int Handle() const { return FFd; }

    // Bytes read; 0 when none are waiting; -1 when the port has hung up or
    // the read fails.
    int Read(void *Buffer, int Count);
    // Bytes the tty took at once (0 when its queue is full); -1 on failure.
    int Write(const void *Buffer, int Count);
    // Blocks until every byte written has left the line.
    void Drain();

    // Only while closed: the port is reached through Calls from the next
    // Open on.
    void SetCalls(PortCalls &Calls);
    PortCalls &Calls() const { return *FCalls; }

    // Raw mode and every setting. Each call here returns whether the driver
    // took the change; callers may ignore it.
    bool Configure(const LineSettings &Settings);
    bool SetBaudRate(TBaudRate Rate);
    bool SetParity(TParity Parity);
    bool SetStopbits(TStopbits Stopbits);
    bool SetDatabits(TDatabits Databits);
    bool SetParityCheck(bool On);
    bool SetFlowControl(TFlowControl Flow, char XonChar, char XoffChar);
    bool SetXonChar(char Value);
    bool SetXoffChar(char Value);

    // True when fcRTSToggle is in force and only the component can do it.
    bool TogglesRtsByHand() const { return FRtsByHand; }
    bool SetRts(bool On);
    // The driver's low-latency mode; false where it has none.
    bool SetLowLatency(bool On);

private:
    template <typename Change>
    bool Modify(Change &&ChangeSettings);
    bool ApplyArbitrarySpeed(TBaudRate Rate);
    void ApplyModemLines(TFlowControl Flow);

    PortCalls *FCalls;
    DriverSettings FDriver;
    int FFd = -1;
    bool FRtsByHand = false;
};
