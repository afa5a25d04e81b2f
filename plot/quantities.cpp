#include "plot/quantities.h"

#include "protocol/replydecoder.h"
#include "protocol/replyframe.h"

using namespace Qt::Literals::StringLiterals;

std::span<const Quantity> Quantities()
{
    static const Quantity quantities[] = {
        {0x20, "StaticMPos"_L1, "Position"_L1, false},
        {0x21, "StaticActV"_L1, "Velocity"_L1, false},
        {0x21, "StaticActA"_L1, "Acceleration"_L1, false},
        {0x71, "StaticEncCount"_L1, "Encoder counter"_L1, false},
        {0x30, "LedLeftSw"_L1, "Left switch"_L1, true},
        {0x30, "LedRightSw"_L1, "Right switch"_L1, true},
        {0x30, "LedRefSw"_L1, "Reference switch"_L1, true},
        {0x44, "StaticVoltage"_L1, "Supply voltage"_L1, false},
        {0x44, "StaticTemperature"_L1, "Temperature"_L1, false},
    };
    return quantities;
}

QList<quint8> PlotQueries()
{
    return {0x20, 0x21, 0x71, 0x30, 0x44};
}

QList<QuantityValue> QuantitiesOf(const Protocol::ReplyFrame &reply)
{
    QList<QuantityValue> values;
    const std::span<const Quantity> quantities = Quantities();
    for (const Protocol::DecodedWrite &write : Protocol::DecodeReply(reply)) {
        for (std::size_t i = 0; i < quantities.size(); ++i) {
            if (quantities[i].code != reply.code() || write.control != quantities[i].control)
                continue;
            const double value = write.kind == Protocol::DecodedWrite::Text ? write.text.toDouble() : double(write.value);
            values << QuantityValue{int(i), value};
        }
    }
    return values;
}
