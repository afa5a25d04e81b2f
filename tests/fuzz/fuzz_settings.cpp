// Arbitrary bytes as a settings file, then one entry set in it, as the
// panel's save does. The input is the file, then after NUL bytes the
// section, key and value to set ("Ports", "COM1", "/dev/ttyUSB0" stand in for
// what is missing). A set entry reads back as written and leaves every other
// line byte for byte; a refused one changes nothing. With a fifth part the
// file is padded to near the size bound (its first byte picks how near) and
// goes through the settings file itself. That costs a few hundred times
// more, so only one in 32 of the inputs that ask for it, by a hash of the
// input, goes that way.

#include "util/inidocument.h"
#include "util/inifile.h"
#include "util/plainfile.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <optional>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

struct Input
{
    QByteArray file;
    QString section = QStringLiteral("Ports");
    QString key = QStringLiteral("COM1");
    QString value = QStringLiteral("/dev/ttyUSB0");
    std::optional<quint8> nearTheBound;
};

quint32 fnv1a(const QByteArray &bytes)
{
    quint32 hash = 2166136261u;
    for (const char byte : bytes)
        hash = (hash ^ quint8(byte)) * 16777619u;
    return hash;
}

Input split(const QByteArray &bytes)
{
    const QList<QByteArray> parts = bytes.split('\0');
    Input input;
    input.file = parts.at(0);
    QString *const fields[] = {&input.section, &input.key, &input.value};
    for (qsizetype i = 1; i < parts.size() && i <= 3; ++i)
        *fields[i - 1] = QString::fromUtf8(parts.at(i));
    if (parts.size() > 4 && fnv1a(bytes) % 32 == 0)
        input.nearTheBound = quint8(parts.at(4).isEmpty() ? 0 : parts.at(4).at(0));
    return input;
}

// The bytes that changed lie within one line of the old file: all others
// are kept. What took their place is the entry, maybe with its section.
void checkOtherLinesKept(const QByteArray &before, const QByteArray &after)
{
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
           && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    require(!before.mid(head, before.size() - head - tail).contains('\n'));
    require(after.mid(head, after.size() - head - tail).count('\n') <= 2);
}

void checkDocument(const Input &input)
{
    IniDocument document(input.file);
    require(document.toBytes() == input.file);
    if (!document.setValue(input.section, input.key, input.value)) {
        require(document.toBytes() == input.file);
        return;
    }
    // As the next start reads it: from the bytes saved.
    const QByteArray saved = document.toBytes();
    require(IniDocument(saved).value(input.section, input.key) == input.value);
    checkOtherLinesKept(input.file, saved);
}

// The file padded with a comment to a size near the bound: offset picks how
// far below or above it.
QByteArray nearTheBound(const QByteArray &file, quint8 offset)
{
    const qsizetype size = IniFile::kMaxFileSize - 128 + offset;
    if (file.size() >= size)
        return file;
    return file + '\n' + QByteArray(size - file.size() - 2, ';') + '\n';
}

void checkFile(const Input &input)
{
    // Every save syncs the file: in memory that costs next to nothing.
    static const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir folder(base + QStringLiteral("/fuzz_settings-XXXXXX"));
    const QString path = folder.filePath(QStringLiteral("KarvControl.ini"));
    const QByteArray before = nearTheBound(input.file, *input.nearTheBound);
    require(PlainFile::replace(path, before));

    IniFile file(path);
    const bool readable = before.size() <= IniFile::kMaxFileSize;
    const bool written = file.WriteString(input.section, input.key, input.value);
    const PlainFile::ReadResult after = PlainFile::read(path, 2 * IniFile::kMaxFileSize);
    require(after.status == PlainFile::ReadStatus::Ok);
    if (!written) {
        require(after.bytes == before);
        return;
    }
    require(readable && after.bytes.size() <= IniFile::kMaxFileSize);
    require(file.ReadString(input.section, input.key, QString()) == input.value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const Input input = split(bytes);
    checkDocument(input);
    if (input.nearTheBound)
        checkFile(input);
    return 0;
}
