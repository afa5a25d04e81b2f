#pragma once

#include "app/portmap.h"

#include <QDialog>

#include <array>

class DeviceSource;
class QComboBox;
class QTreeWidget;

// "Ports...": the serial devices present, and what each of COM1..COM9
// opens. Each name takes a device of the list or a typed path; left empty
// it follows the devices present. OK writes section Ports of the settings
// file; Cancel and Escape leave the file as it was. The list follows devices
// being plugged in and unplugged while the dialog is open.
class TFormPorts : public QDialog
{
    Q_OBJECT

public:
    TFormPorts(const DeviceSource &devices, const SettingsLocation &settings, QWidget *parent = nullptr);

public slots:
    // OK: refuses an entry that is no absolute path, and stays open when
    // the file cannot be written.
    void accept() override;

private:
    void showDevices();

    QTreeWidget *ListDevices;
    std::array<QComboBox *, PortMap::kPortCount> m_entries{};
    const DeviceSource &m_devices;
    SettingsLocation m_settings;
};
