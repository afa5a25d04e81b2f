#include "cli/progressview.h"

#include "cli/output.h"
#include "cli/unitjob.h"

#include <cstdio>

namespace {

constexpr int BarWidth = 30;

} // namespace

ProgressView::ProgressView(const Output &output, bool terminal)
    : m_output(output)
    , m_terminal(terminal && !output.json())
{
}

void ProgressView::Add(UnitJob *job)
{
    if (m_output.quiet())
        return;
    Line *line = m_lines.emplace_back(std::make_unique<Line>(Line{job, {}, 0, 0, {}, 0})).get();
    line->stepClock.start();
    QObject::connect(job, &UnitJob::StepShown, job, [this, line](const QString &text) { StepShown(*line, text); });
    QObject::connect(job, &UnitJob::BarMoved, job,
                     [this, line](int position, int maximum) { BarMoved(*line, position, maximum); });
    // A failure ends the operation without a step of its own: the bar shows
    // it, as the installer window's progress line does.
    QObject::connect(job, &UnitJob::Finished, job, [this, line] {
        if (m_terminal && line->job->ExitCode() != 0)
            StepShown(*line, line->job->Message());
    });
}

void ProgressView::StepShown(Line &line, const QString &text)
{
    line.step = Output::lines(text).replace(QLatin1Char('\n'), QLatin1Char(' '));
    line.stepClock.restart();
    line.stepStart = line.position;
    if (m_terminal) {
        Redraw();
        return;
    }
    m_output.progress(line.job->Target().name + QStringLiteral(": ") + line.step,
                      {{QStringLiteral("event"), QStringLiteral("step")},
                       {QStringLiteral("port"), line.job->Target().name},
                       {QStringLiteral("step"), text}});
}

void ProgressView::BarMoved(Line &line, int position, int maximum)
{
    if (position < line.position)
        line.stepStart = position;
    line.position = position;
    line.maximum = maximum;
    if (m_terminal) {
        Redraw();
        return;
    }
    if (m_output.json()) {
        const int percent = maximum > 0 ? int(qint64(position) * 100 / maximum) : 100;
        m_output.progress({}, {{QStringLiteral("event"), QStringLiteral("progress")},
                               {QStringLiteral("port"), line.job->Target().name},
                               {QStringLiteral("position"), position},
                               {QStringLiteral("maximum"), maximum},
                               {QStringLiteral("percent"), percent}});
    }
}

QString ProgressView::BarText(const Line &line) const
{
    const int percent = line.maximum > 0 ? int(qint64(line.position) * 100 / line.maximum) : 0;
    const int filled = percent * BarWidth / 100;
    const qint64 ms = qMax<qint64>(line.stepClock.elapsed(), 1);
    const qint64 rate = qint64(line.position - line.stepStart) * 1000 / ms;
    return QStringLiteral("%1 [%2%3] %4% %5 B/s  %6")
        .arg(line.job->Target().name, -6)
        .arg(QString(filled, QLatin1Char('#')), QString(BarWidth - filled, QLatin1Char('-')))
        .arg(percent, 3)
        .arg(rate, 6)
        .arg(line.step);
}

void ProgressView::Redraw()
{
    QString text;
    if (m_drawn)
        text = QStringLiteral("\033[%1A").arg(m_lines.size());
    for (const std::unique_ptr<Line> &line : m_lines)
        text += QStringLiteral("\r\033[K") + BarText(*line) + QLatin1Char('\n');
    m_drawn = true;
    writeText(stderr, text);
}
