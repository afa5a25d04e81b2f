#pragma once

#include "app/portdevices.h"

class QFileSystemWatcher;
class QTimer;

// The machine's serial devices, as Qt's serial port info lists them, with
// their /dev/serial/by-id names. Once something listens to changed(), it
// watches /dev and /dev/serial/by-id, so that a device plugged in or
// unplugged raises changed() without any polling. Only then: closing a
// watch makes the kernel wait for a grace period (about 10 ms), which a
// program that only lists the devices should not pay on every run.
class SystemDeviceSource : public DeviceSource
{
    Q_OBJECT

public:
    using DeviceSource::DeviceSource;

    QList<PortDevice> devices() const override;

    // Whether the serial core's attribute ttyClassFolder/portName/type
    // reports no UART (0): the slot of an on-board port that is not there.
    // Ports of other drivers have no such attribute.
    static bool isPlaceholderUart(const QString &ttyClassFolder, const QString &portName);

protected:
    void connectNotify(const QMetaMethod &signal) override;

private:
    // Watches the folders that exist now; one made later (the first adapter
    // makes /dev/serial) shows as a change of its parent.
    void watchFolders();
    void folderChanged();

    QFileSystemWatcher *m_watcher = nullptr;
    // udev makes a device's node and links one after the other: one
    // changed() once they have settled.
    QTimer *m_settle = nullptr;
};
