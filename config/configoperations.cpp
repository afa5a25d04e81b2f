#include "config/configoperations.h"

#include "app/exchange.h"

#include "config/configfile.h"
#include "protocol/commandcatalogue.h"
#include "protocol/exchangetiming.h"

#include <QDateTime>
#include <QDir>
#include <QScopeGuard>
#include <QStringList>

#include <algorithm>

namespace {

using namespace Qt::StringLiterals;
using ConfigFields::ParameterBytes;

constexpr quint8 kFirmwareRevision = 0x43;
constexpr quint8 kSerialLink = 0xC1;
// P1 of $C1 is the index of the RS-232 baud list, P2 the unit's own address.
constexpr int kLinkBaud = 0;
constexpr int kLinkAddress = 1;

ConfigChannel::Frame frameOf(quint8 address, quint8 code, quint8 modifier, const ParameterBytes &bytes = {})
{
    ConfigChannel::Frame frame{address, code, modifier};
    std::ranges::copy(bytes, frame.begin() + 3);
    return frame;
}

ParameterBytes valuesOf(const Protocol::ReplyFrame &reply)
{
    ParameterBytes bytes;
    std::copy(reply.bytes.begin() + 2, reply.bytes.end(), bytes.begin());
    return bytes;
}

QList<const ConfigFields::Command *> readableCommands()
{
    QList<const ConfigFields::Command *> commands;
    for (const ConfigFields::Command &command : ConfigFields::Commands()) {
        if (command.readable)
            commands.append(&command);
    }
    return commands;
}

QString codeText(quint8 code)
{
    return QString(Protocol::FindCommand(code)->itemText);
}

QString baudText(quint8 index)
{
    const QStringList items = ConfigFields::ItemsOf("CbRS232Baud"_L1);
    return index < items.size() ? items.at(index) + u" baud"_s : u"baud rate %1"_s.arg(index);
}

QString backupName(const Configuration &unit)
{
    const QString serial = unit.header.serialNumber.isEmpty() ? u"unit"_s : unit.header.serialNumber;
    return serial + u'-' + QDateTime::currentDateTimeUtc().toString(u"yyyyMMdd-HHmmss"_s) + u".conf"_s;
}

} // namespace

ConfigOperations::ConfigOperations(ConfigChannel &channel, quint8 address, const QString &port)
    : m_channel(channel)
    , m_address(address)
    , m_port(port)
{
}

QString ConfigOperations::backupFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + u"/.local/state"_s;
    return state + u"/KarvControl/backups"_s;
}

void ConfigOperations::begin(int total)
{
    m_cancelled = false;
    m_running = true;
    m_done = 0;
    m_total = total;
    emit progress(0, total);
}

std::optional<Protocol::ReplyFrame> ConfigOperations::exchange(const ConfigChannel::Frame &frame, Result &result)
{
    if (m_cancelled) {
        result.cancelled = true;
        return std::nullopt;
    }
    const std::optional<Protocol::ReplyFrame> reply = m_channel.exchange(frame);
    emit progress(++m_done, m_total);
    return reply;
}

bool ConfigOperations::readInto(Result &result)
{
    Configuration &unit = result.unit;
    const auto revision = exchange(frameOf(m_address, kFirmwareRevision, 0), result);
    if (!revision) {
        if (!result.cancelled)
            result.failure = kNoReplyText;
        return false;
    }
    unit.header.firmware = u"%1.%2"_s.arg(revision->B(1) / 100).arg(revision->B(1) % 100, 2, 10, QChar(u'0'));
    unit.header.serialNumber = QString::number(revision->W(4));
    unit.header.address = u"%1"_s.arg(m_address, 2, 16, QChar(u'0')).toUpper();
    unit.header.port = m_port;
    unit.header.time = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    for (const ConfigFields::Command *command : readableCommands()) {
        const auto bytes = readBack(m_address, command->code, Protocol::ReadStored, result);
        if (!bytes)
            return false;
        unit.set(command->code, *bytes);
    }
    return true;
}

std::optional<ParameterBytes> ConfigOperations::readBack(quint8 address, quint8 code, quint8 modifier,
                                                         Result &result)
{
    const auto reply = exchange(frameOf(address, code, modifier), result);
    if (result.cancelled)
        return std::nullopt;
    if (!reply) {
        result.failure = kNoReplyText;
        return std::nullopt;
    }
    if (reply->code() != code) {
        result.failure = u"The unit answered %1 with a reply to $%2."_s.arg(codeText(code))
                             .arg(reply->code(), 2, 16, QChar(u'0'))
                             .toUpper();
        return std::nullopt;
    }
    return valuesOf(*reply);
}

ConfigOperations::Result ConfigOperations::read()
{
    Result result;
    begin(1 + int(readableCommands().size()));
    const auto end = qScopeGuard([this] { m_running = false; });
    result.complete = readInto(result);
    return result;
}

ConfigOperations::Result ConfigOperations::compare(const Configuration &configuration)
{
    Result result = read();
    result.kind = Kind::Compare;
    if (result.complete)
        result.differences = ConfigDiff::compare(configuration, result.unit);
    return result;
}

