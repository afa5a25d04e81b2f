#pragma once

#include "app/portdevices.h"

#include <utility>

// A device of which nothing is known but its node (and by-id name).
inline PortDevice bareDevice(const QString &path, const QString &byIdName = {}, bool placeholder = false)
{
    return {path, byIdName, {}, {}, {}, placeholder};
}

// The devices a test says are present; set() is a plug or unplug.
class FakeDeviceSource : public DeviceSource
{
public:
    explicit FakeDeviceSource(QList<PortDevice> devices = {})
        : m_devices(std::move(devices))
    {
    }

    QList<PortDevice> devices() const override { return m_devices; }

    void set(QList<PortDevice> devices)
    {
        m_devices = std::move(devices);
        emit changed();
    }

private:
    QList<PortDevice> m_devices;
};
