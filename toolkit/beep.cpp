#include "toolkit/beep.h"

#include <QApplication>

namespace {
BeepCounter *activeCounter = nullptr;
}

namespace Toolkit {

void beep()
{
    if (activeCounter)
        ++activeCounter->m_count;
    else
        QApplication::beep();
}

} // namespace Toolkit

BeepCounter::BeepCounter()
{
    activeCounter = this;
}

BeepCounter::~BeepCounter()
{
    activeCounter = nullptr;
}