ConfigOperations::Result ConfigOperations::write(const Configuration &configuration, const WriteOptions &options)
{
    // What goes out, in file order; the link settings last, since the unit
    // answers at its new address and speed from then on.
    QList<ConfigEntry> plan;
    for (const ConfigEntry &entry : configuration.entries()) {
        if (options.includeIdentity || !ConfigFields::FindCommand(entry.code)->identity)
            plan.append(entry);
    }
    std::stable_partition(plan.begin(), plan.end(), [](const ConfigEntry &e) { return e.code != kSerialLink; });
    int frames = 1 + int(readableCommands().size());
    for (const ConfigEntry &entry : plan)
        frames += ConfigFields::FindCommand(entry.code)->readable ? 2 : 1;

    Result result;
    result.kind = Kind::Write;
    begin(frames);
    const auto end = qScopeGuard([this] { m_running = false; });
    if (!readInto(result))
        return result;
    QDir().mkpath(backupFolder());
    result.backupPath = QDir(backupFolder()).filePath(backupName(result.unit));
    if (!ConfigFile::save(result.backupPath, result.unit)) {
        result.failure = u"The backup could not be saved to %1; nothing was written."_s.arg(result.backupPath);
        result.backupPath.clear();
        return result;
    }

    const quint8 setModifier = options.temporarily ? Protocol::SetTemporarily : Protocol::SetAndStore;
    const quint8 readModifier = options.temporarily ? Protocol::ReadActual : Protocol::ReadStored;
    for (qsizetype i = 0; i < plan.size(); ++i) {
        const ConfigEntry &entry = plan.at(i);
        const ConfigFields::Command &command = *ConfigFields::FindCommand(entry.code);
        // Commands without a modifier carry 00 in P0 whatever the choice.
        exchange(frameOf(m_address, entry.code, command.readable ? setModifier : 0, entry.bytes), result);
        if (result.cancelled) {
            std::ranges::transform(plan.mid(i), std::back_inserter(result.notWritten), &ConfigEntry::code);
            return result;
        }
        Written written{entry.code, Outcome::NotVerifiable, entry.bytes, {}};
        const bool link = entry.code == kSerialLink;
        // After $C1 the unit answers at the address it carries; at another
        // speed this port cannot reach it.
        const quint8 answerAt = link ? entry.bytes[kLinkAddress] : m_address;
        const QString linkNote = u"The unit now answers at address %1, %2"_s
                                     .arg(QString::number(answerAt, 16).toUpper().rightJustified(2, u'0'),
                                          baudText(entry.bytes[kLinkBaud]));
        const bool reachable = !link || entry.bytes[kLinkBaud] == (*result.unit.find(kSerialLink))[kLinkBaud];
        if (!reachable)
            result.linkNote = linkNote + u" (not verifiable at this port's speed)."_s;
        if (command.readable && reachable) {
            const auto found = readBack(answerAt, entry.code, readModifier, result);
            if (!found) {
                written.outcome = Outcome::Unconfirmed;
                result.written.append(written);
                if (link)
                    result.linkNote = linkNote + u" (no reply there)."_s;
                std::ranges::transform(plan.mid(i + 1), std::back_inserter(result.notWritten), &ConfigEntry::code);
                return result;
            }
            written.found = *found;
            written.outcome = *found == entry.bytes ? Outcome::Verified : Outcome::Different;
            if (link)
                result.linkNote = linkNote + (written.outcome == Outcome::Verified ? u" (verified there)."_s
                                                                                    : u" (read back otherwise there)."_s);
        }
        result.written.append(written);
    }
    result.complete = true;
    return result;
}

QString ConfigOperations::describe(const Result &result, bool includeIdentity)
{
    QStringList lines;
    const auto bytesText = [](const ParameterBytes &bytes) {
        return QByteArray(reinterpret_cast<const char *>(bytes.data()), 6).toHex(' ').toUpper();
    };
    if (!result.backupPath.isEmpty())
        lines.append(u"Backup of the unit: %1"_s.arg(result.backupPath));
    for (const Written &w : result.written) {
        switch (w.outcome) {
        case Outcome::Verified:
            lines.append(u"%1: written and verified"_s.arg(codeText(w.code)));
            break;
        case Outcome::NotVerifiable:
            lines.append(u"%1: written but not verifiable"_s.arg(codeText(w.code)));
            break;
        case Outcome::Different:
            lines.append(u"%1: different: written %2, the unit holds %3"_s.arg(codeText(w.code), bytesText(w.wanted),
                                                                               bytesText(w.found)));
            break;
        case Outcome::Unconfirmed:
            lines.append(u"%1: written, but its read-back got no reply"_s.arg(codeText(w.code)));
            break;
        }
    }
    if (!result.notWritten.isEmpty()) {
        QStringList codes;
        for (const quint8 code : result.notWritten)
            codes.append(codeText(code));
        lines.append(u"Not written: %1"_s.arg(codes.join(u", "_s)));
    }
    if (!result.linkNote.isEmpty())
        lines.append(result.linkNote);
    if (result.kind == Kind::Read && result.complete)
        lines.append(u"Read %1 commands from unit %2 (serial number %3, firmware %4)."_s.arg(result.unit.entries().size())
                         .arg(result.unit.header.address, result.unit.header.serialNumber, result.unit.header.firmware));
    if (result.kind == Kind::Compare && result.complete)
        lines.append(ConfigDiff::describe(result.differences, includeIdentity));
    if (result.cancelled)
        lines.append(u"Cancelled."_s);
    if (!result.failure.isEmpty())
        lines.append(QString(result.failure).replace(u'\r', u'\n'));
    return lines.join(u'\n');
}
