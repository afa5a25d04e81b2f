#include "plot/plotdata.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

PlotData::PlotData(std::size_t capacity)
    : m_capacity(std::max<std::size_t>(capacity, 1))
{
}

void PlotData::add(double seconds, const QuantityValue &value)
{
    if (m_samples.size() == m_capacity)
        m_samples.pop_front();
    m_samples.push_back({seconds, value.quantity, value.value});
}

QByteArray PlotData::toCsv() const
{
    const std::size_t count = Quantities().size();
    std::vector<int> column(count, -1);
    for (const Sample &sample : m_samples)
        column[std::size_t(sample.quantity)] = 0;
    QStringList heading{QStringLiteral("Time (s)")};
    for (std::size_t i = 0; i < count; ++i) {
        if (column[i] == 0) {
            column[i] = int(heading.size());
            heading << QString(Quantities()[i].name);
        }
    }
    QByteArray csv = heading.join(QLatin1Char(',')).toUtf8() + "\r\n";
    QStringList record;
    const auto flush = [&] {
        if (!record.isEmpty())
            csv += record.join(QLatin1Char(',')).toUtf8() + "\r\n";
        record.clear();
    };
    double at = 0;
    for (const Sample &sample : m_samples) {
        if (record.isEmpty() || sample.seconds != at) {
            flush();
            at = sample.seconds;
            record = QStringList(heading.size(), QString());
            record[0] = QString::number(at, 'f', 6);
        }
        record[column[std::size_t(sample.quantity)]] = QString::number(sample.value, 'g', 12);
    }
    flush();
    return csv;
}
