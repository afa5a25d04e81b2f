#include "toolkit/hexkeyfilter.h"

#include "toolkit/beep.h"

namespace {

bool isHexEntryKey(QChar key)
{
    switch (key.unicode()) {
    case 8:  // Backspace
    case 9:  // Tab
    case 13: // Enter
    case 27: // Escape
        return true;
    default:
        return (key >= QLatin1Char('0') && key <= QLatin1Char('9'))
            || (key >= QLatin1Char('A') && key <= QLatin1Char('F'))
            || (key >= QLatin1Char('a') && key <= QLatin1Char('f'));
    }
}

} // namespace

void EditAddrKeyPress(QChar &Key)
{
    if (isHexEntryKey(Key))
        return;
    Key = QChar();
    Toolkit::beep();
}
