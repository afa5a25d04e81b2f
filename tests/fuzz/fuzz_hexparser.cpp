// Arbitrary bytes as a HEX file. The records are read twice, whole and in
// pieces whose size the input's first byte picks: both must end alike, and
// what they leave behind must hold the loader's promises. Then the version
// tag is searched in whatever image they left.

#include "installer/hexerrors.h"
#include "installer/hexloader.h"
#include "installer/versiontag.h"
#include "util/convert_error.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <string>

using namespace Installer;

namespace {

struct Outcome
{
    enum Kind { Read, LoadError, ConvertError } kind = Read;
    std::string message;
    qint64 line = 0;

    bool operator==(const Outcome &) const = default;
};

Outcome load(QByteArrayView bytes, qsizetype chunkSize, HexImage &image)
{
    try {
        HexLoader loader(image);
        while (!bytes.isEmpty()) {
            const qsizetype size = qMin(chunkSize, bytes.size());
            loader.feed(bytes.first(size));
            bytes = bytes.sliced(size);
        }
        loader.finish();
        return {};
    } catch (const EHexLoadError &e) {
        return {Outcome::LoadError, e.what(), e.lineNumber()};
    } catch (const EConvertError &e) {
        return {Outcome::ConvertError, e.what(), 0};
    }
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool sameImage(const HexImage &a, const HexImage &b)
{
    return a.Image == b.Image && a.ImageLast == b.ImageLast && a.ImageSum == b.ImageSum;
}

// The version line is a known product name and the five characters of a
// "V#.##" tag.
void checkVersionSearch(const HexImage &image)
{
    QString version;
    try {
        version = FindVersionText(image.Image);
    } catch (const EHexCheckError &) {
        return;
    }
    require(version.startsWith(u"Karvel-2 V") || version.startsWith(u"HLXL V"));
    const QStringView number = QStringView(version).last(4);
    for (qsizetype i = 0; i < number.size(); ++i)
        require(TagCharMatches(number[i], u"#.##"[i]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Two 64 KiB images per input would cost more than the parsing.
    static const auto whole = std::make_unique<HexImage>();
    static const auto pieces = std::make_unique<HexImage>();

    const QByteArrayView bytes(data, qsizetype(size));
    const qsizetype chunkSize = size == 0 ? 1 : 1 + data[0] % 32;
    const Outcome outcome = load(bytes, bytes.size() + 1, *whole);
    require(load(bytes, chunkSize, *pieces) == outcome);
    require(sameImage(*whole, *pieces));

    if (outcome.kind == Outcome::Read) {
        // Records were all read: the image is within bounds and summed.
        require(whole->ImageLast + 1 <= HexImage::HighestDataAddress + 1);
        const auto end = whole->Image.cbegin() + (whole->ImageLast + 1u);
        require(whole->ImageSum == quint16(std::accumulate(whole->Image.cbegin(), end, 0u)));
        static const HexImage::Bytes zeros{};
        require(std::equal(end, whole->Image.cend(), zeros.cbegin() + (end - whole->Image.cbegin())));
    }
    if (outcome.kind == Outcome::LoadError)
        require(outcome.line >= 1);
    checkVersionSearch(*whole);
    return 0;
}
