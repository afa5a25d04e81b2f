#include "app/mainsettings.h"

#include "util/convert_error.h"
#include "util/inifile.h"
#include "util/karvutils.h"

#include <utility>

namespace {

const QString section = QStringLiteral("Settings");

// The unit address is one byte; a stored value outside it is unusable.
constexpr int maxAddress = 0xFF;

} // namespace

MainSettings::MainSettings(SettingsLocation location)
    : m_location(std::move(location))
{
}

MainSettings::Values MainSettings::read() const
{
    const IniFile file(m_location.readPath());
    Values values;
    values.comPort = file.ReadInteger(section, QStringLiteral("COMPort"), values.comPort);
    values.baud = file.ReadInteger(section, QStringLiteral("Baud"), values.baud);
    const int address = file.ReadInteger(section, QStringLiteral("Address"), 1);
    if (address >= 0 && address <= maxAddress)
        values.address = QStringLiteral("%1").arg(address, 2, 16, QLatin1Char('0')).toUpper();
    return values;
}

void MainSettings::write(const Values &values, bool k410) const
{
    if (!m_location.prepareWrite())
        return;
    IniFile file(m_location.writePath());
    if (!file.WriteInteger(section, QStringLiteral("COMPort"), values.comPort)
        || !file.WriteInteger(section, QStringLiteral("Baud"), values.baud))
        return;
    qint32 address = 0;
    try {
        address = KarvUtils::HexTextToInt(values.address);
    } catch (const EConvertError &) {
        return;
    }
    if (!file.WriteInteger(section, QStringLiteral("Address"), address))
        return;
    file.WriteBool(section, QStringLiteral("K410"), k410);
}
