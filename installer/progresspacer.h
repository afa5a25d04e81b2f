#pragma once

#include <QtGlobal>

#include <functional>

// Paces the positions an operation gives its progress bar, one for every
// word: each would repaint the bar and be announced to assistive technology,
// thousands of times a flash. A position goes on to the bar only when it
// changes the bar's filled length, and no sooner than an interval after the
// last one; flush() then gives the bar the last position exactly.
class ProgressPacer
{
public:
    using Show = std::function<void(int position)>;

    ProgressPacer(Show show, quint32 intervalMs);

    // The bar's maximum position and its length in pixels.
    void setScale(int maximum, int length);
    void setPosition(int position);
    void flush();

private:
    qint64 filledLength(int position) const;
    void show(int position);

    Show m_show;
    quint32 m_interval;
    int m_maximum = 0;
    int m_length = 0;
    int m_shown = 0;
    int m_latest = 0;
    quint32 m_shownAt = 0;
};
