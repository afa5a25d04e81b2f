#pragma once

struct Options;
struct UnitTarget;
class Interrupt;
class Output;

// karvctl config read|write|diff FILE: the configuration window's operations
// on the command line. Returns the exit code; diff's is 1 when the unit differs.
int RunConfig(const Options &options, const UnitTarget &target, const Output &output, const Interrupt &interrupt);
