#include "protocol/commandcatalogue.h"
#include "protocol/replydecoder.h"

#include <QTest>

using namespace Protocol;

namespace {

ReplyFrame frameOf(const char *hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    ReplyFrame frame;
    std::copy_n(bytes.begin(), qMin<qsizetype>(bytes.size(), ReplyFrame::Size), frame.bytes.begin());
    return frame;
}

// One line per write, in the words of the decoding table.
QString describe(const DecodedWrite &write)
{
    switch (write.kind) {
    case DecodedWrite::SpinValue:
        return write.control + QStringLiteral(" = %1").arg(write.value);
    case DecodedWrite::ItemIndex:
        return write.control + QStringLiteral(" #%1").arg(write.value);
    case DecodedWrite::Checked:
        return write.control + (write.value ? QStringLiteral(" ticked") : QStringLiteral(" cleared"));
    case DecodedWrite::Text:
        return write.control + QStringLiteral(" '%1'").arg(write.text);
    case DecodedWrite::LedLit:
        return write.control + (write.value ? QStringLiteral(" lit") : QStringLiteral(" unlit"));
    }
    return {};
}

QStringList describe(const QList<DecodedWrite> &writes)
{
    QStringList lines;
    for (const DecodedWrite &write : writes)
        lines.append(describe(write));
    return lines;
}

} // namespace

