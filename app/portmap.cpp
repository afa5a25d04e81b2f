#include "app/portmap.h"

#include "util/inifile.h"

#include <utility>

namespace {

const QString section = QStringLiteral("Ports");

} // namespace

QString PortMap::portName(int index)
{
    return QStringLiteral("COM%1").arg(index + 1);
}

PortMap::PortMap(SettingsLocation location)
    : m_location(std::move(location))
{
}

QString PortMap::entry(const QString &portName) const
{
    return IniFile(m_location.readPath()).ReadString(section, portName, QString());
}

PortMap::Entries PortMap::entries() const
{
    const IniFile file(m_location.readPath());
    Entries entries;
    for (int index = 0; index < kPortCount; ++index)
        entries[index] = file.ReadString(section, portName(index), QString());
    return entries;
}

bool PortMap::save(const Entries &entries) const
{
    const Entries stored = this->entries();
    QList<std::pair<QString, QString>> changes;
    for (int index = 0; index < kPortCount; ++index) {
        if (entries[index] != stored[index])
            changes.append({portName(index), entries[index]});
    }
    if (changes.isEmpty())
        return true;
    return m_location.prepareWrite() && IniFile(m_location.writePath()).WriteStrings(section, changes);
}
