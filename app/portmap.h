#pragma once

#include "app/settingslocation.h"

#include <QString>

#include <array>

// Section Ports of the settings file: what the operator set a port name to
// open (COM3=/dev/ttyUSB0). An empty or missing entry leaves the name to the
// devices present.
class PortMap
{
public:
    static constexpr int kPortCount = 9;
    using Entries = std::array<QString, kPortCount>;

    // "COM1" for 0.
    static QString portName(int index);

    explicit PortMap(SettingsLocation location);

    QString entry(const QString &portName) const;
    Entries entries() const;
    // Writes the entries that differ from the file's, in one rewrite that
    // keeps every other line; nothing when none differs. False when the file
    // could not be written or an entry would not read back as given.
    bool save(const Entries &entries) const;

private:
    SettingsLocation m_location;
};
