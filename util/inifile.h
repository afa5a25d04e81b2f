#pragma once

#include <QList>
#include <QString>

#include <utility>

// A private-profile settings file (see IniDocument). Every write rewrites the
// file at once and keeps all other sections, keys and lines byte for byte,
// so that hand-made entries (such as the port map) survive the program's own
// writes.
//
// The file is outside input: anything but a regular file (a symbolic link
// included) and a file larger than kMaxFileSize read as empty and are never
// rewritten; a write that would make the file larger is refused.
class IniFile
{
public:
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    // A value that is not a decimal integer gives def.
    int ReadInteger(const QString &section, const QString &key, int def) const;

    // False when the file cannot be read or written, or an entry would not
    // read back as written; nothing is changed then.
    bool WriteString(const QString &section, const QString &key, const QString &value);
    bool WriteInteger(const QString &section, const QString &key, int value);
    bool WriteBool(const QString &section, const QString &key, bool value);
    // All entries (key, value) into section with one rewrite: all or none.
    bool WriteStrings(const QString &section, const QList<std::pair<QString, QString>> &entries);

private:
    QString m_path;
};
