#pragma once

#include <QtGlobal>

#include <array>
#include <vector>

// One row of the traffic monitor: a frame that went out, a reply that was
// assembled, or something that is no frame (discarded bytes, a time-out, a
// line error, the port opening or closing). Fixed size, so that a full ring
// is one allocation and costs nothing per row.
struct TrafficRow
{
    enum class Kind : quint8 { Sent, Reply, Discarded, TimeOut, LineError, PortOpened, PortClosed, PortHungUp };

    // The most bytes a row holds: one received-bytes event's worth.
    static constexpr int MaxBytes = 20;

    qint64 micros = 0; // since the port was opened
    qint64 wallMs = 0; // since the epoch
    Kind kind = Kind::Sent;
    quint8 size = 0;
    std::array<quint8, MaxBytes> bytes{};
    quint32 lineErrors = 0; // CE_* flags

    // The command code of a sent frame or reply; -1 for the other kinds.
    int code() const;
};

// The last rows recorded, oldest first, in a ring of a fixed capacity:
// memory stops growing once it is full, however long it records.
class TrafficLog
{
public:
    static constexpr qsizetype DefaultCapacity = 100'000;

    explicit TrafficLog(qsizetype capacity = DefaultCapacity);

    void append(const TrafficRow &row);
    void clear();

    qsizetype size() const { return qsizetype(m_rows.size()); }
    qsizetype capacity() const { return m_capacity; }
    // Row i, 0 the oldest kept.
    const TrafficRow &at(qsizetype i) const;
    // Every row ever appended, for views that follow the ring: the oldest
    // kept row is number appended() - size().
    quint64 appended() const { return m_appended; }

private:
    qsizetype m_capacity;
    std::vector<TrafficRow> m_rows;
    // Where the oldest row is once the ring has wrapped.
    qsizetype m_head = 0;
    quint64 m_appended = 0;
};
