#include "firmwarefiles.h"

#include "installer/hexwriter.h"

namespace FirmwareFiles {

QByteArray taggedImage(int size)
{
    QByteArray image(size, '\0');
    for (int i = 0; i < size; ++i)
        image[i] = char(i * 7 + 3);
    image.replace(1, 8, "KV2V1.07");
    return image;
}

QByteArray hexFile(const QByteArray &image)
{
    return Installer::HexFileText(image);
}

} // namespace FirmwareFiles
