#include "app/portresolver.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

// Where a device stands in the numbering: its kind, then its name with the
// trailing number compared as a number (a longer number is the larger).
std::tuple<int, QString, qsizetype, QString> orderKey(const PortDevice &device)
{
    if (!device.byIdName.isEmpty())
        return {0, device.byIdName, 0, {}};
    const QString name = QFileInfo(device.path).fileName();
    const int kind = name.startsWith(QLatin1String("ttyACM")) || name.startsWith(QLatin1String("ttyUSB")) ? 1 : 2;
    qsizetype digits = name.size();
    while (digits > 0 && name.at(digits - 1).isDigit())
        --digits;
    const QString number = name.mid(digits);
    return {kind, name.left(digits), number.size(), number};
}

} // namespace

QString PortResolution::statusText() const
{
    if (path.isEmpty())
        return problem;
    QString text = name + QStringLiteral(": ") + path;
    if (device && !device->description().isEmpty())
        text += QStringLiteral(" (") + device->description() + QLatin1Char(')');
    if (mapped)
        text += QStringLiteral(", set in Ports");
    return text;
}

PortResolver::PortResolver(const DeviceSource &devices, SettingsLocation settings)
    : m_devices(devices)
    , m_map(std::move(settings))
{
}

QList<PortDevice> PortResolver::numbered(QList<PortDevice> devices)
{
    devices.removeIf([](const PortDevice &device) { return device.placeholder; });
    std::stable_sort(devices.begin(), devices.end(),
                     [](const PortDevice &a, const PortDevice &b) { return orderKey(a) < orderKey(b); });
    return devices;
}

QList<PortDevice> PortResolver::numbered() const
{
    return numbered(m_devices.devices());
}

PortResolution PortResolver::resolve(const QString &name) const
{
    static const QRegularExpression comName(QStringLiteral("^COM([1-9])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    PortResolution port;
    port.name = name;
    const QRegularExpressionMatch match = comName.match(name);
    if (!match.hasMatch())
        return port;
    const int index = match.captured(1).toInt() - 1;
    const QList<PortDevice> present = numbered();
    const QString entry = m_map.entry(PortMap::portName(index));
    if (!entry.isEmpty()) {
        if (!entry.startsWith(QLatin1Char('/'))) {
            port.problem = QStringLiteral("%1 is set to \"%2\" in Ports, which is no absolute path.").arg(name, entry);
            return port;
        }
        port.path = entry;
        port.mapped = true;
        const QString node = QFileInfo(entry).canonicalFilePath();
        const auto device = std::find_if(present.cbegin(), present.cend(),
                                         [&node](const PortDevice &candidate) { return candidate.path == node; });
        if (device != present.cend())
            port.device = *device;
        return port;
    }
    if (index >= present.size()) {
        port.problem = QStringLiteral("No serial device for %1 (serial devices present: %2).")
                           .arg(name, QString::number(present.size()));
        return port;
    }
    port.path = present.at(index).path;
    port.device = present.at(index);
    return port;
}
