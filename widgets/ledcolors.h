#pragma once

// The LED lamp colours and the one tile pattern their bitmaps share. Only the
// standard library is used here: the build-time generator in tools/ writes
// the bitmaps from these tables, and widgets/CMakeLists.txt picks the bitmap
// names out of kLamps, so every row keeps its name on one line.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

enum TLedLittleColor {
    lcBlack,
    lcDarkGray,
    lcRed,
    lcDarkRed,
    lcGreen,
    lcDarkGreen,
    lcYellow,
    lcDarkYellow,
    lcBlue,
    lcDarkBlue,
    lcPurple,
    lcDarkPurple,
    lcCyan,
    lcDarkCyan,
};

namespace LedBitmap {

inline constexpr int kSize = 16;

struct Rgb
{
    std::uint8_t r, g, b;
};

// The standard 16-colour palette of 4-bit bitmaps.
inline constexpr std::array<Rgb, 16> kPalette{{
    {0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0},
    {0, 0, 128}, {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
    {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
}};

struct Lamp
{
    TLedLittleColor color;
    std::string_view bitmap;    // resource name, also the generated file's base name
    std::uint8_t paletteIndex;  // of the lamp colour
    std::string_view spokenName;
};

inline constexpr std::array<Lamp, lcDarkCyan + 1> kLamps{{
    {lcBlack, "BLACKLED", 0, "black"},
    {lcDarkGray, "DARKGRAYLED", 8, "dark grey"},
    {lcRed, "REDLED", 9, "red"},
    {lcDarkRed, "DARKREDLED", 1, "dark red"},
    {lcGreen, "GREENLED", 10, "green"},
    {lcDarkGreen, "DARKGREENLED", 2, "dark green"},
    {lcYellow, "YELLOWLED", 11, "yellow"},
    {lcDarkYellow, "DARKYELLOWLED", 3, "dark yellow"},
    {lcBlue, "BLUELED", 12, "blue"},
    {lcDarkBlue, "DARKBLUELED", 4, "dark blue"},
    {lcPurple, "PURPLELED", 13, "purple"},
    {lcDarkPurple, "DARKPURPLELED", 5, "dark purple"},
    {lcCyan, "CYANLED", 14, "cyan"},
    {lcDarkCyan, "DARKCYANLED", 6, "dark cyan"},
}};

static_assert(std::ranges::all_of(kLamps, [](const Lamp &lamp) {
                  return &lamp - kLamps.data() == lamp.color && lamp.paletteIndex < kPalette.size();
              }),
              "kLamps is indexed by TLedLittleColor");

constexpr const Lamp &lamp(TLedLittleColor color)
{
    return kLamps[color];
}

// A raised light-grey tile with a lamp disc and a highlight streak, top row
// first: W white, G dark grey, L light grey, X the lamp colour.
inline constexpr std::array<std::string_view, kSize> kPattern{
    "WWWWWWWWWWWWWWWG",
    "WLLLLLLLLLLLLLLG",
    "WLLLLLLLLLLLLLLG",
    "WLLLLXXXXXXLLLLG",
    "WLLLXXXXXXXXLLLG",
    "WLLXXXXXXXXXXLLG",
    "WLXXXXXWWWXXXXLG",
    "WLXXXXWWWXXXXXLG",
    "WLXXXXWWXXXXXXLG",
    "WLXXXXWXXXXXXXLG",
    "WLXXXXXXXXXXXXLG",
    "WLLXXXXXXXXXXLLG",
    "WLLLXXXXXXXXLLLG",
    "WLLLLXXXXXXLLLLG",
    "WLLLLLLLLLLLLLLG",
    "GGGGGGGGGGGGGGGG",
};

static_assert(std::ranges::all_of(kPattern, [](std::string_view row) {
                  return row.size() == kSize && row.find_first_not_of("WGLX") == std::string_view::npos;
              }),
              "every pattern row is kSize cells of W, G, L or X");

// The palette index of a pattern cell in the bitmap of the given lamp.
constexpr std::uint8_t paletteIndex(char cell, const Lamp &lamp)
{
    switch (cell) {
    case 'W': return 15;
    case 'G': return 8;
    case 'L': return 7;
    default: return lamp.paletteIndex;
    }
}

} // namespace LedBitmap
