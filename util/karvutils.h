#pragma once

#include <QString>

// Conversions shared by the main window, the pages and the installer.
namespace KarvUtils {

// "KarvControl.ini" in the directory of the program's executable.
QString SettingsFilePath();

// Where the program's compiled-in version record lives.
inline constexpr const char *kVersionRecordPath = ":/version/KarvControl.rec";

// The text of "\StringFileInfo\<lang><codepage>\FileVersion" of the version
// record at recordPath, found through its first translation entry; empty when
// the record is missing or any lookup fails.
QString FileVersion(const QString &recordPath = QString::fromLatin1(kVersionRecordPath));

// The caption's short form of a version text: "2.1.6.0" gives "2.16".
QString ShortVersion(const QString &version);

} // namespace KarvUtils
