#pragma once

#include <QString>

namespace Installer {

// How the installer shows a chosen file: a path of at most 40 characters
// whole, a longer one as "/.../" and the file name, e.g. "/.../firmware.hex".
QString DisplayPath(const QString &path);

} // namespace Installer
