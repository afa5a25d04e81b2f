#pragma once

struct Options;
struct UnitTarget;
class DeviceSource;
class Interrupt;
class Output;
class SettingsLocation;

// The commands that talk to the unit's command link, and the port list.
// Each returns its exit code.
int RunPorts(const Output &output, const DeviceSource &devices, const SettingsLocation &settings);
int RunGet(const Options &options, const UnitTarget &target, const Output &output, const Interrupt &interrupt);
int RunSend(const Options &options, const UnitTarget &target, const Output &output, const Interrupt &interrupt);
