#include "cli/options.h"

#include "app/linerates.h"
#include "cli/exitcode.h"
#include "protocol/exchangetiming.h"
#include "util/karvutils.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <algorithm>

namespace {

// Written out rather than taken from the parser, whose usage line names the
// executable only once an application object exists.
const char usage[] =
    "Usage: karvctl [options] COMMAND [arguments]\n"
    "The Karvel 2 stepper-motor controller unit from the command line.\n"
    "\n"
    "Commands:\n"
    "  ports                 Lists every port name COM1..COM9 that stands for a device,\n"
    "                        with the device and, for USB adapters, maker, product and\n"
    "                        serial number.\n"
    "  get QUERY             Sends a query and prints the decoded reply. QUERY is one of\n"
    "                        position, acc-vel, actual-acc-vel, currents, encoder,\n"
    "                        switches, firmware, volt-temp.\n"
    "  send CMD [P0..P6]     Sends any frame given as hexadecimal bytes (missing ones are\n"
    "                        00) and prints the reply, raw and decoded, when the command\n"
    "                        has one; otherwise returns once the frame has left.\n"
    "  flash FILE            Installs an Intel HEX firmware file: boot entry, erase,\n"
    "                        write, verify. Several ports are flashed in parallel.\n"
    "  clear-eeprom          Resets the unit's settings to factory default (clears its\n"
    "                        EEPROM). Asks first on a terminal; needs --yes otherwise.\n"
    "  read-flash FILE       Writes the unit's application flash (0x0000..0xF7FF) into\n"
    "                        FILE as Intel HEX.\n"
    "  verify FILE           Compares the unit's flash with a firmware file without\n"
    "                        writing anything; reports the first differing address.\n"
    "  config read FILE      Reads every stored setting of the four parameter pages and\n"
    "                        saves them to FILE, one section per command.\n"
    "  config write FILE     Saves the unit's settings as a backup, writes FILE into the\n"
    "                        unit and reads every command back. Addresses, link speed and\n"
    "                        CAN IDs are left as the unit has them without --include-identity.\n"
    "  config diff FILE      Reads the unit and prints every field that differs from FILE;\n"
    "                        exit code 0 when none does, 1 when one does.\n"
    "\n"
    "Options:\n"
    "  --port NAME           COM1..COM9 (resolved as the panel resolves them) or a device\n"
    "                        path. flash, clear-eeprom and verify take several: repeat\n"
    "                        the option or give a comma list.\n"
    "  --baud RATE           The unit's rate: 2400, 4800, 9600, 19200, 38400 or 57600.\n"
    "  --address HEX         The unit address, two hexadecimal digits.\n"
    "  --watch MS            get: repeats the query every MS milliseconds (at least 100)\n"
    "                        until interrupted, one time-stamped line per reply.\n"
    "  --yes                 clear-eeprom: clears without asking.\n"
    "  --temporarily         config write: \"Set temporarily\" instead of storing in EEPROM.\n"
    "  --include-identity    config write and diff: the addresses, link speed and CAN IDs\n"
    "                        too ($C1 last).\n"
    "  --json                Prints one JSON object per line: results on standard output,\n"
    "                        progress and errors on standard error.\n"
    "  --quiet               Prints only errors.\n"
    "  -h, --help            Displays this help.\n"
    "  -v, --version         Displays version information.\n"
    "\n"
    "Port, rate and address default to the panel's settings file (KarvControl.ini),\n"
    "where one is found, else to COM1, 19200 and 01.\n"
    "Progress goes to standard error: a bar on a terminal, one line per step otherwise.\n"
    "\n"
    "Exit status:\n"
    "  0    Success.\n"
    "  1    The unit failed the operation (no reply, verify difference, not a Karvel 2...).\n"
    "  2    Bad usage or a bad input file.\n"
    "  3    The port could not be opened.\n"
    "  130  Interrupted (Ctrl+C): the port is closed and its settings restored.\n"
    "  With several ports, the highest of the units' codes.\n";

struct CommandShape
{
    const char *name;
    int leastArguments;
    int mostArguments;
    bool severalPorts;
};

constexpr CommandShape kCommands[] = {
    {"ports", 0, 0, false},     {"get", 1, 1, false},          {"send", 1, 8, false},
    {"flash", 1, 1, true},      {"clear-eeprom", 0, 0, true},  {"read-flash", 1, 1, false},
    {"verify", 1, 1, true},     {"config", 2, 2, false},
};

ParsedCommandLine misuse(const QString &message)
{
    return {std::nullopt, ExitBadUsage, {},
            QStringLiteral("karvctl: ") + message + QStringLiteral("\nTry 'karvctl --help'.\n")};
}

} // namespace

