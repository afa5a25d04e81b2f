#pragma once

#include <QList>
#include <QString>

struct Options;
class DeviceSource;
class SettingsLocation;

// One unit to talk to: the port as the operator named it, the device that
// is opened, the unit's rate and address.
struct UnitTarget
{
    QString name;
    QString device;
    int baud = 19200;
    quint8 address = 0x01;
};

// The units of a command line, or why there are none: exitCode 2 for a name
// that is no port name, 3 for one that stands for no device.
struct TargetChoice
{
    QList<UnitTarget> targets;
    int exitCode = 0;
    QString problem;
};

// --port, --baud and --address, each defaulting to the panel's settings
// (COM1, 19200, 01 without them). COMn resolves as in the panel; a path is
// opened as given.
TargetChoice ChooseTargets(const Options &options, const SettingsLocation &settings, const DeviceSource &devices);
