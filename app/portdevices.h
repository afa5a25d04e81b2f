#pragma once

#include <QList>
#include <QObject>
#include <QString>

// Where udev links each USB serial adapter under a name made of its maker,
// product and serial number.
inline const QString kSerialByIdFolder = QStringLiteral("/dev/serial/by-id");

// One serial device present on the machine.
struct PortDevice
{
    // The device node, such as /dev/ttyUSB0.
    QString path;
    // Its link's name in /dev/serial/by-id (USB adapters); empty when none.
    QString byIdName;
    QString manufacturer;
    QString product;
    QString serialNumber;
    // An on-board UART slot whose driver found no UART behind it.
    bool placeholder = false;

    // The link in /dev/serial/by-id when there is one, else the node: the
    // path that names this adapter whatever order it was plugged in.
    QString stablePath() const;
    // Maker, product and serial number, those that are known, for people.
    QString description() const;
};

// The serial devices present, and word when that changes. Tests stand in a
// list of their own for the machine's.
class DeviceSource : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual QList<PortDevice> devices() const = 0;

signals:
    // A device was plugged in or unplugged.
    void changed();
};
