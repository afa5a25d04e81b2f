#include "installer/versiontag.h"

#include "installer/hexerrors.h"

#include <array>
#include <cstring>

namespace Installer {

bool TagCharMatches(QChar data, QChar pattern)
{
    if (pattern == QLatin1Char('#') && data >= QLatin1Char('0') && data <= QLatin1Char('9'))
        return true;
    return data == pattern;
}

namespace {

// Tags start at addresses 1 .. EndOfStarts - 1.
constexpr qsizetype EndOfStarts = 0x7FF8;

bool tagAt(const HexImage::Bytes &image, qsizetype start, QStringView pattern)
{
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        // Only a pattern longer than the upper half could reach past the image.
        const size_t address = size_t(start + i);
        if (address >= image.size() || !TagCharMatches(QLatin1Char(char(image[address])), pattern[i]))
            return false;
    }
    return true;
}

// The first start at or after from where the image holds the pattern's first
// character. A '#' there matches digits too, so it lets the search skip
// nothing.
qsizetype nextCandidate(const HexImage::Bytes &image, qsizetype from, QChar first)
{
    if (first == QLatin1Char('#'))
        return from;
    if (first.unicode() > 0xFF)
        return EndOfStarts;
    const void *hit = std::memchr(image.data() + from, first.unicode(), size_t(EndOfStarts - from));
    return hit ? static_cast<const quint8 *>(hit) - image.data() : EndOfStarts;
}

} // namespace

bool FindTag(const HexImage::Bytes &image, QStringView pattern, QString &found)
{
    found.clear();
    if (pattern.isEmpty())
        return true;
    const QChar first = pattern.front();
    for (qsizetype start = nextCandidate(image, 1, first); start < EndOfStarts;
         start = nextCandidate(image, start + 1, first)) {
        if (tagAt(image, start, pattern)) {
            found = QString::fromLatin1(reinterpret_cast<const char *>(image.data() + start), pattern.size());
            return true;
        }
    }
    return false;
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
