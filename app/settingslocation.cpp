#include "app/settingslocation.h"

#include "util/inifile.h"
#include "util/karvutils.h"
#include "util/plainfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

bool SettingsLocation::folderWritable(const QString &folder)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) == 0;
}

SettingsLocation::SettingsLocation(const QString &file)
    : m_readPath(file)
    , m_writePath(file)
{
}

SettingsLocation::SettingsLocation(const Environment &environment)
{
    const QString fileName = QString::fromLatin1(KarvUtils::kSettingsFileName);
    const QString besideProgram = environment.executableFolder + QLatin1Char('/') + fileName;
    if (environment.canWriteIn(environment.executableFolder)) {
        m_readPath = m_writePath = besideProgram;
        return;
    }
    const QString configHome = QDir::isAbsolutePath(environment.configHome)
        ? environment.configHome
        : environment.home + QStringLiteral("/.config");
    m_writePath = configHome + QStringLiteral("/KarvControl/") + fileName;
    const bool firstSave = !QFileInfo::exists(m_writePath);
    m_readPath = firstSave && QFileInfo::exists(besideProgram) ? besideProgram : m_writePath;
}

SettingsLocation SettingsLocation::forThisProgram()
{
    return SettingsLocation(Environment{QCoreApplication::applicationDirPath(),
                                        qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath()});
}

QString SettingsLocation::readPath() const
{
    return m_readPath != m_writePath && QFileInfo::exists(m_writePath) ? m_writePath : m_readPath;
}

bool SettingsLocation::prepareWrite() const
{
    const QString folder = QFileInfo(m_writePath).path();
    if (!QFileInfo::exists(folder)
        && !(QDir().mkpath(QFileInfo(folder).path())
             && QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)))
        return false;
    if (m_readPath == m_writePath || QFileInfo::exists(m_writePath))
        return true;
    const PlainFile::ReadResult first = PlainFile::read(m_readPath, IniFile::kMaxFileSize);
    return first.status != PlainFile::ReadStatus::Ok || PlainFile::replace(m_writePath, first.bytes);
}
