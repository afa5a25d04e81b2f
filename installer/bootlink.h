#pragma once

#include "installer/bootreply.h"

#include <QObject>
#include <QString>

#include <array>
#include <atomic>
#include <initializer_list>
#include <span>

class TComm32;

// The installer's line to the unit's boot loader: its own serial component,
// the boot-entry step that every operation starts with, and single requests
// that wait for their reply. Lives on one thread (the window's, or a worker
// of the command line); its waits dispatch that thread's events, so the
// window stays responsive while they last. Shows nothing itself: the caller
// tells the operator.
class BootLink : public QObject
{
    Q_OBJECT

public:
    static constexpr int BootRate = 9600;
    // Longest wait for one reply, in milliseconds.
    static constexpr quint32 ReplyLimit = 5000;
    // Longest wait for the previous write to leave the line before the next
    // one, in milliseconds: a few frames' time at the slowest rate.
    static constexpr quint32 WriteLimit = 1000;

    explicit BootLink(QObject *parent = nullptr);

    // The port stays closed for more than this many milliseconds after the
    // boot-entry frame, so that the unit can restart into its boot loader.
    quint32 EntryPause = 1000;

    // Hand-over from the main window. PortName is what the messages call
    // the port; PortDevice the path that is opened.
    quint8 ModuleAddress = 0;
    QString PortName;
    QString PortDevice;
    int PortBaud = 0;

    // The enter-boot-loader frame for the given unit address: nine bytes
    // ending in the sum of the eight before it.
    static std::array<quint8, 9> BootEntryFrame(quint8 address);

    // Sends the boot-entry frame at the unit's rate (unless the port cannot
    // be opened there), waits, and reopens the port at 9600 baud. False when
    // that last opening fails (EntryFailure() says so) or on Cancel().
    bool EnterBootMode();
    // The operator's message of the last failed EnterBootMode.
    const QString &EntryFailure() const { return m_entryFailure; }
    // Sends one request and waits up to ReplyLimit for its whole reply.
    // False at once when the request cannot be written or after Cancel().
    bool BootRequest(std::initializer_list<quint8> request);
    void Close();

    // Ends the wait under way and fails every later one, so that the
    // operation ends through its own failure path and closes the port. Any
    // thread may call it; a waiting link's thread wakes on its next event.
    void Cancel();
    bool Cancelled() const { return m_cancelled; }

    const BootReply &Reply() const { return m_reply; }
    TComm32 *comm32() const { return Comm32; }

private:
    // Starts an exchange: waits, in the event loop and at most WriteLimit,
    // until the previous write has left (so that this one is not refused),
    // forgets the last reply, drops bytes that came unasked (a late reply,
    // line noise) and writes. False when the bytes did not go out.
    bool Send(std::span<const quint8> bytes);
    void Comm32RxChar(QObject *Sender, int Count);

    TComm32 *Comm32;
    BootReply m_reply;
    QString m_entryFailure;
    std::atomic<bool> m_cancelled = false;
};
