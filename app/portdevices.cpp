#include "app/portdevices.h"

#include <QStringList>

QString PortDevice::stablePath() const
{
    return byIdName.isEmpty() ? path : kSerialByIdFolder + QLatin1Char('/') + byIdName;
}

QString PortDevice::description() const
{
    QStringList parts;
    for (const QString &part : {manufacturer, product}) {
        if (!part.isEmpty())
            parts << part;
    }
    if (!serialNumber.isEmpty())
        parts << QStringLiteral("serial number ") + serialNumber;
    return parts.join(QStringLiteral(", "));
}
