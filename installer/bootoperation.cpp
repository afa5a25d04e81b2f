#include "installer/bootoperation.h"

#include "installer/bootlink.h"

void Request(BootLink &link, std::initializer_list<quint8> request, const char *message)
{
    if (!link.BootRequest(request))
        throw EBootError(QString::fromLatin1(message));
}

void RequestAddress(BootLink &link, quint32 byteAddress, const char *message)
{
    const quint32 word = byteAddress / 2;
    Request(link, {'A', quint8(word >> 8), quint8(word)}, message);
}

void RequestIdentification(BootLink &link, const char *message)
{
    if (!link.BootRequest({'S'}) || !link.Reply().Text().contains("HLXMBOOT"))
        throw EBootError(QString::fromLatin1(message));
}

void RequestKarvel2(BootLink &link, BootProgress &progress)
{
    Request(link, {'a'}, "Could not detect the device type!");
    if (link.Reply().Byte(0) != 'K' || link.Reply().Byte(1) != 'V')
        throw EBootError(QStringLiteral("The connected device is not a Karvel 2!"));
    progress.ShowDeviceType(QStringLiteral("Karvel 2"));
}

BootOutcome RunBootOperation(BootLink &link, BootProgress &progress, const std::function<void()> &operation)
{
    progress.ShowStep(QStringLiteral("Trying to enter boot mode..."));
    if (!link.EnterBootMode())
        return {BootOutcome::EntryFailed, link.EntryFailure()};
    try {
        operation();
        link.Close();
    } catch (const std::exception &error) {
        link.Close();
        return {BootOutcome::Failed, QString::fromStdString(error.what())};
    }
    return {};
}
