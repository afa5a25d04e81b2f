#include "cli/interrupt.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

} // namespace

void Interrupt::BlockStopSignals()
{
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

Interrupt::Interrupt(QObject *parent)
    : QObject(parent)
{
    const sigset_t set = stopSignals();
    m_fd = ::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &Interrupt::SignalArrived);
}

Interrupt::~Interrupt()
{
    delete m_notifier;
    ::close(m_fd);
}

void Interrupt::SignalArrived()
{
    signalfd_siginfo info{};
    while (::read(m_fd, &info, sizeof info) == sizeof info) {
    }
    if (m_raised)
        return;
    m_raised = true;
    emit raised();
}
