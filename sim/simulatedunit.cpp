#include "sim/simulatedunit.h"

#include <poll.h>
#include <sys/prctl.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>

#include <array>
#include <cerrno>
#include <system_error>

namespace karvsim {

namespace {

constexpr std::size_t kRecordedBytes = 65536;
constexpr std::size_t kRecordedFrames = 4096;
constexpr std::size_t kRecordedReplies = 4096;

UniqueFd makeFd(int fd, const char *what)
{
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), what);
    return UniqueFd(fd);
}

void signalEventFd(int eventFd)
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(eventFd, &one, sizeof one);
}

void drain(int fd)
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(fd, &count, sizeof count);
}

template <typename T>
void record(std::deque<T> &log, const T &item, std::size_t limit)
{
    if (log.size() == limit)
        log.pop_front();
    log.push_back(item);
}

bool hungUp(int fd)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR));
}

} // namespace

SimulatedUnit::SimulatedUnit(const Options &options)
    : options_(options)
    , pty_(options.baudRate)
    , stop_(makeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK), "eventfd"))
    , timer_(makeFd(::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK), "timerfd_create"))
    , activity_(makeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK), "eventfd"))
    , inject_(makeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK), "eventfd"))
    , clock_(options.manualClock)
    , reader_(options.frameGap)
    , firmware_(options.address, options.baudRate, options.travel)
    , bootLoader_(options.deviceType, options.pageSize)
{
    // The firmware keeps its stored parameters in the EEPROM that the boot
    // loader can clear.
    bootLoader_.writeEeprom(firmware_.parameters().storedImage());
    if (options.inBootLoader)
        bootLoader_.enter();
    firmware_.setSupplyDrift(options.supplyDrift);
    thread_ = std::thread(&SimulatedUnit::serve, this);
}

SimulatedUnit::SimulatedUnit()
    : SimulatedUnit(Options{})
{
}

SimulatedUnit::~SimulatedUnit()
{
    signalEventFd(stop_.get());
    thread_.join();
}

void SimulatedUnit::setFaults(const LineFaults &faults)
{
    std::lock_guard lock(mutex_);
    faults_ = faults;
    readsSinceFaults_ = 0;
}

LineFaults SimulatedUnit::faults() const
{
    std::lock_guard lock(mutex_);
    return faults_;
}

void SimulatedUnit::advanceClock(std::chrono::nanoseconds step)
{
    clock_.advance(step);
}

void SimulatedUnit::sendToHost(std::vector<std::uint8_t> bytes)
{
    {
        std::lock_guard lock(mutex_);
        injected_.insert(injected_.end(), bytes.begin(), bytes.end());
    }
    signalEventFd(inject_.get());
}

void SimulatedUnit::raiseAlarm(Alarm alarm)
{
    std::lock_guard lock(mutex_);
    firmware_.raiseAlarm(alarm);
}

void SimulatedUnit::setSupply(const Supply &supply)
{
    std::lock_guard lock(mutex_);
    firmware_.setSupply(supply);
}

ParameterBytes SimulatedUnit::parameter(std::uint8_t code, Bank bank) const
{
    std::lock_guard lock(mutex_);
    return firmware_.parameter(code, bank);
}

void SimulatedUnit::setParameter(std::uint8_t code, Bank bank, const ParameterBytes &bytes)
{
    std::lock_guard lock(mutex_);
    firmware_.setParameter(code, bank, bytes);
    bootLoader_.writeEeprom(firmware_.parameters().storedImage());
}

std::vector<std::uint8_t> SimulatedUnit::parameterCodes() const
{
    std::lock_guard lock(mutex_);
    return firmware_.parameters().codes();
}

void SimulatedUnit::setBootFaults(const BootFaults &faults)
{
    std::lock_guard lock(mutex_);
    bootLoader_.setFaults(faults);
}

BootFaults SimulatedUnit::bootFaults() const
{
    std::lock_guard lock(mutex_);
    return bootLoader_.faults();
}

bool SimulatedUnit::inBootLoader() const
{
    std::lock_guard lock(mutex_);
    return bootLoader_.active() || (bootEntryAt_ && clock_.now() >= *bootEntryAt_);
}

std::vector<std::uint8_t> SimulatedUnit::flash() const
{
    std::lock_guard lock(mutex_);
    return bootLoader_.flash();
}

std::vector<std::uint8_t> SimulatedUnit::eeprom() const
{
    std::lock_guard lock(mutex_);
    return bootLoader_.eeprom();
}

