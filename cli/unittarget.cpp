#include "cli/unittarget.h"

#include "app/linerates.h"
#include "app/mainsettings.h"
#include "app/openfailuretext.h"
#include "app/portmap.h"
#include "app/portresolver.h"
#include "cli/exitcode.h"
#include "cli/options.h"

#include <QRegularExpression>

#include <optional>

namespace {

UnitTarget settingsDefaults(const SettingsLocation &settings)
{
    const MainSettings::Values values = MainSettings(settings).read();
    UnitTarget target;
    target.name = PortMap::portName(values.comPort >= 0 && values.comPort < PortMap::kPortCount ? values.comPort : 0);
    const auto rates = PanelLineRates();
    if (values.baud >= 0 && size_t(values.baud) < rates.size())
        target.baud = rates[values.baud].bitsPerSecond;
    bool ok = false;
    const uint address = values.address.toUInt(&ok, 16);
    if (ok && address <= 0xFF)
        target.address = quint8(address);
    return target;
}

} // namespace

TargetChoice ChooseTargets(const Options &options, const SettingsLocation &settings, const DeviceSource &devices)
{
    const UnitTarget defaults = settingsDefaults(settings);
    const QStringList names = options.ports.isEmpty() ? QStringList{defaults.name} : options.ports;
    static const QRegularExpression comName(QStringLiteral("^COM[1-9]$"), QRegularExpression::CaseInsensitiveOption);
    const PortResolver resolver(devices, settings);
    TargetChoice choice;
    for (const QString &name : names) {
        UnitTarget target = defaults;
        target.name = name;
        target.baud = options.baud.value_or(defaults.baud);
        target.address = options.address.value_or(defaults.address);
        if (name.startsWith(QLatin1Char('/'))) {
            target.device = name;
        } else if (comName.match(name).hasMatch()) {
            const PortResolution port = resolver.resolve(name);
            if (port.path.isEmpty())
                return {{}, ExitPortFailed, OpenFailureText(name, port.problem)};
            target.device = port.path;
        } else {
            return {{}, ExitBadUsage, QStringLiteral("'%1' is neither COM1..COM9 nor a device path.").arg(name)};
        }
        choice.targets.append(target);
    }
    return choice;
}
