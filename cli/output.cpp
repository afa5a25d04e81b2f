#include "cli/output.h"

#include <QJsonDocument>
#include <QJsonObject>

void writeText(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

Output::Output(bool json, bool quiet)
    : m_json(json)
    , m_quiet(quiet)
{
}

QString Output::lines(const QString &message)
{
    QString text = message;
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QString Output::textLine(const Fields &fields)
{
    QStringList pairs;
    for (const auto &[name, value] : fields) {
        QString shown;
        if (value.isBool())
            shown = value.toBool() ? QStringLiteral("on") : QStringLiteral("off");
        else if (value.isDouble())
            shown = QString::number(value.toInteger());
        else
            shown = value.toString();
        if (shown.isEmpty() || shown.contains(QLatin1Char(' ')))
            shown = QLatin1Char('"') + shown + QLatin1Char('"');
        pairs << name + QLatin1Char('=') + shown;
    }
    return pairs.join(QLatin1Char(' '));
}

void Output::jsonLine(std::FILE *stream, const Fields &fields) const
{
    QJsonObject object;
    for (const auto &[name, value] : fields)
        object.insert(name, value);
    writeText(stream, QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) + QLatin1Char('\n'));
}

void Output::result(const Fields &fields) const
{
    result(textLine(fields), fields);
}

void Output::result(const QString &text, const Fields &fields) const
{
    if (m_quiet)
        return;
    if (m_json)
        jsonLine(stdout, fields);
    else
        writeText(stdout, text + QLatin1Char('\n'));
}

void Output::progress(const QString &text, const Fields &fields) const
{
    if (m_quiet)
        return;
    if (m_json)
        jsonLine(stderr, fields);
    else
        writeText(stderr, text + QLatin1Char('\n'));
}

void Output::error(const QString &text) const
{
    if (m_json)
        jsonLine(stderr, {{QStringLiteral("error"), lines(text)}});
    else
        writeText(stderr, QStringLiteral("karvctl: ") + lines(text) + QLatin1Char('\n'));
}
