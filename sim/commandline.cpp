#include "sim/commandline.h"

#include "sim/baudrate.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <vector>

namespace karvsim {

namespace {

[[noreturn]] void reject(std::string_view option, std::string_view value, const char *expected)
{
    throw std::invalid_argument(std::string(option) + ": \"" + std::string(value) + "\" is not "
                                + expected);
}

template <typename T>
T number(std::string_view option, std::string_view text, int base, T max, const char *expected)
{
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max)
        reject(option, text, expected);
    return value;
}

std::vector<std::uint8_t> hexBytes(std::string_view option, std::string_view text)
{
    if (text.empty() || text.size() % 2 != 0)
        reject(option, text, "an even number of hexadecimal digits");
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2)
        bytes.push_back(number<std::uint8_t>(option, text.substr(i, 2), 16, 0xFF,
                                             "an even number of hexadecimal digits"));
    return bytes;
}

void readChunks(std::string_view option, std::string_view text, LineFaults &faults)
{
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        reject(option, text, "SIZE:PAUSE_MS");
    faults.chunkSize = number<std::size_t>(option, text.substr(0, colon), 10, 64, "SIZE:PAUSE_MS");
    faults.chunkPause = std::chrono::milliseconds(
        number<unsigned>(option, text.substr(colon + 1), 10, 60'000, "SIZE:PAUSE_MS"));
    if (faults.chunkSize == 0)
        reject(option, text, "SIZE:PAUSE_MS with a size of at least 1");
}

// A request number, 1 for the first request of a boot-loader session.
std::size_t requestNumber(std::string_view option, std::string_view text)
{
    const auto n = number<std::size_t>(option, text, 10, 1'000'000, "a request number 1..1000000");
    if (n == 0)
        reject(option, text, "a request number 1..1000000");
    return n;
}

void readLateRequest(std::string_view option, std::string_view text, BootFaults &faults)
{
    const auto colon = text.find(':');
    faults.lateRequest = requestNumber(option, text.substr(0, colon));
    if (colon != std::string_view::npos)
        faults.lateBy = std::chrono::milliseconds(
            number<unsigned>(option, text.substr(colon + 1), 10, 60'000, "N or N:DELAY_MS"));
}

} // namespace

CommandLine parseCommandLine(std::span<const std::string_view> arguments)
{
    CommandLine line;
    // A unit of its own drifts like a real one; the tests' units do not.
    line.unit.supplyDrift = true;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view option = arguments[i];
        std::string_view value;
        bool hasValue = false;
        if (const auto equals = option.find('='); equals != std::string_view::npos) {
            value = option.substr(equals + 1);
            option = option.substr(0, equals);
            hasValue = true;
        }
        const auto takeValue = [&] {
            if (!hasValue) {
                if (i + 1 == arguments.size())
                    throw std::invalid_argument(std::string(option) + " needs a value");
                value = arguments[++i];
            }
            return value;
        };
        const auto noValue = [&] {
            if (hasValue)
                throw std::invalid_argument(std::string(option) + " takes no value");
            return true;
        };

        if (option == "--link") {
            line.link = takeValue();
        } else if (option == "--address") {
            line.unit.address = number<std::uint8_t>(option, takeValue(), 16, 0xFF,
                                                     "a hexadecimal address 00..FF");
        } else if (option == "--baud") {
            line.unit.baudRate = number<int>(option, takeValue(), 10, 115200, "a standard baud rate");
            if (!speedConstant(line.unit.baudRate))
                reject(option, value, "a standard baud rate");
        } else if (option == "--silent") {
            line.faults.silent = noValue();
        } else if (option == "--delay") {
            line.faults.replyDelay = std::chrono::milliseconds(
                number<unsigned>(option, takeValue(), 10, 60'000, "a delay in ms up to 60000"));
        } else if (option == "--chunks") {
            readChunks(option, takeValue(), line.faults);
        } else if (option == "--leading") {
            line.faults.leadingBytes = hexBytes(option, takeValue());
        } else if (option == "--trailing") {
            line.faults.trailingBytes = hexBytes(option, takeValue());
        } else if (option == "--drop") {
            line.faults.droppedByte = number<std::size_t>(option, takeValue(), 10, kReplyFrameSize - 1,
                                                          "a reply byte index 0..7");
        } else if (option == "--unanswered-read") {
            line.faults.unansweredRead = requestNumber(option, takeValue());
        } else if (option == "--steady-supply") {
            line.unit.supplyDrift = !noValue();
        } else if (option == "--byte-time") {
            line.faults.byteTiming = noValue();
        } else if (option == "--in-boot-loader") {
            line.unit.inBootLoader = noValue();
        } else if (option == "--boot-entry-delay") {
            line.unit.bootEntryDelay = std::chrono::milliseconds(
                number<unsigned>(option, takeValue(), 10, 60'000, "a delay in ms up to 60000"));
        } else if (option == "--device-type") {
            const auto bytes = hexBytes(option, takeValue());
            if (bytes.size() != line.unit.deviceType.size())
                reject(option, value, "two bytes in hexadecimal (e.g. 4B56)");
            std::copy(bytes.begin(), bytes.end(), line.unit.deviceType.begin());
        } else if (option == "--page-size") {
            line.unit.pageSize = number<std::size_t>(option, takeValue(), 10, kMaxPageSize,
                                                     "an even page size 2..4096");
            if (line.unit.pageSize < kMinPageSize || line.unit.pageSize % 2 != 0)
                reject(option, value, "an even page size 2..4096");
        } else if (option == "--page-size-trailer") {
            const auto bytes = hexBytes(option, takeValue());
            line.bootFaults.pageSizeTrailer.assign(bytes.begin(), bytes.end());
        } else if (option == "--unanswered") {
            line.bootFaults.unansweredRequest = requestNumber(option, takeValue());
        } else if (option == "--late") {
            readLateRequest(option, takeValue(), line.bootFaults);
        } else if (option == "--corrupt-read") {
            line.bootFaults.corruptedByte = number<std::uint16_t>(option, takeValue(), 16, 0xFFFF,
                                                                  "a hexadecimal byte address");
        } else if (option == "--dump") {
            line.dumpDirectory = takeValue();
        } else if (option == "--help") {
            line.help = noValue();
        } else {
            throw std::invalid_argument("unknown option " + std::string(arguments[i]));
        }
    }
    return line;
}

std::string usage()
{
    return "usage: karvel-sim [--link PATH] [--address HH] [--baud RATE] [fault options]\n"
           "                  [boot-loader options] [--dump DIR]\n"
           "Serves a simulated Karvel 2 on a pseudo-terminal until SIGINT or SIGTERM and\n"
           "prints the terminal's device path.\n"
           "  --link PATH        publish the device path as this symbolic link (removed on exit)\n"
           "  --address HH       unit address in hexadecimal (default 01)\n"
           "  --baud RATE        the unit's line speed (default 19200)\n"
           "  --steady-supply    report the supply voltage and temperature without drift\n"
           "fault options:\n"
           "  --silent           answer nothing\n"
           "  --delay MS         answer MS milliseconds late\n"
           "  --chunks SIZE:MS   send replies in pieces of SIZE bytes, MS milliseconds apart\n"
           "  --leading HEX      put these bytes before every reply (e.g. 00FF)\n"
           "  --trailing HEX     add these bytes after every reply\n"
           "  --drop N           lose byte N (0..7) of every reply\n"
           "  --byte-time        pace the line both ways like a real one (also in the boot loader)\n"
           "  --unanswered-read N  carry out parameter read N (counted from 1) but lose its reply\n"
           "boot loader (it runs at 9600 baud; request numbers count from 1, its first\n"
           "request after each boot entry):\n"
           "  --in-boot-loader   start in the boot loader\n"
           "  --boot-entry-delay MS  enter it MS milliseconds after the boot-entry frame,\n"
           "                     losing what arrives meanwhile (default 300)\n"
           "  --device-type HEX  the two bytes it answers to 'a' (default 4B56, \"KV\")\n"
           "  --page-size N      flash page size in bytes, even, 2..4096 (default 256)\n"
           "  --page-size-trailer HEX  send these bytes after the page size's CR\n"
           "  --unanswered N     carry out request N but lose its reply\n"
           "  --late N[:MS]      answer request N only after MS milliseconds (default 5100)\n"
           "  --corrupt-read HHHH  flip the byte at this flash address when it is read back\n"
           "  --dump DIR         on exit write DIR/flash.bin, DIR/eeprom.bin,\n"
           "                     DIR/requests.txt (one request a line: letter, address\n"
           "                     register in hex, argument bytes in hex) and\n"
           "                     DIR/configuration.txt (one parameter a line: code, then\n"
           "                     \"stored\" and its six bytes, \"actual\" and its six bytes;\n"
           "                     the stored ones live in the EEPROM)\n";
}

} // namespace karvsim
