#include "util/inidocument.h"

#include <algorithm>
#include <utility>

namespace {

// Only ASCII letters fold: names in other encodings compare as bytes.
bool sameName(const QByteArray &a, const QByteArray &b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&lower](char x, char y) { return lower(x) == lower(y); });
}

std::optional<QByteArray> sectionName(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    if (trimmed.startsWith('[') && trimmed.endsWith(']'))
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    return std::nullopt;
}

struct Entry
{
    QByteArray key;
    QByteArray value;
};

std::optional<Entry> entryOf(const QByteArray &line)
{
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return Entry{line.left(eq).trimmed(), line.mid(eq + 1).trimmed()};
}

bool isBlankOrComment(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('#');
}

bool hasLineBreak(const QByteArray &text)
{
    return text.contains('\n') || text.contains('\r');
}

} // namespace

IniDocument::IniDocument(const QByteArray &bytes)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            m_lines.append({bytes.mid(start), {}});
            break;
        }
        const bool crlf = newline > start && bytes.at(newline - 1) == '\r';
        const qsizetype textEnd = crlf ? newline - 1 : newline;
        m_lines.append({bytes.mid(start, textEnd - start), bytes.mid(textEnd, newline + 1 - textEnd)});
        start = newline + 1;
    }
}

IniDocument::SectionRange IniDocument::findSection(const QByteArray &name) const
{
    SectionRange range;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const std::optional<QByteArray> header = sectionName(m_lines.at(i).text);
        if (!header)
            continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (sameName(*header, name))
            range.header = i;
    }
    range.end = m_lines.size();
    return range;
}

qsizetype IniDocument::findEntry(const SectionRange &range, const QByteArray &key) const
{
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const std::optional<Entry> entry = entryOf(m_lines.at(i).text);
        if (entry && sameName(entry->key, key))
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    const SectionRange range = findSection(section.toUtf8());
    if (range.header < 0)
        return std::nullopt;
    const qsizetype at = findEntry(range, key.toUtf8());
    if (at < 0)
        return std::nullopt;
    return QString::fromUtf8(entryOf(m_lines.at(at).text)->value);
}

bool IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const QByteArray name = section.toUtf8();
    const QByteArray header = '[' + name + ']';
    const QByteArray keyBytes = key.toUtf8();
    const QByteArray valueBytes = value.toUtf8();
    const QByteArray entry = keyBytes + '=' + valueBytes;
    const std::optional<Entry> parsed = entryOf(entry);
    if (name.isEmpty() || keyBytes.isEmpty() || hasLineBreak(header) || hasLineBreak(entry)
        || sectionName(header) != name || sectionName(entry) || parsed->key != keyBytes
        || parsed->value != valueBytes)
        return false;

    const SectionRange range = findSection(name);
    if (range.header < 0) {
        insertLine(m_lines.size(), header);
        insertLine(m_lines.size(), entry);
        return true;
    }
    const qsizetype at = findEntry(range, keyBytes);
    if (at >= 0) {
        m_lines[at].text = entry;
        return true;
    }
    // After the section's last entry, before the blank lines that separate it
    // from the next and the comments that head that one.
    qsizetype insertAt = range.end;
    while (insertAt > range.header + 1 && isBlankOrComment(m_lines.at(insertAt - 1).text))
        --insertAt;
    insertLine(insertAt, entry);
    return true;
}

QByteArray IniDocument::toBytes() const
{
    QByteArray bytes;
    for (const Line &line : m_lines)
        bytes += line.text + line.end;
    return bytes;
}

// The line end new lines take where no neighbour has one: the file's first.
QByteArray IniDocument::lineEnd() const
{
    for (const Line &line : m_lines) {
        if (!line.end.isEmpty())
            return line.end;
    }
    return QByteArrayLiteral("\n");
}

// A new line ends as the line before it does. After a last line without a
// line end, that line gets one and the new line goes without, so that the
// file keeps ending as it did.
void IniDocument::insertLine(qsizetype at, const QByteArray &text)
{
    QByteArray end = lineEnd();
    if (at > 0) {
        Line &before = m_lines[at - 1];
        if (before.end.isEmpty())
            before.end = std::exchange(end, QByteArray());
        else
            end = before.end;
    }
    m_lines.insert(at, {text, end});
}
