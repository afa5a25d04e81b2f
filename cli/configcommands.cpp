#include "cli/configcommands.h"

#include "app/openfailuretext.h"
#include "cli/commandlink.h"
#include "cli/exitcode.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/unittarget.h"
#include "config/configfile.h"
#include "config/configoperations.h"
#include "protocol/commandcatalogue.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

using namespace Qt::StringLiterals;

// The operations' channel on karvctl's own command link; an interrupt
// cancels the operation before its next frame.
class LinkChannel : public ConfigChannel
{
public:
    explicit LinkChannel(CommandLink &link)
        : m_link(link)
    {
    }
    void setOperations(ConfigOperations *operations) { m_operations = operations; }
    bool interrupted() const { return m_interrupted; }

    std::optional<Protocol::ReplyFrame> exchange(const Frame &frame) override
    {
        const CommandLink::Result result = m_link.Transact(frame, Protocol::ExpectsReply(frame[1], frame[2]));
        if (result == CommandLink::Result::Interrupted) {
            m_interrupted = true;
            if (m_operations)
                m_operations->cancel();
        }
        return result == CommandLink::Result::Replied ? std::optional(m_link.Reply()) : std::nullopt;
    }

private:
    CommandLink &m_link;
    ConfigOperations *m_operations = nullptr;
    bool m_interrupted = false;
};

QJsonArray differencesJson(const QList<ConfigDiff::Difference> &differences)
{
    QJsonArray list;
    for (const ConfigDiff::Difference &d : differences)
        list.append(QJsonObject{{u"command"_s, QString(Protocol::FindCommand(d.code)->itemText)},
                                {u"field"_s, d.field},
                                {u"file"_s, d.expected},
                                {u"unit"_s, d.actual},
                                {u"identity"_s, d.identity}});
    return list;
}

} // namespace

int RunConfig(const Options &options, const UnitTarget &target, const Output &output, const Interrupt &interrupt)
{
    const QString action = options.arguments.at(0);
    const QString path = options.arguments.at(1);
    if (action != "read"_L1 && action != "write"_L1 && action != "diff"_L1) {
        output.error(u"unknown config action '%1'; one of read, write, diff."_s.arg(action));
        return ExitBadUsage;
    }
    // Everything of the file is checked before the port is opened.
    ConfigFile::Loaded file;
    if (action != "read"_L1) {
        file = ConfigFile::load(path);
        if (!file.problems.isEmpty()) {
            output.error(path + u":\r"_s + ConfigFile::problemText(file.problems).replace(u'\n', u'\r'));
            return ExitBadUsage;
        }
    }
    CommandLink link(interrupt);
    if (!link.Open(target.device, target.baud)) {
        output.error(OpenFailureText(target.name, link.OpenFailure()));
        return ExitPortFailed;
    }
    LinkChannel channel(link);
    ConfigOperations operations(channel, target.address, target.name);
    channel.setOperations(&operations);

    ConfigOperations::Result result;
    if (action == "read"_L1)
        result = operations.read();
    else if (action == "write"_L1)
        result = operations.write(file.configuration, {options.temporarily, options.includeIdentity});
    else
        result = operations.compare(file.configuration);
    if (channel.interrupted())
        return ExitInterrupted;
    const QString text = ConfigOperations::describe(result, options.includeIdentity);
    if (!result.complete) {
        output.error(QString(text).replace(u'\n', u'\r'));
        return ExitUnitFailed;
    }

    if (action == "read"_L1) {
        if (!ConfigFile::save(path, result.unit)) {
            output.error(u"The configuration could not be saved to %1."_s.arg(path));
            return ExitBadUsage;
        }
        output.result(text + u" Saved to %1."_s.arg(path),
                      {{u"commands"_s, int(result.unit.entries().size())},
                       {u"serial-number"_s, result.unit.header.serialNumber},
                       {u"firmware"_s, result.unit.header.firmware},
                       {u"file"_s, path}});
        return ExitSuccess;
    }
    if (action == "write"_L1) {
        const bool verified = std::ranges::none_of(
            result.written, [](const auto &w) { return w.outcome == ConfigOperations::Outcome::Different; });
        output.result(text, {{u"verified"_s, verified},
                             {u"written"_s, int(result.written.size())},
                             {u"backup"_s, result.backupPath},
                             {u"link"_s, result.linkNote}});
        return verified ? ExitSuccess : ExitUnitFailed;
    }
    const bool differs = ConfigDiff::differs(result.differences, options.includeIdentity);
    output.result(text, {{u"differs"_s, differs}, {u"differences"_s, differencesJson(result.differences)}});
    return differs ? ExitUnitFailed : ExitSuccess;
}
