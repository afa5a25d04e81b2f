#include "app/systemdevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QMetaMethod>
#include <QSerialPortInfo>
#include <QTimer>

namespace {

const QString kTtyClassFolder = QStringLiteral("/sys/class/tty");

// Device node to the name of its link in /dev/serial/by-id.
QHash<QString, QString> byIdNames()
{
    QHash<QString, QString> names;
    const QDir folder(kSerialByIdFolder);
    for (const QFileInfo &link : folder.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString node = link.canonicalFilePath();
        if (!node.isEmpty())
            names.insert(node, link.fileName());
    }
    return names;
}

} // namespace

void SystemDeviceSource::connectNotify(const QMetaMethod &signal)
{
    if (m_watcher || signal != QMetaMethod::fromSignal(&DeviceSource::changed))
        return;
    m_watcher = new QFileSystemWatcher(this);
    m_settle = new QTimer(this);
    m_settle->setSingleShot(true);
    m_settle->setInterval(200);
    connect(m_settle, &QTimer::timeout, this, &DeviceSource::changed);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &SystemDeviceSource::folderChanged);
    watchFolders();
}

void SystemDeviceSource::watchFolders()
{
    for (const QString &folder : {QStringLiteral("/dev"), QStringLiteral("/dev/serial"),
                                  kSerialByIdFolder}) {
        if (!m_watcher->directories().contains(folder) && QFileInfo(folder).isDir())
            m_watcher->addPath(folder);
    }
}

void SystemDeviceSource::folderChanged()
{
    watchFolders();
    m_settle->start();
}

QList<PortDevice> SystemDeviceSource::devices() const
{
    const QHash<QString, QString> byId = byIdNames();
    QList<PortDevice> devices;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts()) {
        // The kernel removes the node before the rest of the device.
        if (!QFileInfo::exists(port.systemLocation()))
            continue;
        devices.append({port.systemLocation(), byId.value(port.systemLocation()), port.manufacturer(),
                        port.description(), port.serialNumber(),
                        isPlaceholderUart(kTtyClassFolder, port.portName())});
    }
    return devices;
}

bool SystemDeviceSource::isPlaceholderUart(const QString &ttyClassFolder, const QString &portName)
{
    QFile type(ttyClassFolder + QLatin1Char('/') + portName + QStringLiteral("/type"));
    return type.open(QIODevice::ReadOnly) && type.read(16).trimmed() == "0";
}
