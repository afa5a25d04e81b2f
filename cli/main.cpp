// karvctl: the unit from the command line, a second face of the panel's
// library that needs no display.

#include "app/commandline.h"
#include "app/settingslocation.h"
#include "app/systemdevices.h"
#include "cli/bootcommands.h"
#include "cli/configcommands.h"
#include "cli/exitcode.h"
#include "cli/interrupt.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/querycommands.h"
#include "cli/unittarget.h"

#include <QCoreApplication>

namespace {

int run(const Options &options)
{
    const Output output(options.json, options.quiet);
    const Interrupt interrupt;
    const SettingsLocation settings = SettingsLocation::forThisProgram();
    const SystemDeviceSource devices;
    if (options.command == QLatin1String("ports"))
        return RunPorts(output, devices, settings);

    const TargetChoice choice = ChooseTargets(options, settings, devices);
    if (choice.exitCode != ExitSuccess) {
        output.error(choice.problem);
        return choice.exitCode;
    }
    if (options.command == QLatin1String("get"))
        return RunGet(options, choice.targets.constFirst(), output, interrupt);
    if (options.command == QLatin1String("send"))
        return RunSend(options, choice.targets.constFirst(), output, interrupt);
    if (options.command == QLatin1String("flash"))
        return RunFlash(options, choice.targets, output, interrupt);
    if (options.command == QLatin1String("clear-eeprom"))
        return RunClearEeprom(options, choice.targets, output, interrupt);
    if (options.command == QLatin1String("config"))
        return RunConfig(options, choice.targets.constFirst(), output, interrupt);
    if (options.command == QLatin1String("read-flash"))
        return RunReadFlash(options, choice.targets, output, interrupt);
    return RunVerify(options, choice.targets, output, interrupt);
}

} // namespace

int main(int argc, char *argv[])
{
    // Before any thread starts, so that every thread inherits the mask and
    // the signals arrive only as the main thread's event.
    Interrupt::BlockStopSignals();
    const ParsedCommandLine parsed = parseOptions(argumentList(argc, argv));
    if (!parsed.options) {
        writeText(stdout, parsed.standardOutput);
        writeText(stderr, parsed.standardError);
        return parsed.exitCode;
    }
    QCoreApplication app(argc, argv);
    return run(*parsed.options);
}
