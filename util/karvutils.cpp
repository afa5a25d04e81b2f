#include "util/karvutils.h"

#include "util/convert_error.h"

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

// The value of one hexadecimal digit, -1 for any other character.
int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

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

qint32 SignExtend(qint32 value, int signBit)
{
    if (signBit < 1 || signBit > 30)
        return value;
    const qint64 signWeight = qint64(1) << signBit;
    if (value < signWeight)
        return value;
    return qint32(value - 2 * signWeight);
}

QString IntToBin(quint32 value, int digits)
{
    QString text(qMax(digits, 0), QLatin1Char('0'));
    for (int bit = 0; bit < qMin(digits, 32); ++bit) {
        if ((value >> bit) & 1u)
            text[digits - 1 - bit] = QLatin1Char('1');
    }
    return text;
}

qint32 BinToInt(const QString &text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text.at(first).unicode() <= 32)
        ++first;
    while (end > first && text.at(end - 1).unicode() <= 32)
        --end;

    // Unsigned so that digits beyond the 32nd shift out instead of overflowing.
    quint32 result = 0;
    quint32 weight = 1;
    for (qsizetype i = end - 1; i >= first; --i, weight <<= 1) {
        const QChar c = text.at(i);
        if (c == QLatin1Char(' '))
            break;
        if (c == QLatin1Char('1'))
            result += weight;
        else if (c != QLatin1Char('0'))
            throw EConvertError(QStringLiteral("Ungültige Binärzahl"));
    }
    return qint32(result);
}

QString HexText(qint32 value, int minDigits)
{
    return QString::number(quint32(value), 16).toUpper().rightJustified(minDigits, QLatin1Char('0'));
}

qint32 HexTextToInt(const QString &text)
{
    quint64 value = 0;
    bool valid = !text.isEmpty();
    for (qsizetype i = 0; valid && i < text.size(); ++i) {
        const int digit = hexDigitValue(text.at(i));
        value = value * 16 + quint64(qMax(digit, 0));
        valid = digit >= 0 && value <= 0xFFFFFFFFu;
    }
    if (!valid)
        throw EConvertError(QStringLiteral("'$%1' ist kein gültiger Integerwert").arg(text));
    return qint32(quint32(value));
}

qint32 DecimalTextToInt(const QString &text)
{
    bool valid = false;
    const qint32 value = text.toInt(&valid, 10);
    // toInt passes surrounding blanks; the number is the whole text.
    if (!valid || text.trimmed().size() != text.size())
        throw EConvertError(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text));
    return value;
}

quint8 HexTextToByte(const QString &text)
{
    return quint8(HexTextToInt(text) & 0xFF);
}

} // namespace KarvUtils
