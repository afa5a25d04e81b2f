#pragma once

#include "app/portdevices.h"
#include "app/portmap.h"

#include <optional>

// What a port name stands for.
struct PortResolution
{
    QString name;
    // The device to open; empty when the name stands for none.
    QString path;
    // path is the name's entry in section Ports.
    bool mapped = false;
    // The present device at path, when it is one.
    std::optional<PortDevice> device;
    // Why path is empty, for the operator; empty for a name that is no port
    // name at all (no port selected).
    QString problem;

    // One line for the status bar: the device and its description, or why
    // there is none.
    QString statusText() const;
};

// Resolves "COM1".."COM9": the name's entry in section Ports wins (any
// absolute path); otherwise COMn is the n-th of the serial devices present,
// numbered by numbered().
class PortResolver
{
public:
    PortResolver(const DeviceSource &devices, SettingsLocation settings);

    // The devices in their numbering order: USB adapters by their
    // /dev/serial/by-id name, then other ttyACM and ttyUSB devices, then the
    // rest (on-board UARTs); placeholders left out. Within a kind, ttyS2
    // comes before ttyS10.
    static QList<PortDevice> numbered(QList<PortDevice> devices);
    QList<PortDevice> numbered() const;

    PortResolution resolve(const QString &name) const;

private:
    const DeviceSource &m_devices;
    PortMap m_map;
};
