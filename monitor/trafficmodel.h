#pragma once

#include "monitor/trafficlog.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

// The traffic log as a table. It follows the log when told (sync), so that a
// view takes the rows recorded meanwhile in one go, and a paused view keeps
// showing what it showed. Rows the ring dropped since read as empty.
class TrafficModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TrafficModel(const TrafficLog &log, QObject *parent = nullptr);

    // Drops the rows the ring has lost, adds the ones recorded since.
    void sync();

    // The log row a table row shows; nullptr when the ring dropped it.
    const TrafficRow *rowAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TrafficLog &m_log;
    // The number, counted over all rows ever appended, of the first row shown.
    quint64 m_first = 0;
    int m_count = 0;
};

// Which rows the monitor shows: of one command (or all), of one direction
// (or all).
class TrafficFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    enum class Direction { All, Sent, Received, Events };

    explicit TrafficFilter(TrafficModel &model, QObject *parent = nullptr);

    // -1 for every command; other rows than frames then pass too.
    void setCode(int code);
    void setDirection(Direction direction);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    TrafficModel &m_model;
    int m_code = -1;
    Direction m_direction = Direction::All;
};
