#include "cli/unitjob.h"

#include "app/openfailuretext.h"
#include "cli/exitcode.h"
#include "installer/bootlink.h"
#include "installer/eepromclearer.h"
#include "installer/flashprogrammer.h"
#include "installer/flashreader.h"
#include "serial/comm32.h"

#include <QThread>

UnitJob::UnitJob(const UnitTarget &target, Task task, const Installer::HexImage *image, QObject *parent)
    : QObject(parent)
    , m_target(target)
    , m_task(task)
    , m_wholeArea(image == nullptr)
    , m_link(new BootLink)
    , m_thread(QThread::create([this] { Run(); }))
{
    if (image)
        m_image = *image;
    m_link->ModuleAddress = target.address;
    m_link->PortName = target.name;
    m_link->PortDevice = target.device;
    m_link->PortBaud = target.baud;
    // Every reply is a line event: the job's own waits take them, with no
    // event thread and hand-over per reply (the CPU of many units at once).
    m_link->comm32()->SetInLoopEvents(true);
    // The link and its serial component live on the job's thread: their
    // events are served by its waits.
    m_link->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, this, &UnitJob::Finished);
}

UnitJob::~UnitJob()
{
    Cancel();
    m_thread->wait();
    delete m_link;
    delete m_thread;
}

void UnitJob::Start()
{
    m_thread->start();
}

void UnitJob::Cancel()
{
    m_link->Cancel();
}

void UnitJob::Run()
{
    const BootOutcome outcome = RunBootOperation(*m_link, *this, [this] {
        switch (m_task) {
        case Task::Flash:
            SetBarPosition(0);
            SetBarRange(int(m_image.ImageLast));
            FlashProgrammer(*m_link, *this).Run(m_image);
            break;
        case Task::ClearEeprom:
            EepromClearer(*m_link, *this).Run();
            break;
        case Task::ReadFlash:
            m_flash = FlashReader(*m_link, *this).Run(m_wholeArea ? FlashProgrammer::BootLoaderStart
                                                                 : m_image.ImageLast + 1);
            break;
        }
    });
    if (outcome.kind != BootOutcome::Done && m_link->Cancelled()) {
        m_exitCode = ExitInterrupted;
        m_message = QStringLiteral("Interrupted.");
    } else if (outcome.kind == BootOutcome::EntryFailed) {
        m_exitCode = ExitPortFailed;
        const TC32OpenFailure &failure = m_link->comm32()->OpenFailure();
        m_message = failure.Path.isEmpty() ? outcome.message
                                           : outcome.message + QLatin1Char('\r') + OpenFailureReason(failure);
    } else if (outcome.kind == BootOutcome::Failed) {
        m_exitCode = ExitUnitFailed;
        m_message = outcome.message;
    }
    // Closed on every path by now: back to the job's owner, which deletes it.
    m_link->moveToThread(thread());
}

void UnitJob::ShowStep(const QString &text)
{
    m_message = text;
    emit StepShown(text);
}

void UnitJob::ShowDeviceType(const QString &text)
{
    m_deviceType = text;
}

void UnitJob::SetBarRange(int maximum)
{
    m_barMaximum = maximum;
    m_shownPercent = -1;
}

void UnitJob::SetBarPosition(int position)
{
    // One signal per whole percent: a word each is thousands a second.
    const int maximum = m_barMaximum;
    const int percent = maximum > 0 ? int(qint64(qMin(position, maximum)) * 100 / maximum) : 100;
    if (percent == m_shownPercent)
        return;
    m_shownPercent = percent;
    emit BarMoved(qMin(position, maximum), maximum);
}
