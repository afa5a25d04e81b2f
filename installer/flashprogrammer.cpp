#include "installer/flashprogrammer.h"

#include "installer/bootlink.h"
#include "installer/bootoperation.h"
#include "installer/heximage.h"
#include "util/karvutils.h"

namespace {

// Page sizes the flash layout can hold: even, so that every page starts on a
// word, and no larger than the application area.
bool usablePageSize(qint32 size)
{
    return size >= 2 && size % 2 == 0 && quint32(size) <= FlashProgrammer::BootLoaderStart;
}

} // namespace

FlashProgrammer::FlashProgrammer(BootLink &link, BootProgress &progress)
    : m_link(link)
    , m_progress(progress)
{
}

void FlashProgrammer::Run(Installer::HexImage &image)
{
    m_bound = image.ImageLast + 1;
    m_progress.ShowStep(QStringLiteral("Detecting device type..."));
    RequestIdentification(m_link, "No Karvel 2 in boot mode connected!");
    RequestKarvel2(m_link, m_progress);
    if (image.ImageLast < MarkerAddress) {
        image.Image[MarkerAddress] = 0x12;
        image.Image[MarkerAddress + 1] = 0x34;
    }
    ReadPageSize();
    Erase();
    Write(image);
    Verify(image);
    m_link.BootRequest({'x'});
    m_progress.ShowStep(QStringLiteral("Successful!"));
}

void FlashProgrammer::ReadPageSize()
{
    Request(m_link, {'p'}, "Could not read the page size!");
    const QByteArray reply = m_link.Reply().Text();
    const qint32 size = KarvUtils::DecimalTextToInt(QString::fromLatin1(reply.left(reply.indexOf('\r'))));
    if (!usablePageSize(size))
        throw EBootError(QStringLiteral("Unusable page size %1!").arg(size));
    m_pageSize = quint32(size);
}

void FlashProgrammer::Erase()
{
    m_progress.ShowStep(QStringLiteral("Erasing..."));
    RequestAddress(m_link, 0, "Erase unsuccessful!");
    Request(m_link, {'e'}, "Erase unsuccessful!");
}

void FlashProgrammer::SendWord(const Installer::HexImage &image, quint32 address, const char *message)
{
    Request(m_link, {'C', image.Image[address], image.Image[address + 1]}, message);
}

void FlashProgrammer::Write(const Installer::HexImage &image)
{
    RequestAddress(m_link, 0, "Programming error (1)!");
    m_progress.ShowStep(QStringLiteral("Writing..."));
    quint32 i = 0;
    quint32 pageStart = 0;
    while (i < m_bound) {
        SendWord(image, i, "Programming error (2)!");
        i += 2;
        if (i % m_pageSize == 0) {
            RequestAddress(m_link, pageStart, "Programming error (3)!");
            Request(m_link, {'m'}, "Programming error (4)!");
            RequestAddress(m_link, i, "Programming error (5)!");
            pageStart = i;
        }
        m_progress.SetBarPosition(int(i));
    }
    if (i % m_pageSize != 0) {
        RequestAddress(m_link, pageStart, "Programming error (6)!");
        Request(m_link, {'m'}, "Programming error (7)!");
    }
    WriteLastApplicationPage(image, i);
}

void FlashProgrammer::WriteLastApplicationPage(const Installer::HexImage &image, quint32 written)
{
    const quint32 first = BootLoaderStart - m_pageSize;
    if (written >= first)
        return;
    RequestAddress(m_link, first, "Programming error (8)!");
    for (quint32 j = first; j < BootLoaderStart - 1; j += 2)
        SendWord(image, j, "Programming error (9)!");
    RequestAddress(m_link, first, "Programming error (10)!");
    Request(m_link, {'m'}, "Programming error (11)!");
}

void FlashProgrammer::Verify(const Installer::HexImage &image)
{
    m_progress.ShowStep(QStringLiteral("Verifying..."));
    RequestAddress(m_link, 0, "Verify error (1)");
    for (quint32 i = 0; i < m_bound; i += 2) {
        Request(m_link, {'R'}, "Verify error (2)!");
        // The boot loader sends the odd byte first.
        if (m_link.Reply().Byte(0) != image.Image[i + 1] || m_link.Reply().Byte(1) != image.Image[i])
            throw EBootError(QStringLiteral("Verify error (3)!%1").arg(i));
        m_progress.SetBarPosition(int(i + 2));
    }
}
