#pragma once

#include <QtGlobal>

// Turns the driver's running totals of receive errors (TIOCGICOUNT) into the
// CE_* flags of what happened since the previous look. Drivers without the
// totals (pseudo-terminals, some USB adapters) never report an error.
class LineErrorCounter
{
public:
    // Takes the current totals as the starting point.
    void Reset(int Fd);
    // CE_* flags of the errors since the previous Reset or Take.
    quint32 Take(int Fd);

private:
    struct Totals
    {
        int Frame = 0;
        int Overrun = 0;
        int Parity = 0;
        int Break = 0;
        int BufferOverrun = 0;
    };
    static bool Read(int Fd, Totals &Result);

    Totals FLast;
};
