#include "toolkit/errorreport.h"

#include "toolkit/application.h"
#include "toolkit/dialogs.h"

namespace Toolkit {

QString errorReportText(const QString &message)
{
    if (message.endsWith(QLatin1Char('.')))
        return message;
    return message + QLatin1Char('.');
}

void reportError(const QString &message)
{
    Dialogs::showError(errorReportText(message), applicationTitle());
}

void reportError(const std::exception &error)
{
    reportError(QString::fromUtf8(error.what()));
}

void reportUnknownError()
{
    reportError(QStringLiteral("Unknown error"));
}

} // namespace Toolkit
