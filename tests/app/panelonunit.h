#pragma once

#include "app/formmain.h"
#include "sim/simulatedunit.h"
#include "toolkit/dialogs.h"
#include "toolkit/ticks.h"

#include <QTemporaryDir>

#include <memory>

// The main window on a simulated unit: COM1 mapped to the unit's
// pseudo-terminal, the window shown and "&Open" pressed, the tick counter
// held by the test from firstTick and every box recorded. The window goes
// first, before the unit it talks to.
struct PanelOnUnit
{
    explicit PanelOnUnit(quint32 firstTick);

    QTemporaryDir dir;
    FakeTicks ticks;
    DialogRecorder dialogs;
    karvsim::SimulatedUnit unit;
    std::unique_ptr<TFormMain> window;

    template <typename Control = QWidget>
    Control *control(const char *name) const
    {
        return window->findChild<Control *>(QLatin1String(name));
    }
    bool portOpen() const;
};
