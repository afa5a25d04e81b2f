#pragma once

namespace Toolkit {

// The system's default beep, e.g. for a refused key.
void beep();

} // namespace Toolkit

// Test helper: while it lives, beeps are counted instead of sounded.
class BeepCounter
{
public:
    BeepCounter();
    ~BeepCounter();
    BeepCounter(const BeepCounter &) = delete;
    BeepCounter &operator=(const BeepCounter &) = delete;

    int count() const { return m_count; }

private:
    friend void Toolkit::beep();
    int m_count = 0;
};
