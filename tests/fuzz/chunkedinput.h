#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

// Cuts a fuzz input into the chunks a reader would get, their sizes taken
// from the input itself: each chunk is a header byte and the 1..maxSize
// bytes it counts (1 + header % maxSize; fewer at the end). The target may
// read more out of the header, such as the pause before the chunk.
class ChunkedInput
{
public:
    struct Chunk
    {
        std::uint8_t header;
        std::span<const std::uint8_t> bytes;
    };

    ChunkedInput(const std::uint8_t *data, std::size_t size, std::size_t maxSize)
        : m_rest(data, size)
        , m_maxSize(maxSize)
    {
    }

    bool atEnd() const { return m_rest.empty(); }

    Chunk next()
    {
        const std::uint8_t header = m_rest.front();
        m_rest = m_rest.subspan(1);
        const std::size_t size = std::min(1 + header % m_maxSize, m_rest.size());
        const Chunk chunk{header, m_rest.first(size)};
        m_rest = m_rest.subspan(size);
        return chunk;
    }

private:
    std::span<const std::uint8_t> m_rest;
    std::size_t m_maxSize;
};
