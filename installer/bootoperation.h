#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

class BootLink;

// Where an installer operation reports how far it has come: the window's
// progress line, device-type text and progress bar.
class BootProgress
{
public:
    virtual ~BootProgress() = default;
    virtual void ShowStep(const QString &text) = 0;
    virtual void ShowDeviceType(const QString &text) = 0;
    virtual void SetBarRange(int maximum) = 0;
    virtual void SetBarPosition(int position) = 0;
};

// An installer operation that failed: its message is what the operator reads.
class EBootError : public std::runtime_error
{
public:
    explicit EBootError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
};

// Sends one request; a missing reply fails the operation with message.
void Request(BootLink &link, std::initializer_list<quint8> request, const char *message);
// Sends 'A' with the word address of a byte address.
void RequestAddress(BootLink &link, quint32 byteAddress, const char *message);
// Sends 'S' and checks that a boot loader of the module family answered.
void RequestIdentification(BootLink &link, const char *message);
// Sends 'a' and checks that the module is a Karvel 2, which progress shows.
void RequestKarvel2(BootLink &link, BootProgress &progress);

// How one installer operation ended; message is the operator's text.
struct BootOutcome
{
    enum Kind {
        Done,
        // The port could not be opened at the boot loader's rate, or the
        // link was cancelled before it was.
        EntryFailed,
        // The operation failed, or was cancelled, after the port was open.
        Failed,
    };
    Kind kind = Done;
    QString message;
};

// The frame of every installer operation: shows the boot-entry step, enters
// the boot loader, runs operation and closes the port on every path.
BootOutcome RunBootOperation(BootLink &link, BootProgress &progress, const std::function<void()> &operation);
