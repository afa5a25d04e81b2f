#include "ptypair.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

termios SettingsOf(int Fd)
{
    termios settings{};
    tcgetattr(Fd, &settings);
    return settings;
}

} // namespace

PtyPair::PtyPair()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0)
        return;
    const char *name = ptsname(master);
    if (grantpt(master) != 0 || unlockpt(master) != 0 || name == nullptr) {
        close(master);
        return;
    }
    FMaster = master;
    FSlavePath = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    HangUp();
}

void PtyPair::Send(const QByteArray &Bytes)
{
    qsizetype sent = 0;
    while (sent < Bytes.size()) {
        const ssize_t put = write(FMaster, Bytes.constData() + sent, size_t(Bytes.size() - sent));
        if (put < 0 && errno != EINTR)
            return;
        if (put > 0)
            sent += put;
    }
}

template <typename Wanted>
QByteArray PtyPair::ReceiveWhile(Wanted &&BytesWanted, int TimeoutMs)
{
    QByteArray received;
    char chunk[4096];
    for (qsizetype wanted; (wanted = BytesWanted(received)) > 0;) {
        pollfd watched{FMaster, POLLIN, 0};
        if (poll(&watched, 1, TimeoutMs) <= 0)
            break;
        const ssize_t got = read(FMaster, chunk, size_t(qMin(wanted, qsizetype(sizeof chunk))));
        if (got <= 0)
            break;
        received.append(chunk, got);
    }
    return received;
}

QByteArray PtyPair::Receive(int Count, int TimeoutMs)
{
    return ReceiveWhile([Count](const QByteArray &Received) { return Count - Received.size(); }, TimeoutMs);
}

QByteArray PtyPair::ReceiveThrough(char Last, int TimeoutMs)
{
    return ReceiveWhile([Last](const QByteArray &Received) { return Received.endsWith(Last) ? 0 : 4096; },
                        TimeoutMs);
}

void PtyPair::HangUp()
{
    if (FMaster >= 0)
        close(FMaster);
    FMaster = -1;
}

unsigned PtyPair::CFlags() const
{
    return SettingsOf(FMaster).c_cflag;
}

unsigned PtyPair::IFlags() const
{
    return SettingsOf(FMaster).c_iflag;
}
