#include "config/configfile.h"

#include "protocol/commandcatalogue.h"
#include "util/inidocument.h"
#include "util/plainfile.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>

#include <optional>

namespace ConfigFile {

namespace {

using namespace Qt::StringLiterals;
using ConfigFields::Field;
using ConfigFields::ParameterBytes;

const QString kUnitSection = u"Unit"_s;
const QString kBytesKey = u"Bytes"_s;
const QString kFormatKey = u"Format"_s;

// The [Unit] keys and the header member each one fills.
struct HeaderKey
{
    QLatin1StringView key;
    QString UnitHeader::*member;
};
const HeaderKey kHeaderKeys[] = {
    {"Firmware"_L1, &UnitHeader::firmware}, {"Serial Number"_L1, &UnitHeader::serialNumber},
    {"Address"_L1, &UnitHeader::address},   {"Port"_L1, &UnitHeader::port},
    {"Read"_L1, &UnitHeader::time},
};

QString sectionOf(const ConfigFields::Command &command)
{
    return Protocol::FindCommand(command.code)->itemText;
}

QString bytesText(const ParameterBytes &bytes)
{
    QStringList texts;
    for (const quint8 byte : bytes)
        texts.append(QString::number(byte, 16).toUpper().rightJustified(2, u'0'));
    return texts.join(u' ');
}

std::optional<ParameterBytes> parseBytes(const QString &text)
{
    static const QRegularExpression kByte(u"^[0-9A-Fa-f]{2}$"_s);
    const QStringList parts = text.split(u' ', Qt::SkipEmptyParts);
    ParameterBytes bytes{};
    if (parts.size() != qsizetype(bytes.size()))
        return std::nullopt;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (!kByte.match(parts.at(i)).hasMatch())
            return std::nullopt;
        bytes.at(i) = quint8(parts.at(i).toUInt(nullptr, 16));
    }
    return bytes;
}

const ConfigFields::Command *commandOfSection(const QString &name)
{
    for (const ConfigFields::Command &command : ConfigFields::Commands()) {
        if (sectionOf(command) == name)
            return &command;
    }
    return nullptr;
}

// Why a section that names no configuration command is refused.
QString unknownSectionWhy(const QString &name)
{
    static const QRegularExpression kCode(u"^\\$([0-9A-Fa-f]{2})\\b"_s);
    const QRegularExpressionMatch match = kCode.match(name);
    if (match.hasMatch() && Protocol::FindCommand(quint8(match.captured(1).toUInt(nullptr, 16))))
        return u"[%1] is not a configuration command"_s.arg(name);
    return u"unknown section [%1]"_s.arg(name);
}

struct GivenField
{
    int line;
    qint64 value;
};

// One file's reading: the section being read and what has been found.
class Reader
{
public:
    Loaded run(const QByteArray &text);

private:
    void header(int line, const QString &name);
    void entry(int line, const QString &key, const QString &value);
    void unitEntry(int line, const QString &key, const QString &value);
    void commandEntry(int line, const QString &key, const QString &value);
    void finishSection();
    void problem(int line, const QString &why) { m_loaded.problems.append({line, why}); }

    Loaded m_loaded;
    int m_format = kFormat;
    // Sections and keys this version does not know: a later version's
    // additions when the file says it is of a later format.
    QList<Problem> m_unknown;
    QMap<QString, int> m_sectionLines;

