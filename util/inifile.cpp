#include "util/inifile.h"

#include "util/inidocument.h"
#include "util/plainfile.h"

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
}

QString IniFile::ReadString(const QString &section, const QString &key, const QString &def) const
{
    const PlainFile::ReadResult file = PlainFile::read(m_path, kMaxFileSize);
    if (file.status != PlainFile::ReadStatus::Ok)
        return def;
    return IniDocument(file.bytes).value(section, key).value_or(def);
}

int IniFile::ReadInteger(const QString &section, const QString &key, int def) const
{
    bool ok = false;
    const int value = ReadString(section, key, QString()).toInt(&ok, 10);
    return ok ? value : def;
}

bool IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    return WriteStrings(section, {{key, value}});
}

bool IniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::WriteStrings(const QString &section, const QList<std::pair<QString, QString>> &entries)
{
    const PlainFile::ReadResult file = PlainFile::read(m_path, kMaxFileSize);
    if (file.status == PlainFile::ReadStatus::Unusable)
        return false;
    IniDocument document(file.bytes);
    for (const auto &[key, value] : entries) {
        if (!document.setValue(section, key, value))
            return false;
    }
    const QByteArray bytes = document.toBytes();
    return bytes.size() <= kMaxFileSize && PlainFile::replace(m_path, bytes);
}
