#include "installer/displaypath.h"

namespace Installer {

QString DisplayPath(const QString &path)
{
    constexpr qsizetype LongestWholePath = 40;
    if (path.size() <= LongestWholePath)
        return path;
    return QStringLiteral("/.../") + path.sliced(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace Installer
