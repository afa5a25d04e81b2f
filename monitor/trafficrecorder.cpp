#include "monitor/trafficrecorder.h"

#include <QDateTime>

#include <algorithm>

using Kind = TrafficRow::Kind;

TrafficRecorder::TrafficRecorder(Exchange &exchange, TrafficLog &log, QObject *parent)
    : QObject(parent)
    , m_log(log)
{
    m_sinceOpen.start();
    connect(&exchange, &Exchange::frameSent, this, [this](const Protocol::CommandFrame &frame) {
        add(Kind::Sent, QByteArrayView(frame.bytes().data(), frame.bytes().size()));
    });
    connect(&exchange, &Exchange::replyAssembled, this, [this](const Protocol::ReplyFrame &reply) {
        add(Kind::Reply, QByteArrayView(reply.bytes.data(), reply.bytes.size()));
    });
    connect(&exchange, &Exchange::bytesDiscarded, this,
            [this](const QByteArray &bytes) { add(Kind::Discarded, bytes); });
    connect(&exchange, &Exchange::replyTimedOut, this, [this] { add(Kind::TimeOut); });
    connect(&exchange, &Exchange::lineErrors, this, [this](quint32 errors) { add(Kind::LineError, {}, errors); });
    connect(&exchange, &Exchange::portEvent, this, &TrafficRecorder::portChanged);
}

void TrafficRecorder::portChanged(Exchange::PortEvent event)
{
    switch (event) {
    case Exchange::PortEvent::Opened:
        m_sinceOpen.restart();
        add(Kind::PortOpened);
        break;
    case Exchange::PortEvent::Closed:
        add(Kind::PortClosed);
        break;
    case Exchange::PortEvent::HungUp:
        add(Kind::PortHungUp);
        break;
    }
}

void TrafficRecorder::add(Kind kind, QByteArrayView bytes, quint32 lineErrors)
{
    TrafficRow row;
    row.micros = m_sinceOpen.nsecsElapsed() / 1000;
    row.wallMs = QDateTime::currentMSecsSinceEpoch();
    row.kind = kind;
    row.size = quint8(std::min<qsizetype>(bytes.size(), TrafficRow::MaxBytes));
    std::copy_n(bytes.begin(), row.size, row.bytes.begin());
    row.lineErrors = lineErrors;
    m_log.append(row);
}
