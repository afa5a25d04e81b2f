#include "serial/serialdevice.h"

#include "serial/termios2speed.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// B0 for the rates without a constant of their own.
speed_t StandardSpeed(TBaudRate Rate)
{
    switch (Rate) {
    case cbr110: return B110;
    case cbr300: return B300;
    case cbr600: return B600;
    case cbr1200: return B1200;
    case cbr2400: return B2400;
    case cbr4800: return B4800;
    case cbr9600: return B9600;
    case cbr19200: return B19200;
    case cbr38400: return B38400;
    case cbr57600: return B57600;
    case cbr115200: return B115200;
    case cbr14400:
    case cbr56000:
    case cbr128000:
    case cbr256000:
        break;
    }
    return B0;
}

// Every byte passes unchanged: no echo, no line editing, no signals, no
// CR/LF translation, and no XON/XOFF, which a tty has on by default as a
// terminal setting and which would swallow bytes 0x11 and 0x13 of binary
// frames. Hardware flow control (CRTSCTS) stays as the port was set up:
// that is what fcDefault keeps.
void MakeRaw(termios &Settings)
{
    Settings.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IMAXBEL
                          | IXON | IXOFF | IXANY);
    Settings.c_oflag &= ~OPOST;
    Settings.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    // CLOCAL: the modem lines neither block nor hang up the port.
    Settings.c_cflag |= CLOCAL | CREAD;
    // VMIN 1 makes an empty non-blocking read fail with EAGAIN; with VMIN 0
    // it would return 0 and look like a hang-up.
    Settings.c_cc[VMIN] = 1;
    Settings.c_cc[VTIME] = 0;
}

void ApplyStandardSpeed(termios &Settings, TBaudRate Rate)
{
    const speed_t speed = StandardSpeed(Rate);
    if (speed != B0) {
        cfsetispeed(&Settings, speed);
        cfsetospeed(&Settings, speed);
    }
}

void ApplyParity(termios &Settings, TParity Parity)
{
    Settings.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (Parity) {
    case paNone: break;
    case paOdd: Settings.c_cflag |= PARENB | PARODD; break;
    case paEven: Settings.c_cflag |= PARENB; break;
    case paMark: Settings.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case paSpace: Settings.c_cflag |= PARENB | CMSPAR; break;
    }
}

void ApplyStopbits(termios &Settings, TStopbits Stopbits)
{
    if (Stopbits == sb10)
        Settings.c_cflag &= ~CSTOPB;
    else
        Settings.c_cflag |= CSTOPB;
}

void ApplyDatabits(termios &Settings, TDatabits Databits)
{
    static constexpr tcflag_t kSizes[] = {0, CS5, CS6, CS7, CS8};
    if (Databits <= da4 || Databits > da8)
        return;
    Settings.c_cflag = (Settings.c_cflag & ~CSIZE) | kSizes[Databits];
}

void ApplyParityCheck(termios &Settings, bool On)
{
    if (On)
        Settings.c_iflag |= INPCK;
    else
        Settings.c_iflag &= ~INPCK;
}

void ApplyFlowControl(termios &Settings, TFlowControl Flow, char XonChar, char XoffChar)
{
    if (Flow == fcDefault)
        return;
    Settings.c_cflag &= ~CRTSCTS;
    Settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (Flow == fcCTS) {
        Settings.c_cflag |= CRTSCTS;
    } else if (Flow == fcSoftware) {
        Settings.c_iflag |= IXON | IXOFF;
        Settings.c_cc[VSTART] = cc_t(XonChar);
        Settings.c_cc[VSTOP] = cc_t(XoffChar);
    }
}

} // namespace

SerialDevice::SerialDevice(PortCalls &Calls)
    : FCalls(&Calls)
{
}

void SerialDevice::SetCalls(PortCalls &Calls)
{
    if (!IsOpen())
        FCalls = &Calls;
}

SerialDevice::~SerialDevice()
{
    Close();
}