ParsedCommandLine parseOptions(const QStringList &arguments)
{
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption port(QStringLiteral("port"), {}, QStringLiteral("NAME"));
    const QCommandLineOption baud(QStringLiteral("baud"), {}, QStringLiteral("RATE"));
    const QCommandLineOption address(QStringLiteral("address"), {}, QStringLiteral("HEX"));
    const QCommandLineOption watch(QStringLiteral("watch"), {}, QStringLiteral("MS"));
    const QCommandLineOption yes(QStringLiteral("yes"));
    const QCommandLineOption temporarily(QStringLiteral("temporarily"));
    const QCommandLineOption includeIdentity(QStringLiteral("include-identity"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption quiet(QStringLiteral("quiet"));
    QCommandLineParser parser;
    parser.addOptions({help, version, port, baud, address, watch, yes, temporarily, includeIdentity, json, quiet});

    if (!parser.parse(arguments))
        return misuse(parser.errorText());
    if (parser.isSet(help))
        return {std::nullopt, ExitSuccess, QLatin1String(usage), {}};
    if (parser.isSet(version))
        return {std::nullopt, ExitSuccess, QStringLiteral("karvctl %1\n").arg(KarvUtils::FileVersion()), {}};

    Options options;
    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return misuse(QStringLiteral("no command given."));
    options.command = positional.takeFirst();
    options.arguments = positional;
    const auto shape = std::find_if(std::begin(kCommands), std::end(kCommands), [&options](const CommandShape &c) {
        return options.command == QLatin1String(c.name);
    });
    if (shape == std::end(kCommands))
        return misuse(QStringLiteral("unknown command '%1'.").arg(options.command));
    if (options.arguments.size() < shape->leastArguments)
        return misuse(QStringLiteral("%1 needs more arguments.").arg(options.command));
    if (options.arguments.size() > shape->mostArguments)
        return misuse(QStringLiteral("unexpected argument '%1'.").arg(options.arguments.at(shape->mostArguments)));

    for (const QString &value : parser.values(port)) {
        for (const QString &name : value.split(QLatin1Char(','))) {
            if (name.trimmed().isEmpty())
                return misuse(QStringLiteral("empty port name in '%1'.").arg(value));
            options.ports.append(name.trimmed());
        }
    }
    if (options.ports.size() > 1 && !shape->severalPorts)
        return misuse(QStringLiteral("%1 takes one port.").arg(options.command));
    if (options.ports.removeDuplicates() > 0)
        return misuse(QStringLiteral("a port is given twice."));

    if (parser.isSet(baud)) {
        bool number = false;
        const int rate = parser.value(baud).toInt(&number);
        if (!number || !PanelLineRate(rate))
            return misuse(QStringLiteral("unknown rate '%1'.").arg(parser.value(baud)));
        options.baud = rate;
    }
    if (parser.isSet(address)) {
        static const QRegularExpression twoDigits(QStringLiteral("^[0-9A-Fa-f]{1,2}$"));
        if (!twoDigits.match(parser.value(address)).hasMatch())
            return misuse(QStringLiteral("the address '%1' is not two hexadecimal digits.").arg(parser.value(address)));
        options.address = quint8(parser.value(address).toUInt(nullptr, 16));
    }
    if (parser.isSet(watch)) {
        bool number = false;
        const int ms = parser.value(watch).toInt(&number);
        if (options.command != QLatin1String("get"))
            return misuse(QStringLiteral("--watch is for get only."));
        if (!number || ms < int(Protocol::MinSendInterval))
            return misuse(QStringLiteral("--watch takes at least %1 milliseconds.").arg(Protocol::MinSendInterval));
        options.watchMs = ms;
    }
    if ((parser.isSet(temporarily) || parser.isSet(includeIdentity)) && options.command != QLatin1String("config"))
        return misuse(QStringLiteral("--temporarily and --include-identity are for config only."));
    options.temporarily = parser.isSet(temporarily);
    options.includeIdentity = parser.isSet(includeIdentity);
    options.yes = parser.isSet(yes);
    options.json = parser.isSet(json);
    options.quiet = parser.isSet(quiet);
    return {options, ExitSuccess, {}, {}};
}
