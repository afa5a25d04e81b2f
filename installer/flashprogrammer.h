#pragma once

#include <QtGlobal>

class BootLink;
class BootProgress;
namespace Installer {
struct HexImage;
}

// The Start operation once the unit is in its boot loader: checks that it is
// a Karvel 2, erases the application flash, writes the image page by page,
// writes the last application page with the application marker at its end,
// and reads the image back. Throws EBootError with the operator's message.
class FlashProgrammer
{
public:
    // Where the boot loader's own area begins; nothing is written from here.
    static constexpr quint32 BootLoaderStart = 0xF800;
    // The application marker, in the last two bytes below the boot loader.
    static constexpr quint32 MarkerAddress = 0xF7FE;

    FlashProgrammer(BootLink &link, BootProgress &progress);

    void Run(Installer::HexImage &image);

private:
    void ReadPageSize();
    void Erase();
    void Write(const Installer::HexImage &image);
    void WriteLastApplicationPage(const Installer::HexImage &image, quint32 written);
    void Verify(const Installer::HexImage &image);

    void SendWord(const Installer::HexImage &image, quint32 address, const char *message);

    BootLink &m_link;
    BootProgress &m_progress;
    quint32 m_pageSize = 0;
    // The whole image is written and verified; an odd last byte goes out
    // paired with the 0x00 after it.
    quint32 m_bound = 0;
};
