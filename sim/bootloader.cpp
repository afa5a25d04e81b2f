#include "sim/bootloader.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>
#include <string_view>

namespace karvsim {

namespace {

constexpr std::uint8_t kBootEntryCommand = 0xF2;
constexpr std::array<std::uint8_t, 6> kBootEntryCode{0x3B, 0x6E, 0x19, 0xC4, 0x57, 0xA2};
constexpr std::size_t kChecksum = kCommandFrameSize - 1;

constexpr std::string_view kIdentification = "HLXMBOOT 1.0 Karvel 2\r";
constexpr std::uint8_t kEndOfLine = '\r';

// Fills the boot loader's own area so that a test sees it was left alone.
constexpr std::string_view kBootAreaPattern = "HLXMBOOT";

// How many argument bytes follow each request letter; nothing for a byte that starts no request.
std::optional<std::size_t> argumentCount(std::uint8_t letter)
{
    switch (letter) {
    case 'A':
    case 'C':
        return 2;
    case 'D':
        return 1;
    case 'S':
    case 'a':
    case 'p':
    case 'e':
    case 'm':
    case 'R':
    case 'x':
        return 0;
    default:
        return std::nullopt;
    }
}

std::vector<std::uint8_t> bytesOf(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::size_t flashIndex(std::uint32_t wordAddress)
{
    return (wordAddress * 2) % kFlashSize;
}

std::size_t checkedPageSize(std::size_t pageSize)
{
    if (pageSize < kMinPageSize || pageSize > kMaxPageSize || pageSize % 2 != 0)
        throw std::invalid_argument("the page size must be even, 2..4096 bytes");
    return pageSize;
}

} // namespace

bool isBootEntry(const CommandFrame &frame)
{
    const auto code = frame.begin() + frame::kModifier;
    const auto sum = std::accumulate(frame.begin(), frame.begin() + kChecksum, 0u);
    return frame[frame::kCode] == kBootEntryCommand
        && std::equal(kBootEntryCode.begin(), kBootEntryCode.end(), code)
        && frame[kChecksum] == (sum & 0xFF);
}

BootLoader::BootLoader(std::array<std::uint8_t, 2> deviceType, std::size_t pageSize)
    : deviceType_(deviceType)
    , pageSize_(checkedPageSize(pageSize))
    , pageBuffer_(pageSize_ / 2)
    , flash_(kFlashSize, 0xFF)
    , eeprom_(kEepromSize, 0xFF)
{
    for (std::size_t i = kBootLoaderStart; i < kFlashSize; ++i)
        flash_[i] = static_cast<std::uint8_t>(kBootAreaPattern[i % kBootAreaPattern.size()]);
}

void BootLoader::writeEeprom(std::span<const std::uint8_t> bytes)
{
    std::copy_n(bytes.begin(), std::min(bytes.size(), eeprom_.size()), eeprom_.begin());
}

void BootLoader::enter()
{
    active_ = true;
    sessionRequests_ = 0;
    pending_.clear();
    address_ = 0;
    pageAddress_ = 0;
    std::ranges::fill(pageBuffer_, std::nullopt);
}

std::optional<BootAnswer> BootLoader::push(std::uint8_t byte)
{
    const auto arguments = argumentCount(pending_.empty() ? byte : pending_.front());
    if (!arguments)
        return std::nullopt;
    pending_.push_back(byte);
    if (pending_.size() <= *arguments)
        return std::nullopt;

    BootLoaderRequest request{static_cast<char>(pending_.front()), *arguments, {}, address_};
    std::copy(pending_.begin() + 1, pending_.end(), request.arguments.begin());
    pending_.clear();
    if (log_.size() == kLoggedRequests)
        log_.pop_front();
    log_.push_back(request);

    ++sessionRequests_;
    BootAnswer answer{execute(request)};
    if (faults_.unansweredRequest == sessionRequests_)
        answer.reply.clear();
    if (faults_.lateRequest == sessionRequests_)
        answer.delay = faults_.lateBy;
    return answer;
}

std::vector<std::uint8_t> BootLoader::execute(const BootLoaderRequest &request)
{
    const std::vector<std::uint8_t> done{kEndOfLine};
    switch (request.letter) {
    case 'S':
        return bytesOf(kIdentification);
    case 'a':
        return {deviceType_.begin(), deviceType_.end()};
    case 'p':
        return pageSizeLine();
    case 'A':
        address_ = static_cast<std::uint16_t>(request.arguments[0] << 8 | request.arguments[1]);
        pageAddress_ = address_;
        return done;
    case 'e':
        if (!faults_.eraseSkipped)
            eraseApplication();
        return done;
    case 'C':
        storeWord(request.arguments[0], request.arguments[1]);
        return done;
    case 'm':
        writePage();
        return done;
    case 'R':
        return readWord();
    case 'D':
        eeprom_[address_ % kEepromSize] = request.arguments[0];
        ++address_;
        return done;
    default: // 'x'
        active_ = false;
        return done;
    }
}

std::vector<std::uint8_t> BootLoader::pageSizeLine() const
{
    std::vector<std::uint8_t> line = bytesOf(std::to_string(pageSize_));
    line.push_back(kEndOfLine);
    line.insert(line.end(), faults_.pageSizeTrailer.begin(), faults_.pageSizeTrailer.end());
    return line;
}

// High byte (the odd address) first.
std::vector<std::uint8_t> BootLoader::readWord()
{
    const std::size_t low = flashIndex(address_);
    std::vector<std::uint8_t> word{flash_[low + 1], flash_[low]};
    if (faults_.corruptedByte == low + 1)
        word[0] ^= 0xFF;
    if (faults_.corruptedByte == low)
        word[1] ^= 0xFF;
    ++address_;
    return word;
}

void BootLoader::storeWord(std::uint8_t low, std::uint8_t high)
{
    pageBuffer_[address_ % pageBuffer_.size()] = static_cast<std::uint16_t>(high << 8 | low);
    ++address_;
}

void BootLoader::writePage()
{
    const std::size_t words = pageBuffer_.size();
    const std::size_t first = pageAddress_ / words * words;
    for (std::size_t i = 0; i < words; ++i) {
        const std::size_t at = (first + i) * 2;
        if (pageBuffer_[i] && at < kBootLoaderStart) {
            flash_[at] &= static_cast<std::uint8_t>(*pageBuffer_[i] & 0xFF);
            flash_[at + 1] &= static_cast<std::uint8_t>(*pageBuffer_[i] >> 8);
        }
        pageBuffer_[i].reset();
    }
}

void BootLoader::eraseApplication()
{
    std::fill(flash_.begin(), flash_.begin() + kBootLoaderStart, std::uint8_t{0xFF});
}

} // namespace karvsim
