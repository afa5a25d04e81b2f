#pragma once

#include <QString>

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
