#include "monitor/trafficlog.h"

#include "protocol/commandframe.h"

#include <algorithm>

int TrafficRow::code() const
{
    switch (kind) {
    case Kind::Sent:
        return size > Protocol::CommandFrame::CMD ? bytes[Protocol::CommandFrame::CMD] : -1;
    case Kind::Reply:
        return size > 0 ? bytes[0] : -1;
    default:
        return -1;
    }
}

TrafficLog::TrafficLog(qsizetype capacity)
    : m_capacity(std::max<qsizetype>(capacity, 1))
{
}

void TrafficLog::append(const TrafficRow &row)
{
    ++m_appended;
    if (size() < m_capacity) {
        m_rows.push_back(row);
        return;
    }
    m_rows[std::size_t(m_head)] = row;
    m_head = (m_head + 1) % m_capacity;
}

void TrafficLog::clear()
{
    m_rows.clear();
    m_head = 0;
}

const TrafficRow &TrafficLog::at(qsizetype i) const
{
    return m_rows.at(std::size_t((m_head + i) % std::max<qsizetype>(size(), 1)));
}