std::vector<BootLoaderRequest> SimulatedUnit::bootRequests() const
{
    std::lock_guard lock(mutex_);
    return {bootLoader_.requests().begin(), bootLoader_.requests().end()};
}

std::size_t SimulatedUnit::bootRequestsReceived() const
{
    std::lock_guard lock(mutex_);
    return bootRequestsTotal_;
}

std::size_t SimulatedUnit::bootBytesReceived() const
{
    std::lock_guard lock(mutex_);
    return bootBytesIn_;
}

std::size_t SimulatedUnit::bootBytesSent() const
{
    std::lock_guard lock(mutex_);
    return bootBytesOut_;
}

std::vector<ReceivedByte> SimulatedUnit::receivedBytes() const
{
    std::lock_guard lock(mutex_);
    return {bytes_.begin(), bytes_.end()};
}

std::vector<CommandFrame> SimulatedUnit::receivedFrames() const
{
    std::lock_guard lock(mutex_);
    return {frames_.begin(), frames_.end()};
}

std::vector<std::chrono::steady_clock::time_point> SimulatedUnit::replyTimes() const
{
    std::lock_guard lock(mutex_);
    return {replyTimes_.begin(), replyTimes_.end()};
}

std::size_t SimulatedUnit::bytesReceived() const
{
    std::lock_guard lock(mutex_);
    return bytesTotal_;
}

std::size_t SimulatedUnit::framesReceived() const
{
    std::lock_guard lock(mutex_);
    return framesTotal_;
}

std::size_t SimulatedUnit::repliesSent() const
{
    std::lock_guard lock(mutex_);
    return repliesTotal_;
}

bool SimulatedUnit::waitForBytes(std::size_t count, std::chrono::milliseconds timeout) const
{
    return waitFor(bytesTotal_, count, timeout);
}

bool SimulatedUnit::waitForFrames(std::size_t count, std::chrono::milliseconds timeout) const
{
    return waitFor(framesTotal_, count, timeout);
}

bool SimulatedUnit::waitForReplies(std::size_t count, std::chrono::milliseconds timeout) const
{
    return waitFor(repliesTotal_, count, timeout);
}

bool SimulatedUnit::waitForBootRequests(std::size_t count, std::chrono::milliseconds timeout) const
{
    return waitFor(bootRequestsTotal_, count, timeout);
}

bool SimulatedUnit::waitFor(const std::size_t &total, std::size_t count,
                            std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return total >= count; });
}

// Sleeps in poll() until the panel writes, output falls due, the line can
// take blocked output again, or the destructor asks to stop.
void SimulatedUnit::serve()
{
    // Paced output falls due on the nanosecond: the default 50 us of timer
    // slack would make every byte late.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    for (;;) {
        armTimer();
        const short output = outputBlocked_ ? POLLOUT : 0;
        std::array<pollfd, 4> fds{{{stop_.get(), POLLIN, 0},
                                   {pty_.masterFd(), static_cast<short>(POLLIN | output), 0},
                                   {timer_.get(), POLLIN, 0},
                                   {inject_.get(), POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[0].revents)
            return;
        if (fds[1].revents & POLLIN)
            receive();
        // Only a hang-up of the slave from outside gets here, as the slave is held open.
        const bool hangUp = fds[1].revents & (POLLHUP | POLLERR);
        if (hangUp && (!pty_.reholdSlave() || hungUp(pty_.masterFd())))
            return;
        if (fds[2].revents & POLLIN)
            drain(timer_.get());
        if (fds[1].revents & POLLOUT)
            outputBlocked_ = false;
        if (fds[3].revents & POLLIN)
            sendInjected();
        sendDue();
    }
}

void SimulatedUnit::receive()
{
    std::array<std::uint8_t, 256> buffer;
    const ssize_t count = pty_.read(buffer);
    if (count <= 0)
        return;
    const auto now = std::chrono::steady_clock::now();
    const int lineSpeed = pty_.lineSpeed();
    {
        std::lock_guard lock(mutex_);
        const int pace = faults_.byteTiming ? lineSpeed : 0;
        for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
            record(bytes_, {buffer[i], now}, kRecordedBytes);
            ++bytesTotal_;
            const auto arrived = incoming_.next(now, pace);
            if (!awake())
                continue;
            if (bootLoader_.active())
                toBootLoader(buffer[i], lineSpeed, arrived);
            else
                toFirmware(buffer[i], lineSpeed, now, arrived);
        }
    }
    changed_.notify_all();
}

