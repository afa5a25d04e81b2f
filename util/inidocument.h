#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The text of a private-profile settings file: sections of "key=value"
// lines, looked up without regard to (ASCII) case. It holds the lines as the
// bytes they were read as, so that every line it does not set comes back
// byte for byte: its encoding, its line end (LF or CRLF) and a missing last
// line end. Values are read and written as UTF-8.
class IniDocument
{
public:
    // Any bytes at all parse; what is no section header or entry is kept as is.
    explicit IniDocument(const QByteArray &bytes = {});

    // The value of the first entry for key in the first section of that
    // name, without blanks around it; none when there is no such entry.
    std::optional<QString> value(const QString &section, const QString &key) const;

    // Sets the first entry for key in section, or adds one at the end of
    // the section, or adds the section at the end. Refused, changing
    // nothing, when the entry would not read back as written: a line break
    // anywhere, a blank at either end, "=" in the key, an empty key or
    // section.
    bool setValue(const QString &section, const QString &key, const QString &value);

    QByteArray toBytes() const;

private:
    struct Line
    {
        QByteArray text;
        // "\n", "\r\n", or empty for a last line that has none.
        QByteArray end;
    };
    struct SectionRange
    {
        qsizetype header = -1;
        qsizetype end = 0;
    };

    SectionRange findSection(const QByteArray &name) const;
    qsizetype findEntry(const SectionRange &range, const QByteArray &key) const;
    QByteArray lineEnd() const;
    void insertLine(qsizetype at, const QByteArray &text);

    QList<Line> m_lines;
};
