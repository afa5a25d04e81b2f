// ledgen <directory>: writes the LED bitmaps, <bitmap name>.bmp, as 4-bit
// paletted BMP files. Run by the build; the files are compiled in as resources.

#include "widgets/ledcolors.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

using namespace LedBitmap;

void putLittleEndian(std::string &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

std::string bitmapFile(const Lamp &lamp)
{
    constexpr std::uint32_t fileHeaderSize = 14;
    constexpr std::uint32_t infoHeaderSize = 40;
    constexpr std::uint32_t paletteSize = kPalette.size() * 4;
    constexpr std::uint32_t pixelOffset = fileHeaderSize + infoHeaderSize + paletteSize;
    // Two pixels a byte; 8 bytes already meet the 4-byte row alignment.
    constexpr std::uint32_t rowSize = kSize / 2;
    static_assert(rowSize % 4 == 0);
    constexpr std::uint32_t pixelsSize = rowSize * kSize;

    std::string out = "BM";
    putLittleEndian(out, pixelOffset + pixelsSize, 4);
    putLittleEndian(out, 0, 4); // reserved
    putLittleEndian(out, pixelOffset, 4);

    putLittleEndian(out, infoHeaderSize, 4);
    putLittleEndian(out, kSize, 4); // width
    putLittleEndian(out, kSize, 4); // height, positive: rows stored bottom-up
    putLittleEndian(out, 1, 2);     // planes
    putLittleEndian(out, 4, 2);     // bits per pixel
    putLittleEndian(out, 0, 4);     // no compression
    putLittleEndian(out, pixelsSize, 4);
    putLittleEndian(out, 0, 4); // horizontal resolution: unspecified
    putLittleEndian(out, 0, 4); // vertical resolution: unspecified
    putLittleEndian(out, kPalette.size(), 4);
    putLittleEndian(out, 0, 4); // all colours important

    for (const auto &[r, g, b] : kPalette)
        putLittleEndian(out, std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b, 4);

    for (int y = kSize - 1; y >= 0; --y) {
        const std::string_view row = kPattern[y];
        for (int x = 0; x < kSize; x += 2)
            out += static_cast<char>(paletteIndex(row[x], lamp) << 4 | paletteIndex(row[x + 1], lamp));
    }
    return out;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::cerr << "usage: ledgen <directory>\n";
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    for (const Lamp &lamp : kLamps) {
        const std::filesystem::path path = directory / (std::string(lamp.bitmap) + ".bmp");
        std::ofstream file(path, std::ios::binary);
        file << bitmapFile(lamp);
        file.close();
        if (!file) {
            std::cerr << "ledgen: cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
