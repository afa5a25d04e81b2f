#pragma once

#include <QString>

#include <functional>

// Where the settings file is read and written. Beside the executable when
// its folder can be written: portable use, and every setup made so far.
// Otherwise (an installation the user cannot write to) in the user's config
// folder, $XDG_CONFIG_HOME/KarvControl, by default ~/.config/KarvControl.
// Until the first save there, a file beside the executable (one that came
// with the installation) is what is read, and that save starts from a copy
// of it, so that its hand-made lines such as the port map carry over.
class SettingsLocation
{
public:
    // Whether files can be made in folder, for the effective user.
    static bool folderWritable(const QString &folder);

    struct Environment
    {
        QString executableFolder;
        // $XDG_CONFIG_HOME; ignored when empty or relative.
        QString configHome;
        QString home;
        std::function<bool(const QString &folder)> canWriteIn = folderWritable;
    };

    // One given file, read and written.
    SettingsLocation(const QString &file);
    explicit SettingsLocation(const Environment &environment);
    static SettingsLocation forThisProgram();

    // The file to read now: after the first save into writePath that one,
    // also for a location made before it (the Ports dialog saves while the
    // window goes on reading).
    QString readPath() const;
    const QString &writePath() const { return m_writePath; }

    // Readies writePath for a save: makes its folder if missing (for the
    // owner only) and, when another file was read, starts it as a copy of
    // that. False when this failed.
    bool prepareWrite() const;

private:
    // Read until a file exists at m_writePath.
    QString m_readPath;
    QString m_writePath;
};
