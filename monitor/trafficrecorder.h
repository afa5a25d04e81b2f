#pragma once

#include "app/exchange.h"
#include "monitor/trafficlog.h"

#include <QElapsedTimer>
#include <QObject>

// Taps the exchange and records every row it tells of into the log, from
// the moment the port opens, whether or not a monitor window shows them.
// Appending to the ring is a copy of a few dozen bytes: the exchange does
// not feel it.
class TrafficRecorder : public QObject
{
    Q_OBJECT

public:
    TrafficRecorder(Exchange &exchange, TrafficLog &log, QObject *parent = nullptr);

    TrafficLog &log() const { return m_log; }

private:
    void add(TrafficRow::Kind kind, QByteArrayView bytes = {}, quint32 lineErrors = 0);
    void portChanged(Exchange::PortEvent event);

    TrafficLog &m_log;
    // Times count from the last opening of the port.
    QElapsedTimer m_sinceOpen;
};
