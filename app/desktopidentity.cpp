#include "app/desktopidentity.h"

#include <QGuiApplication>
#include <QIcon>

void applyDesktopIdentity()
{
    const QString id = QLatin1String(kDesktopId);
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(id)));
    QGuiApplication::setDesktopFileName(id);
}
