#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace karvsim {

// How replies are spoilt or delayed on their way to the panel, for tests
// and benchmarks. The default is a clean, immediate reply.
struct LineFaults
{
    bool silent = false;                        // answer nothing at all
    std::chrono::milliseconds replyDelay{0};    // wait this long before answering
    std::size_t chunkSize = 0;                  // > 0: send the bytes in pieces of this size
    std::chrono::milliseconds chunkPause{0};    // ... with this pause between pieces
    std::vector<std::uint8_t> leadingBytes;     // stray bytes put before each reply
    std::vector<std::uint8_t> trailingBytes;    // stray bytes added after it
    std::optional<std::size_t> droppedByte;     // index of a reply byte lost on the way
    bool byteTiming = false;                    // pace output like a real line: 10 bits a byte
    // The n-th parameter read after these faults were set (counted from 1)
    // is carried out but its reply is lost.
    std::optional<std::size_t> unansweredRead;
};

} // namespace karvsim
