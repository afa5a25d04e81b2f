#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace Installer {

// The firmware image the installer loads from a HEX file and flashes.
struct HexImage
{
    // Indexed by flash address. Loaded data lies in 0x0000..0x7FFE; the upper
    // half stays free for what flashing adds at the end of the application.
    using Bytes = std::array<quint8, 0x10000>;

    // The highest address a loaded data byte may have.
    static constexpr quint32 HighestDataAddress = 0x7FFE;

    Bytes Image{};
    // While loading: one more than the highest address stored so far.
    // Afterwards: the highest address stored, the image size minus 1 (so
    // 0xFFFFFFFF for an image without data).
    quint32 ImageLast = 0;
    // 16-bit wrapping sum of Image[0] .. Image[ImageLast].
    quint16 ImageSum = 0;
    // The firmware version line, e.g. "Karvel-2 V1.07".
    QString VersionText;
};

} // namespace Installer
