#include "protocol/replydecoder.h"

#include "util/karvutils.h"

#include <algorithm>
#include <array>

namespace Protocol {

namespace {

using KarvUtils::HexText;
using KarvUtils::IntToBin;
using KarvUtils::SignExtend;
using Writes = QList<DecodedWrite>;

DecodedWrite spin(const char *control, qint64 value)
{
    return {QString::fromLatin1(control), DecodedWrite::SpinValue, value, {}};
}

DecodedWrite item(const char *control, qint64 index)
{
    return {QString::fromLatin1(control), DecodedWrite::ItemIndex, index, {}};
}

DecodedWrite check(const char *control, bool ticked)
{
    return {QString::fromLatin1(control), DecodedWrite::Checked, ticked, {}};
}

DecodedWrite text(const char *control, const QString &text)
{
    return {QString::fromLatin1(control), DecodedWrite::Text, 0, text};
}

DecodedWrite decimal(const char *control, qint64 value)
{
    return text(control, QString::number(value));
}

DecodedWrite led(const char *control, bool lit)
{
    return {QString::fromLatin1(control), DecodedWrite::LedLit, lit, {}};
}

// The reasons an alarm reset reports. The first four keep their trailing
// blank and the last three have none, so they run together when combined.
QString alarmReasons(const ReplyFrame &r)
{
    QString reasons;
    if (r.B(2) != 0)
        reasons = QStringLiteral("DriverError ");
    if (r.B(3) != 0)
        reasons += QStringLiteral("DeviationError ");
    if (r.B(4) != 0)
        reasons += QStringLiteral("ExternalAlarm ");
    if (r.B(5) != 0)
        reasons += QStringLiteral("TravelCheckError ");
    if (r.B(6) != 0)
        reasons += QStringLiteral("PositionError");
    if (r.B(7) & 0x01)
        reasons += QStringLiteral("Undervoltage");
    if (r.B(7) & 0x02)
        reasons += QStringLiteral("Overtemperature");
    return reasons;
}

struct Decoding
{
    quint8 code;
    Writes (*decode)(const ReplyFrame &r);
};

const std::array kDecodings{
    Decoding{0x10, [](const ReplyFrame &r) -> Writes {
        return {item("CbCurrentLimit", r.B(2))};
    }},
    Decoding{0x11, [](const ReplyFrame &r) -> Writes {
        return {spin("EditStandbyCur", r.B(2)), spin("EditActiveCur", r.B(3)), spin("EditAccelCur", r.B(4))};
    }},
    Decoding{0x12, [](const ReplyFrame &r) -> Writes {
        return {spin("EditPrediv", r.B(2))};
    }},
    Decoding{0x14, [](const ReplyFrame &r) -> Writes {
        return {spin("EditAcceleration", r.W(2)), spin("EditVelocity", r.W(4))};
    }},
    Decoding{0x15, [](const ReplyFrame &r) -> Writes {
        return {spin("EditPosLimit", r.L(2))};
    }},
    Decoding{0x16, [](const ReplyFrame &r) -> Writes {
        return {spin("EditVRef", r.W(2))};
    }},
    Decoding{0x17, [](const ReplyFrame &r) -> Writes {
        return {spin("EditMStepRes", r.B(2)), spin("EditMStepWave", qint8(r.B(3))),
                check("CheckMixedDecay", r.B(6) != 0)};
    }},
    Decoding{0x20, [](const ReplyFrame &r) -> Writes {
        return {decimal("StaticMPos", SignExtend(r.L(2), 23))};
    }},
    Decoding{0x21, [](const ReplyFrame &r) -> Writes {
        return {decimal("StaticActA", SignExtend(r.W(4), 13)), decimal("StaticActV", SignExtend(r.W(2), 13)),
                led("LedReference", r.B(6) != 0), led("LedCorrection", r.B(7) != 0)};
    }},
    Decoding{0x30, [](const ReplyFrame &r) -> Writes {
        return {led("LedLeftSw", r.B(2) == 1), led("LedRightSw", r.B(3) == 1), led("LedRefSw", r.B(4) == 1)};
    }},
    Decoding{0x43, [](const ReplyFrame &r) -> Writes {
        return {text("StaticVersion", QString::asprintf("%d.%2.2d", r.B(1) / 100, r.B(1) % 100)),
                decimal("StaticSerNo", r.W(4)), led("LedResetFlag", r.B(2) != 0)};
    }},
    Decoding{0x44, [](const ReplyFrame &r) -> Writes {
        return {decimal("StaticVoltage", r.W(2)), decimal("StaticTemperature", r.W(4))};
    }},
    Decoding{0x51, [](const ReplyFrame &r) -> Writes {
        return {check("CheckExtAlarm", r.B(2) != 0), check("CheckDriverError", r.B(3) != 0)};
    }},
    Decoding{0x52, [](const ReplyFrame &r) -> Writes {
        return {decimal("StaticAcc", r.W(2)), decimal("StaticVRef", r.W(4)), decimal("StaticVMax", r.W(6))};
    }},
    Decoding{0x53, [](const ReplyFrame &r) -> Writes {
        return {decimal("StaticCurStand", r.B(2)), decimal("StaticCurConst", r.B(3)),
                decimal("StaticCurAccel", r.B(4))};
    }},
    Decoding{0x54, [](const ReplyFrame &r) -> Writes {
        return {item("CbSwOne", r.B(3)), item("CbCalDir", r.B(4)), item("CbMovement", r.B(5)),
                item("CbTravelcheck", r.B(7))};
    }},
    Decoding{0x55, [](const ReplyFrame &r) -> Writes {
        return {text("EditReceiveID", HexText(r.L(2), 8))};
    }},
    Decoding{0x56, [](const ReplyFrame &r) -> Writes {
        return {text("EditSendID", HexText(r.L(2), 8))};
    }},
    Decoding{0x57, [](const ReplyFrame &r) -> Writes {
        return {spin("EditSoftStop", r.W(2))};
    }},
    Decoding{0x58, [](const ReplyFrame &r) -> Writes {
        return {spin("EditCorrection", r.B(2)), spin("EditTolerance", r.W(4))};
    }},
    Decoding{0x59, [](const ReplyFrame &r) -> Writes {
        return {spin("EditTT", r.W(2))};
    }},
    Decoding{0x63, [](const ReplyFrame &r) -> Writes {
        return {spin("EditBow", r.W(2))};
    }},
    Decoding{0x6A, [](const ReplyFrame &r) -> Writes {
        const quint16 clocks = r.W(2);
        return {item("CbPIDClk", clocks & 7), item("CbDiffClk", (clocks >> 3) & 7),
                item("CbVClk", (clocks >> 6) & 7), spin("EditVFact", r.W(4))};
    }},
    Decoding{0x6B, [](const ReplyFrame &r) -> Writes {
        return {spin("EditPCof", r.B(2)), spin("EditPRange", r.B(3)), spin("EditICof", r.B(4)),
                spin("EditIRange", r.B(5)), spin("EditDCof", r.B(6)), spin("EditDRange", r.B(7))};
    }},
    Decoding{0x6C, [](const ReplyFrame &r) -> Writes {
        return {spin("EditPClip", r.B(2)), spin("EditIClip", r.B(3)), spin("EditDClip", r.B(4))};
    }},
    Decoding{0x6D, [](const ReplyFrame &r) -> Writes {
        return {spin("EditCISum", r.B(2)), spin("EditCIInput", r.B(3)), spin("EditClipSum", r.W(4))};
    }},
    Decoding{0x70, [](const ReplyFrame &r) -> Writes {
        return {text("EditEncConf", IntToBin(r.B(2), 7)), spin("EditEncPrediv", r.B(3)),
                spin("EditEncDeviation", r.W(4)), spin("EditEncMult", r.B(6))};
    }},
    Decoding{0x71, [](const ReplyFrame &r) -> Writes {
        return {decimal("StaticEncCount", SignExtend(qint32(r.T(2)), 23))};
    }},
    Decoding{0x73, [](const ReplyFrame &r) -> Writes {
        return {check("CheckDevInt", r.B(2) != 0), item("CbDeviationStop", r.B(3)),
                spin("EditAutoCorrect", r.W(4))};
    }},
    Decoding{0x74, [](const ReplyFrame &r) -> Writes {
        return {text("StaticAlarmReason", alarmReasons(r))};
    }},
    Decoding{0xC1, [](const ReplyFrame &r) -> Writes {
        return {item("CbRS232Baud", r.B(2)), text("EditRSRecvID", HexText(r.B(3), 2)),
                text("EditRSSendID", HexText(r.B(4), 2)), spin("EditRS485Delay", r.B(5))};
    }},
};

} // namespace

QList<DecodedWrite> DecodeReply(const ReplyFrame &reply)
{
    const auto found = std::find_if(kDecodings.begin(), kDecodings.end(),
                                    [&reply](const Decoding &d) { return d.code == reply.code(); });
    return found == kDecodings.end() ? Writes{} : found->decode(reply);
}

} // namespace Protocol
