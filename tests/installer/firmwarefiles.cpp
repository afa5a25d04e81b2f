#include "firmwarefiles.h"

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
    QByteArray text;
    for (qsizetype at = 0; at < image.size(); at += 16) {
        QByteArray record;
        const QByteArray data = image.mid(at, 16);
        record.append(char(data.size())).append(char(at >> 8)).append(char(at)).append('\0').append(data);
        quint8 sum = 0;
        for (const char byte : record)
            sum += quint8(byte);
        record.append(char(-sum));
        text += ':' + record.toHex().toUpper() + "\r\n";
    }
    return text + ":00000001FF\r\n";
}

} // namespace FirmwareFiles
