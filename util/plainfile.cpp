#include "util/plainfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <tuple>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PlainFile {

namespace {

// Closes the descriptor it holds when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() { closeNow(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int fd() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }
    // False when closing reports an error: a deferred write error shows here.
    bool closeNow()
    {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// A new file beside target, made exclusively so that no other file is
// touched; mode as given (the umask applies).
std::pair<QByteArray, int> createSibling(const QByteArray &target, mode_t mode)
{
    // A name taken by someone else only costs another draw; a handful means
    // something else is wrong.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QByteArray name =
            target + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return {name, fd};
    }
    return {QByteArray(), -1};
}

// Best effort: the rename itself is done; this only asks the folder's entry
// to reach the disk before a power loss could take it.
void syncFolder(const QByteArray &target)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target)).path());
    const Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.isValid())
        ::fsync(dir.fd());
}

} // namespace

ReadResult read(const QString &path, qint64 maxSize)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    // Looked at before opening: opening a serial device alone raises its
    // modem lines, and opening a FIFO could wait for a writer.
    if (::lstat(native.constData(), &info) != 0)
        return {errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unusable, {}};
    if (!S_ISREG(info.st_mode) || info.st_size > maxSize)
        return {ReadStatus::Unusable, {}};

    // Checked again on the open file: the path may have changed meanwhile.
    const Descriptor file(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (!file.isValid() || ::fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode))
        return {ReadStatus::Unusable, {}};

    QByteArray bytes;
    bytes.reserve(qsizetype(qMin<qint64>(info.st_size, maxSize)));
    char chunk[16 * 1024];
    for (;;) {
        const ssize_t got = ::read(file.fd(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {ReadStatus::Unusable, {}};
        if (got == 0)
            return {ReadStatus::Ok, bytes};
        bytes.append(chunk, got);
        // The file grew while it was read.
        if (bytes.size() > maxSize)
            return {ReadStatus::Unusable, {}};
    }
}

bool replace(const QString &path, const QByteArray &bytes)
{
    const QByteArray target = QFile::encodeName(path);
    struct stat old {};
    const bool exists = ::lstat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT)
        return false;
    // A symbolic link is refused as well, not only not followed: renaming
    // over it would cut the link, and writing through it could rewrite a
    // file that belongs to someone else.
    if (exists && (!S_ISREG(old.st_mode) || ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0))
        return false;

    // A new file gets the usual mode (the umask applies); the old file's mode
    // is set once its owner is settled.
    const auto [name, fd] = createSibling(target, exists ? S_IRUSR | S_IWUSR : 0666);
    Descriptor temporary(fd);
    if (!temporary.isValid())
        return false;
    bool ok = true;
    if (exists) {
        // Only the privileged may give a file away; others make it their own.
        std::ignore = ::fchown(temporary.fd(), old.st_uid, old.st_gid);
        ok = ::fchmod(temporary.fd(), old.st_mode & 07777) == 0;
    }
    ok = ok && writeAll(temporary.fd(), bytes) && ::fsync(temporary.fd()) == 0;
    ok = temporary.closeNow() && ok;
    ok = ok && ::rename(name.constData(), target.constData()) == 0;
    if (!ok) {
        ::unlink(name.constData());
        return false;
    }
    syncFolder(target);
    return true;
}

} // namespace PlainFile
