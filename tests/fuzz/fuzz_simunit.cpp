// Arbitrary bytes as what the panel sends to the simulated unit, in the
// chunks its line delivers and with a pause before each that the chunk's
// header picks (from none to days): cut into frames, run by the firmware or,
// after the boot-entry frame, taken by the boot loader, as the unit routes
// them.

#include "chunkedinput.h"

#include "sim/bootloader.h"
#include "sim/firmware.h"
#include "sim/framereader.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

using namespace karvsim;
using namespace std::chrono_literals;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

constexpr std::uint8_t kAddress = 0x01;
constexpr auto kFrameGap = 50ms;
// By the header's high four bits: within a frame, about the frame gap, the
// panel's pacing, and idle times that let a motion run for long.
constexpr std::chrono::nanoseconds kPauses[16] = {0ns, 0ns, 0ns, 0ns, 1ms, 10ms, 49ms, 51ms,
                                                  100ms, 1s, 10s, 1min, 1h, 24h, 720h, 8760h};

class Unit
{
public:
    void take(std::uint8_t byte, FrameReader::TimePoint at)
    {
        if (m_bootLoader.active()) {
            toBootLoader(byte);
            return;
        }
        if (const auto frame = m_reader.push(byte, at))
            handle(*frame, at.time_since_epoch());
    }

private:
    void toBootLoader(std::uint8_t byte)
    {
        const auto answer = m_bootLoader.push(byte);
        if (!answer)
            return;
        require(!answer->reply.empty());
        require(std::equal(m_bootArea.begin(), m_bootArea.end(), m_bootLoader.flash().begin() + kBootLoaderStart));
        if (!m_bootLoader.active())
            m_firmware.hardwareReset();
    }

    void handle(const CommandFrame &frame, MotionModel::Time now)
    {
        if (frame[frame::kAddress] != kAddress)
            return;
        if (isBootEntry(frame)) {
            m_bootLoader.enter();
            return;
        }
        if (const auto reply = m_firmware.execute(frame, now))
            require(reply->front() == frame[frame::kCode]);
    }

    FrameReader m_reader{kFrameGap};
    Firmware m_firmware{kAddress, 19200, 1'000'000};
    BootLoader m_bootLoader{{'K', 'V'}, 256};
    // The boot loader's own area, which no request may change.
    const std::vector<std::uint8_t> m_bootArea{m_bootLoader.flash().begin() + kBootLoaderStart,
                                               m_bootLoader.flash().end()};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ChunkedInput input(data, size, 16);
    Unit unit;
    FrameReader::TimePoint now{};
    while (!input.atEnd()) {
        const ChunkedInput::Chunk chunk = input.next();
        now += kPauses[chunk.header >> 4];
        for (const std::uint8_t byte : chunk.bytes)
            unit.take(byte, now);
    }
    return 0;
}
