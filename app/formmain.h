#pragma once

#include "app/formmainui.h"
#include "app/mainsettings.h"
#include "app/exchange.h"
#include "config/exchangechannel.h"
#include "app/portresolver.h"
#include "app/replyview.h"
#include "app/settingslocation.h"
#include "monitor/trafficlog.h"
#include "monitor/trafficrecorder.h"
#include "plot/poller.h"

#include <QMainWindow>

#include <array>
#include <memory>

class CommandBytes;
class CommandPage;
class DeviceSource;
class FormConfig;
class QTimer;
class TComm32;
class TFormMonitor;
class TFormPlot;

// The main window: port and unit address entry, the command pages, the
// command-bytes display. Holds the serial component Comm32, open while the
// window is in its open state, and the protocol's reply state.
class TFormMain : public QMainWindow
{
    Q_OBJECT

public:
    // The settings file is read here and written on close; its Ports section
    // and the serial devices present (the machine's when devices is null)
    // say what the port names open. Tests give a file and devices of their own.
    explicit TFormMain(const SettingsLocation &settings = SettingsLocation::forThisProgram(),
                       DeviceSource *devices = nullptr, QWidget *parent = nullptr);
    ~TFormMain() override;

    // Set at start-up and never cleared: the pages compose the K410 forms of
    // their commands, and closing the port enables the baud-rate list again.
    bool K410Mode() const { return m_k410Mode; }
    // The send–reply state, for the benchmarks and tests that watch the cycle.
    const Exchange &exchange() const { return m_exchange; }
    Exchange &exchange() { return m_exchange; }
    const TrafficLog &trafficLog() const { return m_trafficLog; }
    Poller &poller() { return m_poller; }
    TComm32 *comm32() const { return Comm32; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    void BtnOpenClick();
    void BtnCloseClick();
    void EditAddrChange();
    void PageCommandsChange();
    void BtnSendClick();
    void BtnUpdateClick();
    void BtnConfigClick();
    // While the configuration window runs an operation, nothing is sent by
    // hand and the port stays as it is.
    bool configurationRunning() const;
    void runInstaller();
    // Opens the port the installer had; where that fails, the closed state.
    void reopenAfterInstaller();
    void BtnPortsClick();
    void BtnMonitorClick();
    void BtnPlotClick();
    void Comm32RxChar(QObject *Sender, int Count);
    void Comm32Disconnect();
    void Comm32Error(QObject *Sender, int Errors);
    void TimeoutTimer();

    void createPages();

    void showPortOpen(bool open);
    // The status bar's word on what the selected port name opens; left as
    // it is while the port is open.
    void showPortStatus();

    FormMainUi ui;
    SettingsLocation m_location;
    MainSettings m_settings;
    DeviceSource *m_devices;
    PortResolver m_ports;
    TComm32 *Comm32;
    bool m_k410Mode = false;
    Exchange m_exchange;
    // Recorded from the start, so that a monitor opened late shows what led
    // up to it.
    TrafficLog m_trafficLog;
    TrafficRecorder m_trafficRecorder;
    // Made on the first "Monitor...", then shown again.
    TFormMonitor *m_monitor = nullptr;
    // Polls for the plot window, through the exchange.
    Poller m_poller;
    TFormPlot *m_plot = nullptr;
    ReplyView m_replyView;
    // The configuration window's exchanges, through m_exchange.
    ExchangeChannel m_configChannel;
    FormConfig *m_formConfig = nullptr;
    // Every 100 ms, from creation on, whether a port is open or not.
    QTimer *Timeout;
    // Set while TimeoutTimer runs, its message box included, so that the
    // ticks meanwhile show no second box.
    bool TimeoutBusy = false;
    std::unique_ptr<CommandBytes> m_commandBytes;
    // By page index of PageCommands.
    std::array<CommandPage *, 6> m_pages{};
};