class TestReplyDecoder : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QStringList>("writes");
        const auto row = [](const char *name, const char *reply, const QStringList &writes) {
            QTest::newRow(name) << QByteArray(reply) << writes;
        };

        row("$10 index beyond the list", "10 00 07", {"CbCurrentLimit #7"});
        row("$11 currents", "11 00 05 0A FF", {"EditStandbyCur = 5", "EditActiveCur = 10", "EditAccelCur = 255"});
        row("$12 predivider unclipped", "12 00 28", {"EditPrediv = 40"});
        row("$14 words", "14 00 34 12 FF FF", {"EditAcceleration = 4660", "EditVelocity = 65535"});
        row("$15 byte order", "15 00 04 03 02 01", {"EditPosLimit = 16909060"});
        row("$15 negative", "15 00 00 00 00 80", {"EditPosLimit = -2147483648"});
        row("$16", "16 00 CD AB", {"EditVRef = 43981"});
        row("$17 negative wave", "17 00 08 FB 00 00 00", {"EditMStepRes = 8", "EditMStepWave = -5", "CheckMixedDecay cleared"});
        row("$17 wave limits", "17 00 40 7F 00 00 02", {"EditMStepRes = 64", "EditMStepWave = 127", "CheckMixedDecay ticked"});
        row("$20 largest", "20 00 FF FF 7F 00", {"StaticMPos '8388607'"});
        row("$20 smallest", "20 00 00 00 80 00", {"StaticMPos '-8388608'"});
        row("$20 minus one in 24 bits", "20 00 FF FF FF 00", {"StaticMPos '-1'"});
        row("$20 minus one in 32 bits", "20 00 FF FF FF FF", {"StaticMPos '-1'"});
        row("$21 14-bit largest", "21 00 FF 1F 00 20 01 00",
            {"StaticActA '-8192'", "StaticActV '8191'", "LedReference lit", "LedCorrection unlit"});
        row("$21 14-bit minus one", "21 00 FF 3F 34 12 00 05",
            {"StaticActA '4660'", "StaticActV '-1'", "LedReference unlit", "LedCorrection lit"});
        row("$21 bits above 14 kept", "21 00 FF FF 00 00", {"StaticActA '0'", "StaticActV '49151'", "LedReference unlit", "LedCorrection unlit"});
        row("$30 only 1 lights", "30 00 02 01 00", {"LedLeftSw unlit", "LedRightSw lit", "LedRefSw unlit"});
        row("$43 revision", "43 7B 01 00 39 30", {"StaticVersion '1.23'", "StaticSerNo '12345'", "LedResetFlag lit"});
        row("$43 leading zero", "43 05", {"StaticVersion '0.05'", "StaticSerNo '0'", "LedResetFlag unlit"});
        row("$43 round", "43 C8", {"StaticVersion '2.00'", "StaticSerNo '0'", "LedResetFlag unlit"});
        row("$44", "44 00 E8 5D 2C 01", {"StaticVoltage '24040'", "StaticTemperature '300'"});
        row("$51", "51 00 00 03", {"CheckExtAlarm cleared", "CheckDriverError ticked"});
        row("$52 three words", "52 00 01 02 03 04 05 06", {"StaticAcc '513'", "StaticVRef '1027'", "StaticVMax '1541'"});
        row("$53", "53 00 10 80 FF", {"StaticCurStand '16'", "StaticCurConst '128'", "StaticCurAccel '255'"});
        row("$54 skips bytes 2 and 6", "54 00 09 01 02 03 09 04",
            {"CbSwOne #1", "CbCalDir #2", "CbMovement #3", "CbTravelcheck #4"});
        row("$55 identifier", "55 00 CD AB 34 12", {"EditReceiveID '1234ABCD'"});
        row("$55 all bits", "55 00 FF FF FF FF", {"EditReceiveID 'FFFFFFFF'"});
        row("$56 padded", "56 00 01 00 00 00", {"EditSendID '00000001'"});
        row("$57", "57 00 10 27", {"EditSoftStop = 10000"});
        row("$58", "58 00 05 FF 00 01", {"EditCorrection = 5", "EditTolerance = 256"});
        row("$59", "59 00 00 01", {"EditTT = 256"});
        row("$63", "63 00 FF 00", {"EditBow = 255"});
        row("$6A clock fields", "6A 00 D1 FF 88 13",
            {"CbPIDClk #1", "CbDiffClk #2", "CbVClk #7", "EditVFact = 5000"});
        row("$6B six bytes", "6B 00 01 02 03 04 05 06",
            {"EditPCof = 1", "EditPRange = 2", "EditICof = 3", "EditIRange = 4", "EditDCof = 5", "EditDRange = 6"});
        row("$6C", "6C 00 0A 14 1E", {"EditPClip = 10", "EditIClip = 20", "EditDClip = 30"});
        row("$6D", "6D 00 01 02 FF FF", {"EditCISum = 1", "EditCIInput = 2", "EditClipSum = 65535"});
        row("$70 seven digits", "70 00 05 02 E8 03 04", {"EditEncConf '0000101'", "EditEncPrediv = 2", "EditEncDeviation = 1000", "EditEncMult = 4"});
        row("$70 eighth bit dropped", "70 00 85", {"EditEncConf '0000101'", "EditEncPrediv = 0", "EditEncDeviation = 0", "EditEncMult = 0"});
        row("$71 minus one", "71 00 FF FF FF 00", {"StaticEncCount '-1'"});
        row("$71 smallest, fourth byte ignored", "71 00 00 00 80 FF", {"StaticEncCount '-8388608'"});
        row("$73", "73 00 01 02 D0 07", {"CheckDevInt ticked", "CbDeviationStop #2", "EditAutoCorrect = 2000"});
        row("$74 no alarm", "74 00 00 00 00 00 00 00", {"StaticAlarmReason ''"});
        row("$74 blanks kept", "74 00 01 00 00 01 00 00", {"StaticAlarmReason 'DriverError TravelCheckError '"});
        row("$74 last three run together", "74 00 00 00 00 00 01 03",
            {"StaticAlarmReason 'PositionErrorUndervoltageOvertemperature'"});
        row("$74 every reason", "74 00 01 02 03 04 05 FF",
            {"StaticAlarmReason 'DriverError DeviationError ExternalAlarm TravelCheckError PositionErrorUndervoltageOvertemperature'"});
        row("$74 other bits ignored", "74 00 00 00 00 00 00 FC", {"StaticAlarmReason ''"});
        row("$C1", "C1 00 03 0A FF 64", {"CbRS232Baud #3", "EditRSRecvID '0A'", "EditRSSendID 'FF'", "EditRS485Delay = 100"});
        row("$80 consumed", "80 01 02 03 04 05 06 07", {});
        row("$81 consumed", "81 01 02 03 04 05 06 07", {});
        row("$82 consumed", "82 01 02 03 04 05 06 07", {});
    }
    void decode()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, writes);
        QCOMPARE(describe(DecodeReply(frameOf(reply.constData()))), writes);
    }

    void everyDecodedCodeWritesSomething()
    {
        for (const CommandInfo &command : CommandCatalogue()) {
            ReplyFrame frame;
            frame.bytes[0] = command.code;
            QVERIFY2(DecodeReply(frame).isEmpty() != command.decoded,
                     qPrintable(QStringLiteral("$%1").arg(command.code, 2, 16)));
        }
    }
};

QTEST_GUILESS_MAIN(TestReplyDecoder)
#include "test_replydecoder.moc"
