#include "cli/replyfields.h"

#include "protocol/replydecoder.h"
#include "util/karvutils.h"

#include <QStringList>

namespace {

// The names of the answer fields of the "Get..." and "Karvel 2" pages and of
// the alarm reasons.
QString fieldName(const QString &control)
{
    static const struct
    {
        const char *control;
        const char *name;
    } names[] = {
        {"StaticMPos", "position"},
        {"StaticAcc", "acceleration"},
        {"StaticVRef", "vref"},
        {"StaticVMax", "vmax"},
        {"StaticActA", "acceleration"},
        {"StaticActV", "velocity"},
        {"LedReference", "reference-search"},
        {"LedCorrection", "correction"},
        {"StaticCurStand", "standby"},
        {"StaticCurConst", "constant"},
        {"StaticCurAccel", "acceleration"},
        {"StaticEncCount", "encoder"},
        {"LedLeftSw", "left"},
        {"LedRightSw", "right"},
        {"LedRefSw", "reference"},
        {"StaticVersion", "version"},
        {"StaticSerNo", "serial-number"},
        {"LedResetFlag", "reset-flag"},
        {"StaticVoltage", "voltage"},
        {"StaticTemperature", "temperature"},
        {"StaticAlarmReason", "alarm-reason"},
    };
    for (const auto &entry : names) {
        if (control == QLatin1String(entry.control))
            return QLatin1String(entry.name);
    }
    return control;
}

QJsonValue fieldValue(const Protocol::DecodedWrite &write)
{
    switch (write.kind) {
    case Protocol::DecodedWrite::Checked:
    case Protocol::DecodedWrite::LedLit:
        return write.value != 0;
    case Protocol::DecodedWrite::Text: {
        // Decimal answers are numbers; the firmware revision, serial IDs and
        // alarm reasons stay text.
        bool number = false;
        const qint64 value = write.text.toLongLong(&number);
        return number && QString::number(value) == write.text ? QJsonValue(value) : QJsonValue(write.text);
    }
    case Protocol::DecodedWrite::SpinValue:
    case Protocol::DecodedWrite::ItemIndex:
        break;
    }
    return write.value;
}

} // namespace

Fields ReplyFields(const Protocol::ReplyFrame &reply)
{
    Fields fields;
    for (const Protocol::DecodedWrite &write : Protocol::DecodeReply(reply))
        fields.append({fieldName(write.control), fieldValue(write)});
    return fields;
}

QString ReplyBytesText(const Protocol::ReplyFrame &reply)
{
    QStringList bytes;
    for (const quint8 byte : reply.bytes)
        bytes << KarvUtils::HexText(byte);
    return bytes.join(QLatin1Char(' '));
}
