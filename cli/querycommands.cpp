#include "cli/querycommands.h"

#include "app/exchange.h"
#include "app/openfailuretext.h"
#include "app/portmap.h"
#include "app/portresolver.h"
#include "cli/commandlink.h"
#include "cli/exitcode.h"
#include "cli/interrupt.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/replyfields.h"
#include "cli/unittarget.h"
#include "protocol/commandcatalogue.h"
#include "toolkit/ticks.h"

#include <QDateTime>
#include <QRegularExpression>

#include <algorithm>

namespace {

using Frame = std::array<quint8, Protocol::CommandFrame::Size>;

// The queries of the "Get..." page and the voltage/temperature query of the
// "Karvel 2" page.
struct Query
{
    const char *name;
    quint8 code;
};

constexpr Query kQueries[] = {
    {"position", 0x20}, {"acc-vel", 0x52}, {"actual-acc-vel", 0x21}, {"currents", 0x53},
    {"encoder", 0x71},  {"switches", 0x30}, {"firmware", 0x43},      {"volt-temp", 0x44},
};

QString queryNames()
{
    QStringList names;
    for (const Query &query : kQueries)
        names << QLatin1String(query.name);
    return names.join(QStringLiteral(", "));
}

// Opens the target's port; prints why not.
bool openLink(CommandLink &link, const UnitTarget &target, const Output &output)
{
    if (link.Open(target.device, target.baud))
        return true;
    output.error(OpenFailureText(target.name, link.OpenFailure()));
    return false;
}

int failure(CommandLink::Result result, const Output &output)
{
    if (result == CommandLink::Result::Interrupted)
        return ExitInterrupted;
    output.error(kNoReplyText);
    return ExitUnitFailed;
}

} // namespace

int RunPorts(const Output &output, const DeviceSource &devices, const SettingsLocation &settings)
{
    const PortResolver resolver(devices, settings);
    for (int n = 0; n < PortMap::kPortCount; ++n) {
        const PortResolution port = resolver.resolve(PortMap::portName(n));
        if (port.path.isEmpty())
            continue;
        const PortDevice device = port.device.value_or(PortDevice{});
        output.result(port.statusText(), {{QStringLiteral("port"), port.name},
                                          {QStringLiteral("device"), port.path},
                                          {QStringLiteral("mapped"), port.mapped},
                                          {QStringLiteral("manufacturer"), device.manufacturer},
                                          {QStringLiteral("product"), device.product},
                                          {QStringLiteral("serial-number"), device.serialNumber}});
    }
    return ExitSuccess;
}

int RunGet(const Options &options, const UnitTarget &target, const Output &output, const Interrupt &interrupt)
{
    const QString name = options.arguments.constFirst();
    const auto query = std::find_if(std::begin(kQueries), std::end(kQueries),
                                    [&name](const Query &q) { return name == QLatin1String(q.name); });
    if (query == std::end(kQueries)) {
        output.error(QStringLiteral("unknown query '%1'; one of %2.").arg(name, queryNames()));
        return ExitBadUsage;
    }
    CommandLink link(interrupt);
    if (!openLink(link, target, output))
        return ExitPortFailed;
    const Frame frame{target.address, query->code};
    for (;;) {
        const quint32 sent = Toolkit::Ticks();
        // "$44" is awaited here too: its reply is what was asked for.
        const CommandLink::Result result = link.Transact(frame, true);
        if (result != CommandLink::Result::Replied)
            return failure(result, output);
        Fields fields = ReplyFields(link.Reply());
        if (!options.watchMs) {
            output.result(fields);
            return ExitSuccess;
        }
        const QString time = QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
        fields.prepend({QStringLiteral("time"), time});
        output.result(fields);
        const quint32 elapsed = Toolkit::Ticks() - sent;
        if (!link.Pause(quint32(*options.watchMs) > elapsed ? quint32(*options.watchMs) - elapsed : 0))
            return ExitInterrupted;
    }
}

int RunSend(const Options &options, const UnitTarget &target, const Output &output, const Interrupt &interrupt)
{
    static const QRegularExpression byteText(QStringLiteral("^[0-9A-Fa-f]{1,2}$"));
    Frame frame{target.address};
    for (qsizetype i = 0; i < options.arguments.size(); ++i) {
        const QString &text = options.arguments.at(i);
        if (!byteText.match(text).hasMatch()) {
            output.error(QStringLiteral("'%1' is not a byte in hexadecimal.").arg(text));
            return ExitBadUsage;
        }
        frame[size_t(i) + 1] = quint8(text.toUInt(nullptr, 16));
    }
    CommandLink link(interrupt);
    if (!openLink(link, target, output))
        return ExitPortFailed;
    const CommandLink::Result result =
        link.Transact(frame, Protocol::ExpectsReply(frame[Protocol::CommandFrame::CMD], frame[Protocol::CommandFrame::P0]));
    if (result == CommandLink::Result::Sent) {
        output.result(QStringLiteral("Sent."), {{QStringLiteral("sent"), true}});
        return ExitSuccess;
    }
    if (result != CommandLink::Result::Replied)
        return failure(result, output);
    Fields fields{{QStringLiteral("reply"), ReplyBytesText(link.Reply())}};
    fields.append(ReplyFields(link.Reply()));
    output.result(fields);
    return ExitSuccess;
}
