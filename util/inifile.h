#pragma once

#include <QString>
#include <QStringList>

// A private-profile settings file: sections of "key=value" lines, looked up
// without regard to case. Every write rewrites the file at once and keeps all
// other sections, keys and lines as they stand, so that hand-made entries
// (such as the port map) survive the program's own writes.
//
// The file is outside input: one larger than kMaxFileSize reads as empty and
// is never rewritten.
class IniFile
{
public:
    static constexpr qint64 kMaxFileSize = 64 * 1024;

    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    // A value that is not a decimal integer gives def.
    int ReadInteger(const QString &section, const QString &key, int def) const;

    // False when the file cannot be read or written; nothing is changed then.
    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInteger(const QString &section, const QString &key, int value);
    bool WriteBool(const QString &section, const QString &key, bool value);

private:
    bool load(QStringList &lines) const;

    QString m_path;
};
