#include "cli/bootcommands.h"

#include "cli/exitcode.h"
#include "cli/interrupt.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/progressview.h"
#include "cli/unitjob.h"
#include "installer/hexerrors.h"
#include "installer/hexfailuretext.h"
#include "installer/hexloader.h"
#include "installer/hexwriter.h"
#include "toolkit/eventwait.h"
#include "util/convert_error.h"
#include "util/karvutils.h"
#include "util/plainfile.h"

#include <QEventLoop>
#include <QSocketNotifier>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

using Task = UnitJob::Task;

// The units of one command, run in parallel until each has ended; Ctrl+C
// cancels all of them.
class BootRun
{
public:
    BootRun(const QList<UnitTarget> &targets, Task task, const Installer::HexImage *image, const Output &output)
        : m_view(output, isatty(STDERR_FILENO) != 0)
    {
        for (const UnitTarget &target : targets) {
            m_jobs.push_back(std::make_unique<UnitJob>(target, task, image));
            m_view.Add(m_jobs.back().get());
        }
    }

    void Exec(const Interrupt &interrupt)
    {
        QEventLoop loop;
        int running = int(m_jobs.size());
        for (const std::unique_ptr<UnitJob> &job : m_jobs) {
            QObject::connect(job.get(), &UnitJob::Finished, &loop, [&running, &loop] {
                if (--running == 0)
                    loop.quit();
            });
        }
        QObject::connect(&interrupt, &Interrupt::raised, &loop, [this] {
            for (const std::unique_ptr<UnitJob> &job : m_jobs)
                job->Cancel();
        });
        for (const std::unique_ptr<UnitJob> &job : m_jobs)
            job->Start();
        if (interrupt.Raised())
            for (const std::unique_ptr<UnitJob> &job : m_jobs)
                job->Cancel();
        loop.exec();
    }

    const std::vector<std::unique_ptr<UnitJob>> &Jobs() const { return m_jobs; }

private:
    // Declared first: the jobs, whose signals it takes, end before it.
    ProgressView m_view;
    std::vector<std::unique_ptr<UnitJob>> m_jobs;
};

Fields unitFields(const UnitJob &job, int exitCode, const QString &message)
{
    return {{QStringLiteral("port"), job.Target().name},
            {QStringLiteral("device"), job.Target().device},
            {QStringLiteral("device-type"), job.DeviceType()},
            {QStringLiteral("result"), Output::lines(message)},
            {QStringLiteral("exit"), exitCode}};
}

void reportUnit(const Output &output, const UnitJob &job, int exitCode, const QString &message)
{
    const Fields fields = unitFields(job, exitCode, message);
    if (exitCode == ExitSuccess)
        output.result(job.Target().name + QStringLiteral(": ") + Output::lines(message), fields);
    else
        output.error(job.Target().name + QStringLiteral(": ") + message);
}

// Every unit's result, then, for several units, how many succeeded. The exit
// code is the highest of the units'.
int summarise(const Output &output, const std::vector<int> &codes)
{
    const auto succeeded = std::count(codes.begin(), codes.end(), int(ExitSuccess));
    if (codes.size() > 1)
        output.result(QStringLiteral("%1 of %2 units succeeded.").arg(succeeded).arg(codes.size()),
                      {{QStringLiteral("succeeded"), qint64(succeeded)}, {QStringLiteral("units"), qint64(codes.size())}});
    return *std::max_element(codes.begin(), codes.end());
}

int runAndReport(BootRun &run, const Output &output, const Interrupt &interrupt)
{
    run.Exec(interrupt);
    std::vector<int> codes;
    for (const std::unique_ptr<UnitJob> &job : run.Jobs()) {
        reportUnit(output, *job, job->ExitCode(), job->Message());
        codes.push_back(job->ExitCode());
    }
    return summarise(output, codes);
}

// The firmware file, loaded as the installer window loads it; why not, in
// the window's words where it has them.
std::optional<Installer::HexImage> loadImage(const QString &path, const Output &output)
{
    Installer::HexImage image;
    try {
        Installer::LoadHexFile(path, image);
        return image;
    } catch (const Installer::EHexLoadError &error) {
        output.error(Installer::HexFailureText(path, error));
    } catch (const Installer::EHexCheckError &error) {
        output.error(Installer::HexFailureText(path, error));
    } catch (const std::runtime_error &error) {
        // Unreadable files and fields that are no hexadecimal numbers.
        output.error(QString::fromStdString(error.what()));
    }
    return std::nullopt;
}

