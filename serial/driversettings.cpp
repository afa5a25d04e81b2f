#include "serial/driversettings.h"

#include "serial/portcalls.h"

#include <sys/ioctl.h>

void DriverSettings::Attach(int Fd, PortCalls &Calls)
{
    FFd = Fd;
    FCalls = &Calls;
    FFoundRs485.reset();
    FFoundSerial.reset();
}

void DriverSettings::Detach()
{
    PutBack(FFoundRs485, TIOCSRS485);
    PutBack(FFoundSerial, TIOCSSERIAL);
    FFd = -1;
}

bool DriverSettings::EnableRs485RtsToggle()
{
    return Modify(FFoundRs485, TIOCGRS485, TIOCSRS485, [](serial_rs485 &Rs485) {
        Rs485.flags |= SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
        Rs485.flags &= ~SER_RS485_RTS_AFTER_SEND;
        return true;
    });
}

void DriverSettings::DisableRs485()
{
    Modify(FFoundRs485, TIOCGRS485, TIOCSRS485, [](serial_rs485 &Rs485) {
        if (!(Rs485.flags & SER_RS485_ENABLED))
            return false;
        Rs485.flags &= ~SER_RS485_ENABLED;
        return true;
    });
}

bool DriverSettings::SetLowLatency(bool On)
{
    if (!On && !FFoundSerial)
        return true;
    const unsigned wanted = On ? ASYNC_LOW_LATENCY : unsigned(FFoundSerial->flags) & ASYNC_LOW_LATENCY;
    return Modify(FFoundSerial, TIOCGSERIAL, TIOCSSERIAL, [wanted](serial_struct &Serial) {
        const unsigned flags = unsigned(Serial.flags);
        if ((flags & ASYNC_LOW_LATENCY) == wanted)
            return false;
        Serial.flags = int((flags & ~ASYNC_LOW_LATENCY) | wanted);
        return true;
    });
}

template <typename Record, typename Change>
bool DriverSettings::Modify(std::optional<Record> &Found, unsigned long Get, unsigned long Set,
                            Change &&ChangeRecord)
{
    Record record{};
    if (FFd < 0 || FCalls->Ioctl(FFd, Get, &record) != 0)
        return false;
    const Record asFound = record;
    if (!ChangeRecord(record))
        return true;
    if (!Found)
        Found = asFound;
    return FCalls->Ioctl(FFd, Set, &record) == 0;
}

template <typename Record>
void DriverSettings::PutBack(std::optional<Record> &Found, unsigned long Set)
{
    if (Found && FFd >= 0)
        FCalls->Ioctl(FFd, Set, &*Found);
    Found.reset();
}
