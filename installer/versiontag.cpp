#include "installer/versiontag.h"

#include "installer/hexerrors.h"

#include <array>

namespace Installer {

bool TagCharMatches(QChar data, QChar pattern)
{
    if (pattern == QLatin1Char('#') && data >= QLatin1Char('0') && data <= QLatin1Char('9'))
        return true;
    return data == pattern;
}

bool FindTag(const HexImage::Bytes &image, QStringView pattern, QString &found)
{
    constexpr qsizetype EndOfStarts = 0x7FF8;
    found.clear();
    qsizetype start = 1;
    qsizetype matched = 0;
    while (start < EndOfStarts && matched < pattern.size()) {
        const size_t address = size_t(start + matched);
        // Only a pattern longer than the upper half could reach past the image.
        const bool inImage = address < image.size();
        const QChar data = inImage ? QLatin1Char(char(image[address])) : QChar();
        if (inImage && TagCharMatches(data, pattern[matched])) {
            found.append(data);
            ++matched;
        } else {
            found.clear();
            ++start;
            matched = 0;
        }
    }
    return matched == pattern.size();
}

QString FindVersionText(const HexImage::Bytes &image)
{
    struct Tag
    {
        QStringView pattern;
        QStringView product;
    };
    // The own product's tag is searched first and wins when both are there.
    static constexpr std::array<Tag, 2> Tags{{{u"KV2V#.##", u"Karvel-2 "}, {u"K2TV#.##", u"HLXL "}}};

    QString found;
    for (const Tag &tag : Tags) {
        if (FindTag(image, tag.pattern, found))
            return tag.product.toString() + found.sliced(3);
    }
    throw EHexCheckError();
}

} // namespace Installer
