#include "serial/portname.h"

#include "util/inifile.h"

#include <QRegularExpression>

QString ResolvePortName(const QString &Name, const QString &PortMapFile)
{
    if (Name.startsWith(QLatin1Char('/')))
        return Name;
    static const QRegularExpression comName(QStringLiteral("^COM([1-9])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(Name);
    if (!match.hasMatch())
        return {};
    const QString mapped = IniFile(PortMapFile).ReadString(QStringLiteral("Ports"), Name, QString());
    if (mapped.isEmpty())
        return QStringLiteral("/dev/ttyS%1").arg(match.captured(1).toInt() - 1);
    return mapped.startsWith(QLatin1Char('/')) ? mapped : QString();
}
