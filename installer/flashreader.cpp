#include "installer/flashreader.h"

#include "installer/bootlink.h"
#include "installer/bootoperation.h"
#include "installer/flashprogrammer.h"

FlashReader::FlashReader(BootLink &link, BootProgress &progress)
    : m_link(link)
    , m_progress(progress)
{
}

QByteArray FlashReader::Run(quint32 bound)
{
    bound = qMin((bound + 1) & ~1u, FlashProgrammer::BootLoaderStart);
    m_progress.ShowStep(QStringLiteral("Detecting device type..."));
    RequestIdentification(m_link, "No Karvel 2 in boot mode connected!");
    RequestKarvel2(m_link, m_progress);
    m_progress.ShowStep(QStringLiteral("Reading..."));
    m_progress.SetBarRange(int(bound));
    RequestAddress(m_link, 0, "Read error (1)!");
    QByteArray flash;
    flash.reserve(bound);
    for (quint32 i = 0; i < bound; i += 2) {
        Request(m_link, {'R'}, "Read error (2)!");
        // The boot loader sends the odd byte first.
        flash.append(char(m_link.Reply().Byte(1)));
        flash.append(char(m_link.Reply().Byte(0)));
        m_progress.SetBarPosition(int(i + 2));
    }
    m_link.BootRequest({'x'});
    m_progress.ShowStep(QStringLiteral("Successful!"));
    return flash;
}
