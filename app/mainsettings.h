#pragma once

#include "app/settingslocation.h"

#include <QString>

// The main window's entries in the settings file, section Settings: the
// selected port and baud rate (list indexes, -1 for none), the unit address
// and the K410 flag. Reading never fails: a missing file, key or integer
// gives the default. Writing (into the location's write file, made ready
// first) stops silently at the first entry that cannot be written; the
// entries before it stay written.
class MainSettings
{
public:
    struct Values
    {
        int comPort = 0;
        int baud = 3;
        // As EditAddr shows it: two upper-case hexadecimal digits.
        QString address = QStringLiteral("01");
    };

    explicit MainSettings(SettingsLocation location);

    Values read() const;
    // Writes COMPort, Baud, Address and K410 in this order, each at once.
    // An address that is not a hexadecimal number stops before Address.
    void write(const Values &values, bool k410) const;

private:
    SettingsLocation m_location;
};
