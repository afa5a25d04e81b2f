#include "app/commandline.h"

#include "util/karvutils.h"

#include <QCommandLineParser>

#include <cstdio>

namespace {

// Written out rather than taken from the parser, whose usage line names the
// executable only once an application object exists.
const char usage[] = "Usage: KarvControl [options]\n"
                     "Control panel for the Karvel 2 stepper-motor controller unit.\n"
                     "A normal start takes no arguments.\n"
                     "\n"
                     "Options:\n"
                     "  -h, --help     Displays this help.\n"
                     "  -v, --version  Displays version information.\n";

CommandLineResult misuse(const QString &message)
{
    return {2, {}, QStringLiteral("KarvControl: ") + message + QLatin1Char('\n') + QLatin1String(usage)};
}

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

CommandLineResult parseCommandLine(const QStringList &arguments)
{
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    QCommandLineParser parser;
    parser.addOptions({help, version});

    if (!parser.parse(arguments))
        return misuse(parser.errorText());
    if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty())
        return misuse(QStringLiteral("unexpected argument '%1'.").arg(extra.first()));
    if (parser.isSet(help))
        return {0, QLatin1String(usage), {}};
    if (parser.isSet(version))
        return {0, QStringLiteral("KarvControl %1\n").arg(KarvUtils::FileVersion()), {}};
    return {};
}

QStringList argumentList(int argc, const char *const *argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

void printCommandLineResult(const CommandLineResult &result)
{
    write(stdout, result.standardOutput);
    write(stderr, result.standardError);
}
