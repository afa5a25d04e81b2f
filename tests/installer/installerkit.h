#pragma once

#include "sim/simulatedunit.h"
#include "toolkit/dialogs.h"
#include "toolkit/ticks.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

class TFormFlash;

// The unit's options with its clock moved by hand (by FastClock).
karvsim::SimulatedUnit::Options withManualClock(karvsim::SimulatedUnit::Options options);

// Holds the tick counter for a test. While running, five seconds of ticks
// pass in half a second, so that pauses and time-outs take a fraction of
// their real length (a reply from the simulated unit, which takes well under
// a millisecond, is never late); the unit's clock runs with the ticks, so
// that it restarts into its boot loader within the installer's pause, as a
// real one does.
class FastClock
{
public:
    explicit FastClock(karvsim::SimulatedUnit &unit);

    void start() { m_pump.start(); }
    void stop() { m_pump.stop(); }
    FakeTicks &ticks() { return m_ticks; }

private:
    FakeTicks m_ticks{100000};
    QTimer m_pump;
};

// The installer window against a simulated unit on a pseudo-terminal handed
// over as COM1. Answers every message box; time runs fast (FastClock) while
// a button's operation runs.
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
    DialogRecorder m_dialogs;
    std::unique_ptr<karvsim::SimulatedUnit> m_unit;
    FastClock m_clock;
    std::unique_ptr<TFormFlash> m_window;
};
