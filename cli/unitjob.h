#pragma once

#include "cli/unittarget.h"
#include "installer/bootoperation.h"
#include "installer/heximage.h"

#include <QByteArray>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

class BootLink;
class QThread;

// One unit's installer operation on a thread of its own, which runs the
// link's nested waits in its own event loop, so that units never hold each
// other back. Progress and the end are signals, taken by the main thread.
class UnitJob : public QObject, private BootProgress
{
    Q_OBJECT

public:
    enum class Task { Flash, ClearEeprom, ReadFlash };

    // image: flashed (a copy of its own, as flashing adds the application
    // marker) or, for ReadFlash, whose size bounds the read; nullptr reads
    // the whole application area.
    UnitJob(const UnitTarget &target, Task task, const Installer::HexImage *image, QObject *parent = nullptr);
    ~UnitJob() override;

    void Start();
    // Ends the operation through its own failure path, closing the port.
    void Cancel();

    const UnitTarget &Target() const { return m_target; }
    // Once finished: the exit code, the last text the progress line showed
    // (the failure's, or "Successful!"), what ReadFlash read.
    int ExitCode() const { return m_exitCode; }
    const QString &Message() const { return m_message; }
    const QByteArray &Flash() const { return m_flash; }
    // The device type the unit reported, once known.
    const QString &DeviceType() const { return m_deviceType; }

signals:
    void StepShown(const QString &text);
    void BarMoved(int position, int maximum);
    void Finished();

private:
    void Run();

    // BootProgress, called on the job's thread.
    void ShowStep(const QString &text) override;
    void ShowDeviceType(const QString &text) override;
    void SetBarRange(int maximum) override;
    void SetBarPosition(int position) override;

    UnitTarget m_target;
    Task m_task;
    Installer::HexImage m_image;
    bool m_wholeArea;
    BootLink *m_link;
    QThread *m_thread;
    std::atomic<int> m_barMaximum = 0;
    int m_shownPercent = -1;
    int m_exitCode = 0;
    QString m_message;
    QString m_deviceType;
    QByteArray m_flash;
};