    enum class In { Nothing, Unit, Command, Ignored };
    In m_in = In::Nothing;
    QMap<QString, int> m_keyLines;
    const ConfigFields::Command *m_command = nullptr;
    int m_headerLine = 0;
    QMap<const Field *, GivenField> m_fields;
    std::optional<ParameterBytes> m_bytes;
    int m_bytesLine = 0;
};

Loaded Reader::run(const QByteArray &text)
{
    m_loaded.text = text;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = int(i + 1);
        QByteArray bytes = lines.at(i);
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString line = QString(decoder(bytes)).trimmed();
        if (decoder.hasError()) {
            problem(number, u"not UTF-8 text"_s);
            continue;
        }
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            header(number, line.mid(1, line.size() - 2).trimmed());
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) {
            problem(number, u"neither a section, a \"name=value\" line nor a comment"_s);
            continue;
        }
        entry(number, line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    finishSection();
    for (Problem unknown : std::as_const(m_unknown)) {
        if (m_format > kFormat)
            unknown.why = u"%1: the file was written by a later version of the panel (format %2; this one reads "
                          "format %3)"_s.arg(unknown.why)
                              .arg(m_format)
                              .arg(kFormat);
        m_loaded.problems.append(unknown);
    }
    std::ranges::sort(m_loaded.problems, {}, &Problem::line);
    if (m_loaded.problems.isEmpty() && m_loaded.configuration.entries().isEmpty())
        m_loaded.problems.append({0, u"no configuration command in the file"_s});
    return m_loaded;
}

void Reader::header(int line, const QString &name)
{
    finishSection();
    m_keyLines.clear();
    if (const auto first = m_sectionLines.constFind(name); first != m_sectionLines.cend()) {
        problem(line, u"section [%1] given twice (first on line %2)"_s.arg(name).arg(*first));
        m_in = In::Ignored;
        return;
    }
    m_sectionLines.insert(name, line);
    if (name == kUnitSection) {
        m_in = In::Unit;
        return;
    }
    m_command = commandOfSection(name);
    if (!m_command) {
        m_unknown.append({line, unknownSectionWhy(name)});
        m_in = In::Ignored;
        return;
    }
    m_in = In::Command;
    m_headerLine = line;
}

void Reader::entry(int line, const QString &key, const QString &value)
{
    if (m_in == In::Nothing) {
        problem(line, u"\"%1\" stands before any section"_s.arg(key));
        return;
    }
    if (m_in == In::Ignored)
        return;
    if (const auto first = m_keyLines.constFind(key); first != m_keyLines.cend()) {
        problem(line, u"\"%1\" given twice (first on line %2)"_s.arg(key).arg(*first));
        return;
    }
    m_keyLines.insert(key, line);
    if (m_in == In::Unit)
        unitEntry(line, key, value);
    else
        commandEntry(line, key, value);
}

void Reader::unitEntry(int line, const QString &key, const QString &value)
{
    if (key == kFormatKey) {
        bool ok = false;
        m_format = value.toInt(&ok);
        if (!ok || m_format < 1) {
            problem(line, u"Format \"%1\" is not a format number"_s.arg(value));
            m_format = kFormat;
        }
        return;
    }
    for (const HeaderKey &known : kHeaderKeys) {
        if (key == known.key) {
            m_loaded.configuration.header.*known.member = value;
            return;
        }
    }
    m_unknown.append({line, u"unknown field \"%1\" in [%2]"_s.arg(key, kUnitSection)});
}

void Reader::commandEntry(int line, const QString &key, const QString &value)
{
    if (key == kBytesKey) {
        m_bytes = parseBytes(value);
        m_bytesLine = line;
        if (!m_bytes)
            problem(line, u"Bytes \"%1\" are not six two-digit hexadecimal bytes"_s.arg(value));
        return;
    }
    const auto field = std::ranges::find(m_command->fields, key, [](const Field &f) { return QString(f.name); });
    if (field == m_command->fields.end()) {
        m_unknown.append({line, u"unknown field \"%1\" in [%2]"_s.arg(key, sectionOf(*m_command))});
        return;
    }
    const std::optional<qint64> parsed = ConfigFields::ParseValue(*field, value);
    if (!parsed) {
        problem(line, u"%1 \"%2\" is out of range: %3"_s.arg(key, value, ConfigFields::RangeText(*field)));
        return;
    }
    m_fields.insert(&*field, {line, *parsed});
}

void Reader::finishSection()
{
    const bool command = m_in == In::Command;
    m_in = In::Nothing;
    if (!command)
        return;
    const std::optional<ParameterBytes> given = m_bytes;
    const int bytesLine = m_bytesLine;
    const auto fields = std::exchange(m_fields, {});
    m_bytes.reset();
    if (!given && m_keyLines.contains(kBytesKey))
        return; // already refused
    ParameterBytes bytes = given.value_or(ParameterBytes{});
    bool good = true;
    for (const Field &field : m_command->fields) {
        const auto it = fields.constFind(&field);
        if (given) {
            const qint64 held = ConfigFields::ValueIn(field, bytes);
            if (!ConfigFields::InRange(field, held)) {
                problem(bytesLine, u"the bytes give %1 %2, out of range: %3"_s.arg(field.name)
                                       .arg(held)
                                       .arg(ConfigFields::RangeText(field)));
                good = false;
            } else if (it != fields.cend() && it->value != held) {
                problem(it->line, u"%1 %2 disagrees with the bytes, which give %3"_s.arg(
                                      field.name, ConfigFields::ValueText(field, it->value),
                                      ConfigFields::ValueText(field, held)));
                good = false;
            }
        } else if (it != fields.cend()) {
            ConfigFields::Place(field, it->value, bytes);
        } else if (!m_keyLines.contains(QString(field.name))) {
            problem(m_headerLine, u"[%1] lacks %2 and gives no Bytes"_s.arg(sectionOf(*m_command), field.name));
            good = false;
        } else {
            good = false; // its value was refused
        }
    }
    if (good)
        m_loaded.configuration.set(m_command->code, bytes);
}

QByteArray skeleton(const Configuration &configuration)
{
    QByteArray text = "# Karvel 2 unit configuration. Each section is one command: its fields as the\n"
                      "# panel shows them, and the Bytes it sends in P1..P6.\n\n[Unit]\n";
    for (const ConfigEntry &entry : configuration.entries())
        text += "\n[" + sectionOf(*ConfigFields::FindCommand(entry.code)).toUtf8() + "]\n";
    return text;
}

} // namespace

