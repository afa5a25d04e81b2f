#pragma once

#include "sim/simulatedunit.h"
#include "toolkit/dialogs.h"
#include "toolkit/ticks.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

class TFormFlash;

// The installer window against a simulated unit on a pseudo-terminal handed
// over as COM1. Holds the tick counter and answers every message box; while an
// operation waits, time runs fast (TickPump) so that pauses and time-outs
// take a fraction of their real length.
class InstallerKit
{
public:
    explicit InstallerKit(const karvsim::SimulatedUnit::Options &unit = {});
    ~InstallerKit();

    karvsim::SimulatedUnit &unit() { return *m_unit; }
    TFormFlash &window() { return *m_window; }
    DialogRecorder &dialogs() { return m_dialogs; }

    // A new installer window handed port COM1 at the unit's rate.
    void openWindow(int portBaud = 19200);
    // Loads a file holding text through the window's file dialog, typing
    // its path and Return.
    void load(const QByteArray &text, const QString &fileName = QStringLiteral("firmware.hex"));
    // Opens the file dialog and cancels it.
    void cancelLoad();
    // Clicks a button of the window; an operation runs to its end inside.
    void click(const char *name);

    QString text(const char *name) const;
    int barPosition() const;
    int barMaximum() const;
    bool enabled(const char *name) const;
    // The message boxes' texts since the last call.
    QStringList takeBoxes();

private:
    QTemporaryDir m_dir;
    FakeTicks m_ticks{100000};
    QTimer m_tickPump;
    DialogRecorder m_dialogs;
    std::unique_ptr<karvsim::SimulatedUnit> m_unit;
    std::unique_ptr<TFormFlash> m_window;
};
