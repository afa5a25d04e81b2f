#pragma once

#include "sim/frames.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace karvsim {

inline constexpr int kBootBaudRate = 9600;
inline constexpr std::size_t kFlashSize = 0x10000;
inline constexpr std::size_t kBootLoaderStart = 0xF800; // its own area, never written
inline constexpr std::size_t kEepromSize = 0x1000;
inline constexpr std::size_t kMinPageSize = 2;
inline constexpr std::size_t kMaxPageSize = 4096;

// The command frame that hands the unit over to its boot loader: command 0xF2,
// a fixed code in P0..P5 and, unlike any other frame, a checksum in P6.
bool isBootEntry(const CommandFrame &frame);

// How the boot loader misbehaves, for tests of the installer. Request numbers
// count the requests since the boot loader was entered, the first being 1.
struct BootFaults
{
    std::optional<std::size_t> unansweredRequest; // carried out, but its reply is lost
    std::optional<std::size_t> lateRequest;       // answered only after `lateBy`
    std::chrono::milliseconds lateBy{5100};
    std::optional<std::uint16_t> corruptedByte; // flash byte address that reads back flipped
    std::string pageSizeTrailer;                // characters sent after the page size's CR
    bool eraseSkipped = false;                  // 'e' is answered but erases nothing
};

// One request as the boot loader took it.
struct BootLoaderRequest
{
    char letter;
    std::size_t argumentCount;             // 'A' and 'C' take 2, 'D' 1, the others none
    std::array<std::uint8_t, 2> arguments; // argumentCount of them, the rest 0
    std::uint16_t address;                 // the address register when it arrived
};

// What a finished request puts on the line: `reply` after `delay`; an empty
// reply sends nothing.
struct BootAnswer
{
    std::vector<std::uint8_t> reply;
    std::chrono::milliseconds delay{0};
};

// The unit's boot loader, without any I/O: it is fed the request bytes that
// arrive at its speed and returns the reply of each finished request.
//
// One address register serves both memories: 'A' sets it, flash requests read
// it as a word address, the EEPROM write 'D' as a byte address. 'C' fills a
// page buffer at the register's place within a page; 'm' writes the words
// stored since the last 'm' into the page that holds the address last set by
// 'A', and empties the buffer. Like real flash, writing can only clear bits
// (the flash holds old AND new), so a page must be erased before it takes
// any data. Bytes that start no known request are dropped
// without an answer, so that a boot-entry frame sent to a unit already in its
// boot loader raises no stray replies.
class BootLoader
{
public:
    // `pageSize` in bytes: even, kMinPageSize..kMaxPageSize.
    BootLoader(std::array<std::uint8_t, 2> deviceType, std::size_t pageSize);

    // Starts a session: the application hands over to the boot loader.
    void enter();
    // True from enter() until the request 'x' hands back to the application.
    bool active() const { return active_; }

    void setFaults(const BootFaults &faults) { faults_ = faults; }
    const BootFaults &faults() const { return faults_; }

    // Takes one byte; returns the answer when it finished a request.
    std::optional<BootAnswer> push(std::uint8_t byte);
    // Drops a partial request (its bytes were garbage on the line).
    void resetParser() { pending_.clear(); }

    const std::vector<std::uint8_t> &flash() const { return flash_; }
    const std::vector<std::uint8_t> &eeprom() const { return eeprom_; }
    // Overwrites the EEPROM from address 0 with bytes (at most its size).
    void writeEeprom(std::span<const std::uint8_t> bytes);
    // The latest requests, across sessions (enough for a whole flash and verify).
    const std::deque<BootLoaderRequest> &requests() const { return log_; }

    static constexpr std::size_t kLoggedRequests = 65536;

private:
    std::vector<std::uint8_t> execute(const BootLoaderRequest &request);
    std::vector<std::uint8_t> pageSizeLine() const;
    std::vector<std::uint8_t> readWord();
    void storeWord(std::uint8_t low, std::uint8_t high);
    void writePage();
    void eraseApplication();

    const std::array<std::uint8_t, 2> deviceType_;
    const std::size_t pageSize_;
    BootFaults faults_;
    bool active_ = false;
    std::size_t sessionRequests_ = 0;

    std::vector<std::uint8_t> pending_;
    std::uint16_t address_ = 0;
    std::uint16_t pageAddress_ = 0; // the address last set by 'A'
    std::vector<std::optional<std::uint16_t>> pageBuffer_;

    std::vector<std::uint8_t> flash_;
    std::vector<std::uint8_t> eeprom_;
    std::deque<BootLoaderRequest> log_;
};

} // namespace karvsim
