#pragma once

#include "sim/bootloader.h"
#include "sim/firmware.h"
#include "sim/framereader.h"
#include "sim/linefaults.h"
#include "sim/lineschedule.h"
#include "sim/pseudoterminal.h"
#include "sim/replywriter.h"
#include "sim/uniquefd.h"
#include "sim/unitclock.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace karvsim {

struct ReceivedByte
{
    std::uint8_t value;
    std::chrono::steady_clock::time_point at;
};

// A Karvel 2 on a pseudo-terminal: the panel opens devicePath() as its serial
// port. The unit serves the line on its own thread from construction until
// destruction. Every public member may be called from any thread.
//
// The boot-entry frame hands the unit over to its boot loader, which takes
// requests at 9600 baud only, until its request 'x' hands back. Like a unit
// that restarts, it comes up in the boot loader only bootEntryDelay of unit
// time after the frame; whatever arrives meanwhile is lost. With byte
// timing the line is modelled both ways: a request is complete at the unit
// only after its bytes' time on the line, and the reply takes its own.
class SimulatedUnit
{
public:
    struct Options
    {
        std::uint8_t address = 0x01;
        int baudRate = 19200;     // frames sent at another speed are garbage to the unit
        bool manualClock = false; // unit time moves only by advanceClock()
        std::int32_t travel = 1'000'000;        // steps from the reference to each end switch
        std::chrono::milliseconds frameGap{50}; // a silence this long drops a partial frame
        bool inBootLoader = false;                        // start in the boot loader
        std::array<std::uint8_t, 2> deviceType{'K', 'V'}; // the boot loader's answer to 'a'
        std::size_t pageSize = 256; // flash page size in bytes: even, kMinPageSize..kMaxPageSize
        std::chrono::milliseconds bootEntryDelay{300}; // from the boot-entry frame to the boot loader
        bool supplyDrift = false;   // the supply wanders a little around the values set
    };

    // Throws std::system_error when the pseudo-terminal cannot be set up,
    // std::invalid_argument for a page size out of range.
    explicit SimulatedUnit(const Options &options);
    SimulatedUnit();
    ~SimulatedUnit();
    SimulatedUnit(const SimulatedUnit &) = delete;
    SimulatedUnit &operator=(const SimulatedUnit &) = delete;

    const std::string &devicePath() const { return pty_.slavePath(); }

    void setFaults(const LineFaults &faults);
    LineFaults faults() const;

    void advanceClock(std::chrono::nanoseconds step);
    // Puts bytes on the line towards the panel at once, as line noise or a
    // late reply would, at the line's present speed.
    void sendToHost(std::vector<std::uint8_t> bytes);
    void raiseAlarm(Alarm alarm);
    void setSupply(const Supply &supply);
    ParameterBytes parameter(std::uint8_t code, Bank bank) const;
    // Sets a parameter as the unit would hold it; a stored value goes into
    // the EEPROM at once.
    void setParameter(std::uint8_t code, Bank bank, const ParameterBytes &bytes);
    // The codes of every parameter the unit keeps, ascending.
    std::vector<std::uint8_t> parameterCodes() const;

    // What arrived on the line: every byte (the latest 65536) and every frame
    // at the unit's speed, whatever its address (the latest 4096).
    std::vector<ReceivedByte> receivedBytes() const;
    std::vector<CommandFrame> receivedFrames() const;
    // When each reply's last byte went onto the line (the latest 4096).
    std::vector<std::chrono::steady_clock::time_point> replyTimes() const;

    // Running totals since construction.
    std::size_t bytesReceived() const;
    std::size_t framesReceived() const;
    std::size_t repliesSent() const;

    // Block until a total reaches `count`; false on time-out.
    bool waitForBytes(std::size_t count, std::chrono::milliseconds timeout) const;
    bool waitForFrames(std::size_t count, std::chrono::milliseconds timeout) const;
    bool waitForReplies(std::size_t count, std::chrono::milliseconds timeout) const;

    void setBootFaults(const BootFaults &faults);
    BootFaults bootFaults() const;

    // True once the boot loader runs (bootEntryDelay after the frame).
    bool inBootLoader() const;
    // The boot loader's memories: kFlashSize and kEepromSize bytes. The flash
    // starts erased (0xFF) below kBootLoaderStart, the EEPROM all 0xFF.
    std::vector<std::uint8_t> flash() const;
    std::vector<std::uint8_t> eeprom() const;
    // The boot loader's latest requests (BootLoader::kLoggedRequests of them).
    std::vector<BootLoaderRequest> bootRequests() const;

    // Running totals of the boot loader since construction: requests taken,
    // bytes it took at its speed, and reply bytes it put out (counted as queued).
    std::size_t bootRequestsReceived() const;
    std::size_t bootBytesReceived() const;
    std::size_t bootBytesSent() const;
    bool waitForBootRequests(std::size_t count, std::chrono::milliseconds timeout) const;

    // Readable after each received frame, each boot-loader request and each
    // reply sent (an eventfd: read 8 bytes to rearm), for callers that wait in
    // an event loop.
    int activityFd() const { return activity_.get(); }

private:
    void serve();
    void receive();
    // Runs with mutex_ held: false while the unit restarts after a boot
    // entry; starts the boot loader once that is over.
    bool awake();
    void sendInjected();
    void toFirmware(std::uint8_t byte, int lineSpeed, ReplyWriter::TimePoint read,
                    ReplyWriter::TimePoint arrived);
    void toBootLoader(std::uint8_t byte, int lineSpeed, ReplyWriter::TimePoint arrived);
    void handleFrame(const CommandFrame &frame, ReplyWriter::TimePoint arrived);
    void sendDue();
    void armTimer();
    void signalActivity();
    bool waitFor(const std::size_t &total, std::size_t count, std::chrono::milliseconds timeout) const;

    const Options options_;
    PseudoTerminal pty_;
    UniqueFd stop_;
    UniqueFd timer_;
    UniqueFd activity_;
    UniqueFd inject_;
    UnitClock clock_;

    // Touched by the serving thread only.
    FrameReader reader_;
    ReplyWriter writer_;
    LineSchedule incoming_; // when each received byte would have been complete on a real line
    bool outputBlocked_ = false;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    Firmware firmware_;
    BootLoader bootLoader_;
    LineFaults faults_;
    std::optional<std::chrono::nanoseconds> bootEntryAt_; // unit time the boot loader starts
    std::vector<std::uint8_t> injected_;                  // bytes for sendToHost, not yet queued
    std::deque<ReceivedByte> bytes_;
    std::deque<CommandFrame> frames_;
    std::deque<std::chrono::steady_clock::time_point> replyTimes_;
    std::size_t bytesTotal_ = 0;
    std::size_t framesTotal_ = 0;
    std::size_t repliesTotal_ = 0;
    std::size_t bootRequestsTotal_ = 0;
    std::size_t bootBytesIn_ = 0;
    std::size_t bootBytesOut_ = 0;
    std::size_t readsSinceFaults_ = 0;

    std::thread thread_;
};

} // namespace karvsim