int SerialDevice::Open(const QString &Path)
{
    Close();
    const int fd = open(QFile::encodeName(Path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // A plain file or pipe must never be written to as if it were a port.
    // The advisory lock keeps out other programs even when run as root,
    // which the tty's exclusive mode lets through.
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        return error;
    }
    ioctl(fd, TIOCEXCL);
    FFd = fd;
    FRtsByHand = false;
    FDriver.Attach(fd, *FCalls);
    return 0;
}

void SerialDevice::Close()
{
    if (FFd < 0)
        return;
    FDriver.Detach();
    ioctl(FFd, TIOCNXCL);
    close(FFd);
    FFd = -1;
}

int SerialDevice::Read(void *Buffer, int Count)
{
    if (Count < 0 || (Buffer == nullptr && Count > 0))
        return -1;
    if (Count == 0)
        return 0;
    ssize_t got;
    do {
        got = read(FFd, Buffer, size_t(Count));
    } while (got < 0 && errno == EINTR);
    if (got > 0)
        return int(got);
    if (got < 0 && errno == EAGAIN)
        return 0;
    // 0 bytes with VMIN 1, or EIO: the far side is gone.
    return -1;
}

int SerialDevice::Write(const void *Buffer, int Count)
{
    if (Count < 0 || (Buffer == nullptr && Count > 0))
        return -1;
    const ssize_t put = FCalls->Write(FFd, Buffer, size_t(Count));
    if (put >= 0)
        return int(put);
    return errno == EAGAIN ? 0 : -1;
}

void SerialDevice::Drain()
{
    FCalls->Drain(FFd);
}

template <typename Change>
bool SerialDevice::Modify(Change &&ChangeSettings)
{
    termios settings{};
    if (tcgetattr(FFd, &settings) != 0)
        return false;
    ChangeSettings(settings);
    return tcsetattr(FFd, TCSANOW, &settings) == 0;
}

bool SerialDevice::ApplyArbitrarySpeed(TBaudRate Rate)
{
    return StandardSpeed(Rate) != B0 || SetArbitrarySpeed(FFd, BitsPerSecond(Rate));
}

void SerialDevice::ApplyModemLines(TFlowControl Flow)
{
    if (Flow == fcDefault)
        return;
    FRtsByHand = false;
    SetModemLine(*FCalls, FFd, TIOCM_DTR, true);
    if (Flow == fcRTSToggle) {
        if (!FDriver.EnableRs485RtsToggle() && HasModemLines(*FCalls, FFd)) {
            FRtsByHand = true;
            SetModemLine(*FCalls, FFd, TIOCM_RTS, false);
        }
        return;
    }
    FDriver.DisableRs485();
    // With fcCTS the kernel drives RTS itself.
    if (Flow != fcCTS)
        SetModemLine(*FCalls, FFd, TIOCM_RTS, true);
}

bool SerialDevice::Configure(const LineSettings &Settings)
{
    const bool applied = Modify([&](termios &tty) {
        MakeRaw(tty);
        ApplyStandardSpeed(tty, Settings.BaudRate);
        ApplyParity(tty, Settings.Parity);
        ApplyStopbits(tty, Settings.Stopbits);
        ApplyDatabits(tty, Settings.Databits);
        ApplyParityCheck(tty, Settings.ParityCheck);
        ApplyFlowControl(tty, Settings.FlowControl, Settings.XonChar, Settings.XoffChar);
    });
    ApplyModemLines(Settings.FlowControl);
    return applied && ApplyArbitrarySpeed(Settings.BaudRate);
}

bool SerialDevice::SetBaudRate(TBaudRate Rate)
{
    return Modify([&](termios &tty) { ApplyStandardSpeed(tty, Rate); }) && ApplyArbitrarySpeed(Rate);
}

bool SerialDevice::SetParity(TParity Parity)
{
    return Modify([&](termios &tty) { ApplyParity(tty, Parity); });
}

bool SerialDevice::SetStopbits(TStopbits Stopbits)
{
    return Modify([&](termios &tty) { ApplyStopbits(tty, Stopbits); });
}

bool SerialDevice::SetDatabits(TDatabits Databits)
{
    return Modify([&](termios &tty) { ApplyDatabits(tty, Databits); });
}

bool SerialDevice::SetParityCheck(bool On)
{
    return Modify([&](termios &tty) { ApplyParityCheck(tty, On); });
}

bool SerialDevice::SetFlowControl(TFlowControl Flow, char XonChar, char XoffChar)
{
    const bool applied = Modify([&](termios &tty) { ApplyFlowControl(tty, Flow, XonChar, XoffChar); });
    ApplyModemLines(Flow);
    return applied;
}

bool SerialDevice::SetXonChar(char Value)
{
    return Modify([&](termios &tty) { tty.c_cc[VSTART] = cc_t(Value); });
}

bool SerialDevice::SetXoffChar(char Value)
{
    return Modify([&](termios &tty) { tty.c_cc[VSTOP] = cc_t(Value); });
}

bool SerialDevice::SetRts(bool On)
{
    return SetModemLine(*FCalls, FFd, TIOCM_RTS, On);
}

bool SerialDevice::SetLowLatency(bool On)
{
    return FDriver.SetLowLatency(On);
}