// The confirmation of the installer window, on a terminal; Ctrl+C answers no.
bool confirmClear(const Output &output, const Interrupt &interrupt)
{
    writeText(stderr, Output::lines(QStringLiteral("This will reset all settings\rof the module to fatcory default.\r"
                                                  "Do you want to do that?"))
                          + QStringLiteral(" [y/N] "));
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    bool ready = false;
    QObject::connect(&input, &QSocketNotifier::activated, [&ready, &input] {
        ready = true;
        input.setEnabled(false);
    });
    // An operator who walks away: no answer within ten minutes is no.
    Toolkit::waitUntil([&] { return ready || interrupt.Raised(); }, 600000);
    std::array<char, 16> answer{};
    if (!ready || !std::fgets(answer.data(), int(answer.size()), stdin)) {
        writeText(stderr, QStringLiteral("\n"));
        return false;
    }
    const QString text = QString::fromLocal8Bit(answer.data()).trimmed().toLower();
    const bool yes = text == QLatin1String("y") || text == QLatin1String("yes");
    if (!yes)
        output.result(QStringLiteral("Nothing cleared."), {{QStringLiteral("cleared"), false}});
    return yes;
}

} // namespace

int RunFlash(const Options &options, const QList<UnitTarget> &targets, const Output &output,
             const Interrupt &interrupt)
{
    const std::optional<Installer::HexImage> image = loadImage(options.arguments.constFirst(), output);
    if (!image)
        return ExitBadUsage;
    output.progress(QStringLiteral("%1: %2, %3 bytes, checksum %4")
                        .arg(options.arguments.constFirst(), image->VersionText)
                        .arg(quint32(image->ImageLast + 1))
                        .arg(KarvUtils::HexText(image->ImageSum, 4)),
                    {{QStringLiteral("event"), QStringLiteral("file")},
                     {QStringLiteral("version"), image->VersionText},
                     {QStringLiteral("size"), qint64(quint32(image->ImageLast + 1))},
                     {QStringLiteral("checksum"), KarvUtils::HexText(image->ImageSum, 4)}});
    BootRun run(targets, Task::Flash, &*image, output);
    return runAndReport(run, output, interrupt);
}

int RunClearEeprom(const Options &options, const QList<UnitTarget> &targets, const Output &output,
                   const Interrupt &interrupt)
{
    if (!options.yes) {
        if (!isatty(STDIN_FILENO)) {
            output.error(QStringLiteral("clear-eeprom resets the unit's settings: without a terminal, give --yes."));
            return ExitBadUsage;
        }
        if (!confirmClear(output, interrupt))
            return interrupt.Raised() ? int(ExitInterrupted) : int(ExitSuccess);
    }
    BootRun run(targets, Task::ClearEeprom, nullptr, output);
    return runAndReport(run, output, interrupt);
}

int RunReadFlash(const Options &options, const QList<UnitTarget> &targets, const Output &output,
                 const Interrupt &interrupt)
{
    const QString path = options.arguments.constFirst();
    BootRun run(targets, Task::ReadFlash, nullptr, output);
    run.Exec(interrupt);
    const UnitJob &job = *run.Jobs().front();
    if (job.ExitCode() != ExitSuccess) {
        reportUnit(output, job, job.ExitCode(), job.Message());
        return job.ExitCode();
    }
    if (!PlainFile::replace(path, Installer::HexFileText(job.Flash()))) {
        output.error(QStringLiteral("Could not write \"%1\".").arg(path));
        return ExitBadUsage;
    }
    Fields fields = unitFields(job, ExitSuccess, job.Message());
    fields.append({{QStringLiteral("file"), path}, {QStringLiteral("size"), qint64(job.Flash().size())}});
    output.result(QStringLiteral("%1: %2 bytes written to %3").arg(job.Target().name).arg(job.Flash().size()).arg(path),
                  fields);
    return ExitSuccess;
}

int RunVerify(const Options &options, const QList<UnitTarget> &targets, const Output &output,
              const Interrupt &interrupt)
{
    const std::optional<Installer::HexImage> image = loadImage(options.arguments.constFirst(), output);
    if (!image)
        return ExitBadUsage;
    BootRun run(targets, Task::ReadFlash, &*image, output);
    run.Exec(interrupt);
    std::vector<int> codes;
    for (const std::unique_ptr<UnitJob> &job : run.Jobs()) {
        if (job->ExitCode() != ExitSuccess) {
            reportUnit(output, *job, job->ExitCode(), job->Message());
            codes.push_back(job->ExitCode());
            continue;
        }
        const QByteArray &flash = job->Flash();
        const auto differs = std::mismatch(flash.begin(), flash.end(), image->Image.begin(),
                                           [](char unit, quint8 file) { return quint8(unit) == file; });
        if (differs.first == flash.end()) {
            reportUnit(output, *job, ExitSuccess, QStringLiteral("Verified, %1 bytes agree.").arg(flash.size()));
            codes.push_back(ExitSuccess);
            continue;
        }
        const auto address = quint32(differs.first - flash.begin());
        const QString text = QStringLiteral("First difference at 0x%1: unit %2, file %3.")
                                 .arg(KarvUtils::HexText(qint32(address), 4), KarvUtils::HexText(quint8(*differs.first)),
                                      KarvUtils::HexText(*differs.second));
        Fields fields = unitFields(*job, ExitUnitFailed, text);
        fields.append({QStringLiteral("address"), qint64(address)});
        output.result(job->Target().name + QStringLiteral(": ") + text, fields);
        codes.push_back(ExitUnitFailed);
    }
    return summarise(output, codes);
}
