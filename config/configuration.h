#pragma once

#include "config/configfields.h"

#include <QList>
#include <QString>

// A unit's configuration: the parameter bytes of its configuration commands
// and where they came from.
struct UnitHeader
{
    QString firmware;     // "1.23", from "$43: Firmware Revision"
    QString serialNumber; // decimal
    QString address;      // two hexadecimal digits
    QString port;
    QString time; // when it was read, ISO 8601
};

struct ConfigEntry
{
    quint8 code;
    ConfigFields::ParameterBytes bytes;
};

class Configuration
{
public:
    UnitHeader header;

    // The entries in the order of ConfigFields::Commands().
    const QList<ConfigEntry> &entries() const { return m_entries; }
    const ConfigFields::ParameterBytes *find(quint8 code) const;
    // Adds or replaces code's bytes, keeping the order.
    void set(quint8 code, const ConfigFields::ParameterBytes &bytes);

private:
    QList<ConfigEntry> m_entries;
};
