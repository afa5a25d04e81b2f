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
