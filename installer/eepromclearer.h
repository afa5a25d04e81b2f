#pragma once

#include <QString>

class BootLink;
class BootProgress;

// The Clear EEPROM operation once the unit is in its boot loader: identifies
// the module and overwrites its first 1024 EEPROM bytes with 0x00. Throws
// EBootError with the operator's message.
class EepromClearer
{
public:
    static constexpr int ClearedBytes = 1024;

    EepromClearer(BootLink &link, BootProgress &progress);

    void Run();

    // The model name of a module type reply; empty for any other module.
    static QString ModelName(quint8 low, quint8 high);

private:
    BootLink &m_link;
    BootProgress &m_progress;
};
