#pragma once

#include <QByteArray>
#include <QtGlobal>

class BootLink;
class BootProgress;

// Reads the unit's application flash once it is in its boot loader: checks
// that it is a Karvel 2, reads word by word from address 0 and leaves the
// boot loader. Throws EBootError with the operator's message.
class FlashReader
{
public:
    FlashReader(BootLink &link, BootProgress &progress);

    // The bytes from address 0 up to bound, rounded up to a whole word and
    // limited to the application area.
    QByteArray Run(quint32 bound);

private:
    BootLink &m_link;
    BootProgress &m_progress;
};
