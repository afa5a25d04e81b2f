#include "monitor/trafficmodel.h"

#include "monitor/trafficformat.h"

#include <algorithm>

using Kind = TrafficRow::Kind;

TrafficModel::TrafficModel(const TrafficLog &log, QObject *parent)
    : QAbstractTableModel(parent)
    , m_log(log)
{
    m_first = m_log.appended() - quint64(m_log.size());
}

void TrafficModel::sync()
{
    const quint64 oldest = m_log.appended() - quint64(m_log.size());
    const int lost = int(std::min<quint64>(oldest > m_first ? oldest - m_first : 0, quint64(m_count)));
    if (lost > 0) {
        beginRemoveRows({}, 0, lost - 1);
        m_first += quint64(lost);
        m_count -= lost;
        endRemoveRows();
    }
    // After a clear nothing shown is left and the view starts at the oldest.
    if (m_count == 0)
        m_first = oldest;
    const int added = int(m_log.appended() - m_first) - m_count;
    if (added > 0) {
        beginInsertRows({}, m_count, m_count + added - 1);
        m_count += added;
        endInsertRows();
    }
}

const TrafficRow *TrafficModel::rowAt(int row) const
{
    const quint64 oldest = m_log.appended() - quint64(m_log.size());
    const quint64 number = m_first + quint64(row);
    if (row < 0 || number < oldest || number >= m_log.appended())
        return nullptr;
    return &m_log.at(qsizetype(number - oldest));
}

int TrafficModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int TrafficModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : TrafficFormat::ColumnCount;
}

QVariant TrafficModel::data(const QModelIndex &index, int role) const
{
    const TrafficRow *row = rowAt(index.row());
    if (!row)
        return {};
    const auto column = TrafficFormat::Column(index.column());
    switch (role) {
    case Qt::DisplayRole:
        // The table's clock is the time of day; the date is in the tooltip.
        if (column == TrafficFormat::Clock)
            return TrafficFormat::clockText(row->wallMs).mid(11);
        return TrafficFormat::cell(*row, column);
    case Qt::ToolTipRole:
        return TrafficFormat::clockText(row->wallMs);
    default:
        return {};
    }
}

QVariant TrafficModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return TrafficFormat::headings().value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

TrafficFilter::TrafficFilter(TrafficModel &model, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_model(model)
{
    setSourceModel(&model);
}

void TrafficFilter::setCode(int code)
{
    m_code = code;
    invalidateFilter();
}

void TrafficFilter::setDirection(Direction direction)
{
    m_direction = direction;
    invalidateFilter();
}

bool TrafficFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const TrafficRow *row = m_model.rowAt(sourceRow);
    if (!row)
        return false;
    if (m_code >= 0 && row->code() != m_code)
        return false;
    switch (m_direction) {
    case Direction::All:
        return true;
    case Direction::Sent:
        return row->kind == Kind::Sent;
    case Direction::Received:
        return row->kind == Kind::Reply || row->kind == Kind::Discarded;
    case Direction::Events:
        return row->kind != Kind::Sent && row->kind != Kind::Reply && row->kind != Kind::Discarded;
    }
    return true;
}
