#pragma once

#include <QElapsedTimer>
#include <QString>

#include <memory>
#include <vector>

class Output;
class UnitJob;

// The progress of the units of one command on standard error: one bar line
// per unit with percentage and rate, redrawn in place, on a terminal; one
// line per step otherwise; JSON events with --json; nothing with --quiet.
class ProgressView
{
public:
    ProgressView(const Output &output, bool terminal);

    void Add(UnitJob *job);

private:
    struct Line
    {
        UnitJob *job;
        QString step;
        int position = 0;
        int maximum = 0;
        // Where the step began, for its rate.
        QElapsedTimer stepClock;
        int stepStart = 0;
    };

    void StepShown(Line &line, const QString &text);
    void BarMoved(Line &line, int position, int maximum);
    QString BarText(const Line &line) const;
    void Redraw();

    const Output &m_output;
    bool m_terminal;
    // Its connections end with each job: the view outlives the jobs.
    std::vector<std::unique_ptr<Line>> m_lines;
    bool m_drawn = false;
};