bool SimulatedUnit::awake()
{
    if (!bootEntryAt_)
        return true;
    if (clock_.now() < *bootEntryAt_)
        return false;
    bootEntryAt_.reset();
    bootLoader_.enter();
    return true;
}

void SimulatedUnit::sendInjected()
{
    drain(inject_.get());
    std::vector<std::uint8_t> bytes;
    {
        std::lock_guard lock(mutex_);
        bytes.swap(injected_);
    }
    writer_.enqueue(bytes, LineFaults{}, pty_.lineSpeed(), std::chrono::steady_clock::now());
}

// Runs with mutex_ held.
void SimulatedUnit::toFirmware(std::uint8_t byte, int lineSpeed, ReplyWriter::TimePoint read,
                               ReplyWriter::TimePoint arrived)
{
    if (lineSpeed != options_.baudRate) {
        reader_.reset(); // at another speed the unit sees only garbage
        return;
    }
    if (const auto frame = reader_.push(byte, read))
        handleFrame(*frame, arrived);
}

// Runs with mutex_ held.
void SimulatedUnit::toBootLoader(std::uint8_t byte, int lineSpeed, ReplyWriter::TimePoint arrived)
{
    if (lineSpeed != kBootBaudRate) {
        bootLoader_.resetParser();
        return;
    }
    ++bootBytesIn_;
    const auto answer = bootLoader_.push(byte);
    if (!answer)
        return;
    ++bootRequestsTotal_;
    signalActivity();
    // Of the line faults only the byte timing applies: the boot loader has faults of its own.
    LineFaults line;
    line.byteTiming = faults_.byteTiming;
    line.replyDelay = answer->delay;
    if (writer_.enqueue(answer->reply, line, kBootBaudRate, arrived))
        bootBytesOut_ += answer->reply.size();
    if (!bootLoader_.active()) {
        // The application starts afresh from what the EEPROM holds now.
        firmware_.loadStored(bootLoader_.eeprom());
        firmware_.hardwareReset();
    }
}

// Runs with mutex_ held.
void SimulatedUnit::handleFrame(const CommandFrame &frame, ReplyWriter::TimePoint arrived)
{
    record(frames_, frame, kRecordedFrames);
    ++framesTotal_;
    signalActivity();
    if (frame[frame::kAddress] != firmware_.address())
        return;
    if (isBootEntry(frame)) {
        bootEntryAt_ = clock_.now() + options_.bootEntryDelay;
        awake(); // at once when there is no delay
        return;
    }
    const bool lost = firmware_.isParameterRead(frame) && ++readsSinceFaults_ == faults_.unansweredRead;
    const auto reply = firmware_.execute(frame, clock_.now());
    bootLoader_.writeEeprom(firmware_.parameters().storedImage());
    if (reply && !lost)
        writer_.enqueue(*reply, faults_, options_.baudRate, arrived);
}

void SimulatedUnit::sendDue()
{
    while (!outputBlocked_) {
        // Taken before the write, so that a reply's time never lags its bytes.
        const auto now = std::chrono::steady_clock::now();
        const auto bytes = writer_.due(now);
        if (bytes.empty())
            return;
        const ssize_t written = pty_.write(bytes);
        if (written < 0 && errno == EAGAIN) {
            outputBlocked_ = true;
            return;
        }
        // Output that cannot be written for any other reason is lost, as on a dead line.
        const auto taken = written < 0 ? bytes.size() : static_cast<std::size_t>(written);
        outputBlocked_ = taken < bytes.size();
        if (writer_.consume(taken)) {
            {
                std::lock_guard lock(mutex_);
                ++repliesTotal_;
                record(replyTimes_, now, kRecordedReplies);
            }
            signalActivity();
            changed_.notify_all();
        }
    }
}

void SimulatedUnit::armTimer()
{
    itimerspec expiry{};
    const auto due = writer_.nextDue();
    if (due && !outputBlocked_) {
        const auto sinceEpoch = due->time_since_epoch();
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch);
        expiry.it_value.tv_sec = seconds.count();
        expiry.it_value.tv_nsec = (sinceEpoch - seconds).count();
        // A zero time would disarm the timer instead of firing it.
        if (expiry.it_value.tv_sec == 0 && expiry.it_value.tv_nsec == 0)
            expiry.it_value.tv_nsec = 1;
    }
    ::timerfd_settime(timer_.get(), TFD_TIMER_ABSTIME, &expiry, nullptr);
}

void SimulatedUnit::signalActivity()
{
    signalEventFd(activity_.get());
}

} // namespace karvsim
