#include "installer/hexfailuretext.h"

#include "installer/hexerrors.h"

#include <QFileInfo>

namespace Installer {

QString HexFailureText(const QString &path, const EHexLoadError &error)
{
    // One substitution: a % in the file name stays as it is.
    return QStringLiteral("The file \"%1\" is not a valid HEX file!\r(%2 in line %3)")
        .arg(QFileInfo(path).fileName(), QString::fromStdString(error.what()), QString::number(error.lineNumber()));
}

QString HexFailureText(const QString &path, const EHexCheckError &)
{
    return QStringLiteral("The file \"%1\" is not indended for use with a Karvel-2!").arg(QFileInfo(path).fileName());
}

} // namespace Installer
