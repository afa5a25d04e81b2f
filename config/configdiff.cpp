#include "config/configdiff.h"

#include "protocol/commandcatalogue.h"

#include <QStringList>

#include <algorithm>

namespace ConfigDiff {

namespace {

using namespace Qt::StringLiterals;

QString bytesText(const ConfigFields::ParameterBytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())).toHex(' ').toUpper();
}

QString line(const Difference &d)
{
    return u"[%1] %2: %3 in the file, %4 in the unit"_s.arg(Protocol::FindCommand(d.code)->itemText, d.field,
                                                            d.expected, d.actual);
}

} // namespace

QList<Difference> compare(const Configuration &expected, const Configuration &actual)
{
    QList<Difference> differences;
    for (const ConfigEntry &entry : expected.entries()) {
        const ConfigFields::Command &command = *ConfigFields::FindCommand(entry.code);
        const ConfigFields::ParameterBytes *held = actual.find(entry.code);
        if (!command.readable || !held)
            continue;
        for (const ConfigFields::Field &field : command.fields) {
            const qint64 want = ConfigFields::ValueIn(field, entry.bytes);
            const qint64 have = ConfigFields::ValueIn(field, *held);
            if (want != have)
                differences.append({entry.code, field.name, ConfigFields::ValueText(field, want),
                                    ConfigFields::ValueText(field, have), command.identity});
        }
        if (ConfigFields::UnshownBits(command, entry.bytes) != ConfigFields::UnshownBits(command, *held))
            differences.append({entry.code, u"Bytes"_s, bytesText(entry.bytes), bytesText(*held), command.identity});
    }
    return differences;
}

bool differs(const QList<Difference> &differences, bool includeIdentity)
{
    return std::ranges::any_of(differences, [includeIdentity](const Difference &d) {
        return includeIdentity || !d.identity;
    });
}

QString describe(const QList<Difference> &differences, bool includeIdentity)
{
    QStringList lines;
    QStringList identity;
    for (const Difference &d : differences)
        (d.identity ? identity : lines).append(line(d));
    if (lines.isEmpty())
        lines.append(u"No setting differs."_s);
    if (!identity.isEmpty()) {
        lines.append(includeIdentity ? u"Identity and link settings:"_s
                                     : u"Identity and link settings (not counted without including identity):"_s);
        lines.append(identity);
    }
    return lines.join(u'\n');
}

} // namespace ConfigDiff
