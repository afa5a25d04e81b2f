#include "sim/bootdump.h"

#include "sim/simulatedunit.h"

#include <cstdio>
#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

namespace karvsim {

namespace {

std::ofstream create(const std::filesystem::path &path)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        throw std::filesystem::filesystem_error("cannot create", path,
                                                std::make_error_code(std::errc::io_error));
    return file;
}

void finish(std::ofstream &file, const std::filesystem::path &path)
{
    file.close();
    if (!file)
        throw std::filesystem::filesystem_error("cannot write", path,
                                                std::make_error_code(std::errc::io_error));
}

void writeBytes(const std::filesystem::path &path, const std::vector<std::uint8_t> &bytes)
{
    std::ofstream file = create(path);
    file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    finish(file, path);
}

} // namespace

std::string requestLine(const BootLoaderRequest &request)
{
    char text[16];
    std::snprintf(text, sizeof text, "%c %04X", request.letter, request.address);
    std::string line = text;
    for (std::size_t i = 0; i < request.argumentCount; ++i) {
        std::snprintf(text, sizeof text, " %02X", request.arguments[i]);
        line += text;
    }
    return line;
}

std::string parameterLine(const SimulatedUnit &unit, std::uint8_t code)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X", code);
    std::string line = text;
    for (const auto &[name, bank] : {std::pair{" stored", Bank::Stored}, std::pair{" actual", Bank::Actual}}) {
        line += name;
        for (const std::uint8_t byte : unit.parameter(code, bank)) {
            std::snprintf(text, sizeof text, " %02X", byte);
            line += text;
        }
    }
    return line;
}

void dumpUnit(const SimulatedUnit &unit, const std::filesystem::path &directory)
{
    std::filesystem::create_directories(directory);
    writeBytes(directory / "flash.bin", unit.flash());
    writeBytes(directory / "eeprom.bin", unit.eeprom());
    const auto path = directory / "requests.txt";
    std::ofstream file = create(path);
    for (const BootLoaderRequest &request : unit.bootRequests())
        file << requestLine(request) << '\n';
    finish(file, path);
    const auto configurationPath = directory / "configuration.txt";
    std::ofstream configuration = create(configurationPath);
    for (const std::uint8_t code : unit.parameterCodes())
        configuration << parameterLine(unit, code) << '\n';
    finish(configuration, configurationPath);
}

} // namespace karvsim
