#include "installer/eepromclearer.h"

#include "installer/bootlink.h"
#include "installer/bootoperation.h"

EepromClearer::EepromClearer(BootLink &link, BootProgress &progress)
    : m_link(link)
    , m_progress(progress)
{
}

QString EepromClearer::ModelName(quint8 low, quint8 high)
{
    static const struct
    {
        quint16 type;
        const char *name;
    } models[] = {
        {610, "HLXM-610"}, {611, "HLXM-611"}, {612, "HLXM-612"}, {613, "HLXM-613"}, {410, "HLXM-410"},
    };
    const quint16 type = quint16(low | high << 8);
    for (const auto &model : models) {
        if (model.type == type)
            return QString::fromLatin1(model.name);
    }
    return {};
}

void EepromClearer::Run()
{
    m_progress.ShowStep(QStringLiteral("Detecting device type..."));
    m_progress.SetBarPosition(0);
    m_progress.SetBarRange(ClearedBytes - 1);
    RequestIdentification(m_link, "No HLXM module in boot mode connected!");
    Request(m_link, {'a'}, "Could not detect the device type!");
    m_progress.ShowDeviceType(ModelName(m_link.Reply().Byte(0), m_link.Reply().Byte(1)));
    m_progress.ShowStep(QStringLiteral("Clearing EEPROM..."));
    Request(m_link, {'A', 0x00, 0x00}, "EEPROM write error (1)!");
    for (int k = 0; k < ClearedBytes; ++k) {
        Request(m_link, {'D', 0x00}, "EEPROM write error (2)!");
        m_progress.SetBarPosition(k);
    }
    m_link.BootRequest({'x'});
    m_progress.ShowStep(QStringLiteral("Successful!"));
}