Loaded parse(const QByteArray &text)
{
    return Reader().run(text);
}

Loaded load(const QString &path)
{
    const PlainFile::ReadResult read = PlainFile::read(path, kMaxFileSize);
    if (read.status != PlainFile::ReadStatus::Ok) {
        Loaded loaded;
        loaded.problems.append({0, read.status == PlainFile::ReadStatus::Missing
                                       ? u"no such file"_s
                                       : u"not a readable file of at most %1 KiB"_s.arg(kMaxFileSize / 1024)});
        return loaded;
    }
    return parse(read.bytes);
}

QByteArray render(const Configuration &configuration, const QByteArray &previous)
{
    IniDocument document(previous.isEmpty() ? skeleton(configuration) : previous);
    for (const HeaderKey &key : kHeaderKeys)
        document.setValue(kUnitSection, key.key, configuration.header.*key.member);
    document.setValue(kUnitSection, kFormatKey, QString::number(kFormat));
    for (const ConfigEntry &entry : configuration.entries()) {
        const ConfigFields::Command &command = *ConfigFields::FindCommand(entry.code);
        const QString section = sectionOf(command);
        for (const Field &field : command.fields)
            document.setValue(section, field.name, ConfigFields::ValueText(field, ConfigFields::ValueIn(field, entry.bytes)));
        document.setValue(section, kBytesKey, bytesText(entry.bytes));
    }
    return document.toBytes();
}

bool save(const QString &path, const Configuration &configuration, const QByteArray &previous)
{
    return PlainFile::replace(path, render(configuration, previous));
}

QString problemText(const QList<Problem> &problems)
{
    QStringList lines;
    for (const Problem &p : problems)
        lines.append(p.line > 0 ? u"line %1: %2"_s.arg(p.line).arg(p.why) : p.why);
    return lines.join(u'\n');
}

} // namespace ConfigFile
