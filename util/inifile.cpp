#include "util/inifile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>
#include <utility>

namespace {

std::optional<QString> sectionName(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')))
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    return std::nullopt;
}

bool isKeyLine(const QString &line, const QString &key, QString *value = nullptr)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
        return false;
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return true;
}

// Lines of one section: from the line after its header to the next header.
struct SectionRange
{
    qsizetype header = -1;
    qsizetype end = 0;
};

SectionRange findSection(const QStringList &lines, const QString &section)
{
    SectionRange range;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QString> name = sectionName(lines.at(i));
        if (!name)
            continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (name->compare(section, Qt::CaseInsensitive) == 0)
            range.header = i;
    }
    range.end = lines.size();
    return range;
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
}

bool IniFile::load(QStringList &lines) const
{
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (file.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.read(kMaxFileSize + 1);
    if (data.size() > kMaxFileSize)
        return false;
    lines = QString::fromUtf8(data).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return true;
}

QString IniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    QStringList lines;
    if (!load(lines))
        return def;
    const SectionRange range = findSection(lines, section);
    if (range.header < 0)
        return def;
    QString value;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        if (isKeyLine(lines.at(i), key, &value))
            return value;
    }
    return def;
}

int IniFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    bool ok = false;
    const int value = ReadString(section, key, QString()).toInt(&ok, 10);
    return ok ? value : def;
}

bool IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    QStringList lines;
    if (!load(lines))
        return false;
    const QFileInfo info(m_path);
    if (info.exists() && !info.isWritable())
        return false;

    const QString entry = key + QLatin1Char('=') + value;
    const SectionRange range = findSection(lines, section);
    if (range.header < 0) {
        lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    } else {
        qsizetype at = range.header + 1;
        for (; at < range.end; ++at) {
            if (isKeyLine(lines.at(at), key))
                break;
        }
        if (at < range.end) {
            lines[at] = entry;
        } else {
            // After the section's last entry, before blank lines that separate it from the next.
            qsizetype insertAt = range.end;
            while (insertAt > range.header + 1 && lines.at(insertAt - 1).trimmed().isEmpty())
                --insertAt;
            lines.insert(insertAt, entry);
        }
    }

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(lines.join(QLatin1Char('\n')).toUtf8());
    file.write("\n");
    return file.commit();
}

bool IniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
