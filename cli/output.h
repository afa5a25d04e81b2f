#pragma once

#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>

#include <cstdio>

// Named values in the order they are printed.
using Fields = QList<QPair<QString, QJsonValue>>;

// Where karvctl's texts go: results to standard output, progress and errors
// to standard error; as text (name=value pairs on one line) or, with --json,
// one JSON object a line. --quiet keeps only errors.
class Output
{
public:
    Output(bool json, bool quiet);

    bool json() const { return m_json; }
    bool quiet() const { return m_quiet; }

    void result(const Fields &fields) const;
    // A result that reads best as a sentence; JSON gets the fields.
    void result(const QString &text, const Fields &fields) const;
    // A progress event; as text, the line given.
    void progress(const QString &text, const Fields &fields) const;
    // An error; its "\r" line breaks become new lines.
    void error(const QString &text) const;

    // The operator's message as one line per "\r".
    static QString lines(const QString &message);
    static QString textLine(const Fields &fields);

private:
    void jsonLine(std::FILE *stream, const Fields &fields) const;

    bool m_json;
    bool m_quiet;
};

// Writes text as the terminal's encoding and flushes, so that lines of
// several sources keep their order.
void writeText(std::FILE *stream, const QString &text);
