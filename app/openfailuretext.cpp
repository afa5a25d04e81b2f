#include "app/openfailuretext.h"

#include "serial/comm32.h"

#include <QFileInfo>

#include <cerrno>

QString OpenFailureReason(const TC32OpenFailure &failure)
{
    if (failure.HeldByOtherProgram)
        return failure.Path + QStringLiteral(" is held by another program.");
    const QString reason = failure.Path + QStringLiteral(": ") + qt_error_string(failure.Errno);
    if (failure.Errno != EACCES && failure.Errno != EPERM)
        return reason;
    // Ports are given to a group (typically dialout), and a new membership
    // counts only from the next login.
    const QString group = QFileInfo(failure.Path).group();
    if (group.isEmpty())
        return reason;
    return reason
           + QStringLiteral("\rYour user must be in group '%1' to use it; log in again after joining it.").arg(group);
}

QString OpenFailureText(const QString &portName, const TC32OpenFailure &failure)
{
    // Without a device there is no reason from the system to add.
    return OpenFailureText(portName, failure.Path.isEmpty() ? QString() : OpenFailureReason(failure));
}

QString OpenFailureText(const QString &portName, const QString &reason)
{
    const QString headline = QStringLiteral("Could not open port ") + portName + QLatin1Char('!');
    return reason.isEmpty() ? headline : headline + QLatin1Char('\r') + reason;
}
