#pragma once

#include "config/configchannel.h"
#include "config/configdiff.h"
#include "config/configuration.h"

#include <QObject>
#include <QString>

#include <optional>

// Read, Write and Compare of a unit's configuration over a channel. Each runs
// to its end, a missing reply, or Cancel, whichever comes first; the channel
// waits in the event loop, so cancel() can come from the window meanwhile.
class ConfigOperations : public QObject
{
    Q_OBJECT

public:
    struct WriteOptions
    {
        bool temporarily = false;     // "Set temporarily" instead of "Set and store in EEPROM"
        bool includeIdentity = false; // also the addresses and link settings ($C1, $55, $56)
    };

    enum class Outcome {
        Verified,      // read back as written
        NotVerifiable, // written; the unit cannot be read back for it (or not at the same link)
        Different,     // read back otherwise
        Unconfirmed,   // written, but its read-back got no reply
    };
    struct Written
    {
        quint8 code;
        Outcome outcome;
        ConfigFields::ParameterBytes wanted;
        ConfigFields::ParameterBytes found; // for Different
    };

    enum class Kind { Read, Write, Compare };
    struct Result
    {
        Kind kind = Kind::Read;
        bool complete = false;
        bool cancelled = false;
        QString failure;             // why it stopped short; empty when complete or cancelled
        Configuration unit;          // what was read of the unit (Read, Compare; the backup of Write)
        QList<Written> written;      // Write: each command that went out, in order
        QList<quint8> notWritten;    // Write: the commands still to go when it stopped
        QString backupPath;          // Write: where the unit's earlier configuration went
        QString linkNote;            // Write with identity: where the unit answers now
        QList<ConfigDiff::Difference> differences; // Compare
    };

    ConfigOperations(ConfigChannel &channel, quint8 address, const QString &port);

    Result read();
    // Reads and saves a backup of the unit first; nothing is written when that fails.
    Result write(const Configuration &configuration, const WriteOptions &options);
    Result compare(const Configuration &configuration);

    // Stops the running operation before its next frame.
    void cancel() { m_cancelled = true; }
    bool running() const { return m_running; }

    // $XDG_STATE_HOME/KarvControl/backups (~/.local/state when unset).
    static QString backupFolder();

    // The result for a person: what happened to each command, the backup,
    // the differences, the failure.
    static QString describe(const Result &result, bool includeIdentity = false);

signals:
    void progress(int done, int total);

private:
    // Sends one frame and counts it; nothing when the operation is to stop.
    std::optional<Protocol::ReplyFrame> exchange(const ConfigChannel::Frame &frame, Result &result);
    bool readInto(Result &result);
    std::optional<ConfigFields::ParameterBytes> readBack(quint8 address, quint8 code, quint8 modifier,
                                                         Result &result);
    void begin(int total);

    ConfigChannel &m_channel;
    quint8 m_address;
    QString m_port;
    bool m_cancelled = false;
    bool m_running = false;
    int m_done = 0;
    int m_total = 0;
};
