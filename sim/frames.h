#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace karvsim {

// A command on the line: ADR CMD P0..P6, no framing, no checksum.
inline constexpr std::size_t kCommandFrameSize = 9;
// A reply: the command code, one byte used only by the revision reply, six values.
inline constexpr std::size_t kReplyFrameSize = 8;

using CommandFrame = std::array<std::uint8_t, kCommandFrameSize>;
using ReplyFrame = std::array<std::uint8_t, kReplyFrameSize>;

namespace frame {
inline constexpr std::size_t kAddress = 0;
inline constexpr std::size_t kCode = 1;
inline constexpr std::size_t kModifier = 2;
inline constexpr std::size_t kFirstParameter = 3; // P1
}

// Reads `count` bytes starting at `at` as an unsigned little-endian value.
template <std::size_t N>
constexpr std::uint32_t readLittleEndian(const std::array<std::uint8_t, N> &bytes, std::size_t at,
                                         std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | bytes.at(at + i);
    return value;
}

// Writes the low `count` bytes of `value` starting at `at`, least significant first.
template <std::size_t N>
constexpr void writeLittleEndian(std::array<std::uint8_t, N> &bytes, std::size_t at,
                                 std::size_t count, std::uint32_t value)
{
    for (std::size_t i = 0; i < count; ++i, value >>= 8)
        bytes.at(at + i) = static_cast<std::uint8_t>(value & 0xFF);
}

// Two's complement of a 16-bit field.
constexpr std::int32_t signed16(std::uint32_t value)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

} // namespace karvsim
