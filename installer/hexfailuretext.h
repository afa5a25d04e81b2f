#pragma once

#include <QString>

namespace Installer {

class EHexLoadError;
class EHexCheckError;

// What the operator reads when a firmware file is refused; path is the
// file's, of which only the name is shown. Lines are separated by "\r".
QString HexFailureText(const QString &path, const EHexLoadError &error);
QString HexFailureText(const QString &path, const EHexCheckError &error);

} // namespace Installer
