#pragma once

#include <QList>

struct Options;
struct UnitTarget;
class Interrupt;
class Output;

// The installer's operations from the command line: flash, clear-eeprom,
// read-flash and verify, each unit on a thread of its own. Each returns its
// exit code.
int RunFlash(const Options &options, const QList<UnitTarget> &targets, const Output &output,
             const Interrupt &interrupt);
int RunClearEeprom(const Options &options, const QList<UnitTarget> &targets, const Output &output,
                   const Interrupt &interrupt);
int RunReadFlash(const Options &options, const QList<UnitTarget> &targets, const Output &output,
                 const Interrupt &interrupt);
int RunVerify(const Options &options, const QList<UnitTarget> &targets, const Output &output,
              const Interrupt &interrupt);
