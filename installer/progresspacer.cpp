#include "installer/progresspacer.h"

#include "toolkit/ticks.h"

#include <utility>

ProgressPacer::ProgressPacer(Show show, quint32 intervalMs)
    : m_show(std::move(show))
    , m_interval(intervalMs)
    , m_shownAt(Toolkit::Ticks() - intervalMs)
{
}

void ProgressPacer::setScale(int maximum, int length)
{
    m_maximum = maximum;
    m_length = length;
}

void ProgressPacer::setPosition(int position)
{
    m_latest = position;
    if (filledLength(position) != filledLength(m_shown) && Toolkit::Ticks() - m_shownAt >= m_interval)
        show(position);
}

void ProgressPacer::flush()
{
    if (m_latest != m_shown)
        show(m_latest);
}

qint64 ProgressPacer::filledLength(int position) const
{
    return m_maximum > 0 ? qint64(position) * m_length / m_maximum : 0;
}

void ProgressPacer::show(int position)
{
    m_shown = position;
    m_shownAt = Toolkit::Ticks();
    m_show(position);
}
