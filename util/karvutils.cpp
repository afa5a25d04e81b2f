#include "util/karvutils.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QTextStream>

namespace KarvUtils {

namespace {

// The record is a list of "query=value" lines, the query being the path under
// which the value is found ("\VarFileInfo\Translation", "\StringFileInfo\...").
QHash<QString, QString> readRecord(const QString &path)
{
    QHash<QString, QString> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            entries.insert(line.left(eq), line.mid(eq + 1));
    }
    return entries;
}

} // namespace

QString SettingsFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/KarvControl.ini");
}

QString FileVersion(const QString &recordPath)
{
    const QHash<QString, QString> record = readRecord(recordPath);
    if (record.isEmpty())
        return {};

    bool ok = false;
    const quint32 translation =
        record.value(QStringLiteral("\\VarFileInfo\\Translation")).toUInt(&ok, 0);
    if (!ok)
        return {};

    // The entry holds the language in its low word and the code page in its
    // high word: "04E40407" is code page 04E4, language 0407.
    const QString digits = QStringLiteral("%1").arg(translation, 8, 16, QLatin1Char('0')).toUpper();
    const QString language = digits.right(4);
    const QString codePage = digits.left(4);
    return record.value(QStringLiteral("\\StringFileInfo\\") + language + codePage
                        + QStringLiteral("\\FileVersion"));
}

QString ShortVersion(const QString &version)
{
    // Positions are counted from 1 as in the version text's usual reading.
    const qsizetype length = version.size();
    qsizetype p = 1;
    while (p < length && version.at(p - 1) != QLatin1Char('.'))
        ++p;

    QString result = version.left(p + 1);
    for (qsizetype i = p + 3; i < length && version.at(i - 1) != QLatin1Char('.'); ++i)
        result += version.at(i - 1);
    if (result.size() == 3)
        result += QLatin1Char('0');
    return result;
}

} // namespace KarvUtils
