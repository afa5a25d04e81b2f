#pragma once

#include <QObject>

class QSocketNotifier;

// Ctrl+C (SIGINT) and SIGTERM as an event of the main thread, so that every
// wait ends cleanly and closes its port. The signals are blocked in every
// thread and read from a signalfd: call BlockStopSignals() before any thread
// starts.
class Interrupt : public QObject
{
    Q_OBJECT

public:
    static void BlockStopSignals();

    explicit Interrupt(QObject *parent = nullptr);
    ~Interrupt() override;

    bool Raised() const { return m_raised; }

signals:
    void raised();

private:
    void SignalArrived();

    int m_fd;
    QSocketNotifier *m_notifier;
    bool m_raised = false;
};
