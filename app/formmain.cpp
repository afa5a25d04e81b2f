#include "app/formmain.h"

#include "app/formconfig.h"
#include "app/formmonitor.h"
#include "app/formplot.h"
#include "app/formports.h"
#include "app/linerates.h"
#include "app/openfailuretext.h"
#include "app/systemdevices.h"
#include "installer/formflash.h"
#include "pages/commandbytes.h"
#include "pages/commandpage.h"
#include "pages/devicepage.h"
#include "pages/motionpage.h"
#include "pages/parameterpage1.h"
#include "pages/parameterpage2.h"
#include "pages/pidpage.h"
#include "pages/querypage.h"
#include "protocol/exchangetiming.h"
#include "serial/comm32.h"
#include "toolkit/application.h"
#include "toolkit/combolist.h"
#include "toolkit/dialogs.h"
#include "toolkit/errorreport.h"
#include "toolkit/hexkeyfilter.h"
#include "toolkit/maskedit.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/statictext.h"
#include "util/karvutils.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

#include <exception>
#include <optional>

namespace {

// The rate of a ComboBaud item; nothing for no selection.
std::optional<TBaudRate> baudRateOf(const QString &item)
{
    bool number = false;
    const int bitsPerSecond = item.toInt(&number);
    return number ? PanelLineRate(bitsPerSecond) : std::nullopt;
}

} // namespace

TFormMain::TFormMain(const SettingsLocation &settings, DeviceSource *devices, QWidget *parent)
    : QMainWindow(parent)
    , m_location(settings)
    , m_settings(settings)
    , m_devices(devices ? devices : new SystemDeviceSource(this))
    , m_ports(*m_devices, settings)
    , Comm32(new TComm32(this))
    , m_exchange(*Comm32)
    , m_trafficRecorder(m_exchange, m_trafficLog)
    , m_poller(m_exchange)
    , m_replyView(*this)
    , m_configChannel(*Comm32, m_exchange)
    , Timeout(new QTimer(this))
{
    ui.setupUi(this);
    m_commandBytes = std::make_unique<CommandBytes>(std::array{ui.StaticAdr, ui.StaticCMD, ui.StaticP0, ui.StaticP1,
                                                               ui.StaticP2, ui.StaticP3, ui.StaticP4, ui.StaticP5,
                                                               ui.StaticP6});
    createPages();

    Comm32->setObjectName(QStringLiteral("Comm32"));
    Comm32->SetBaudRate(cbr19200);
    // Line errors as well, for the traffic monitor.
    Comm32->SetMonitorEvents(evRxChar | evError);
    Comm32->SetFlowControl(fcRTSToggle);
    Toolkit::connectHandler(Comm32, &TComm32::OnRxChar, this, &TFormMain::Comm32RxChar);
    Toolkit::connectHandler(Comm32, &TComm32::OnDisconnect, this, &TFormMain::Comm32Disconnect);
    Toolkit::connectHandler(Comm32, &TComm32::OnError, this, &TFormMain::Comm32Error);

    Timeout->setObjectName(QStringLiteral("Timeout"));
    Timeout->setInterval(100);
    Toolkit::connectHandler(Timeout, &QTimer::timeout, this, &TFormMain::TimeoutTimer);
    Timeout->start();

    Toolkit::connectHandler(ui.BtnOpen, &QPushButton::clicked, this, &TFormMain::BtnOpenClick);
    Toolkit::connectHandler(ui.BtnClose, &QPushButton::clicked, this, &TFormMain::BtnCloseClick);
    Toolkit::connectHandler(ui.BtnSend, &QPushButton::clicked, this, &TFormMain::BtnSendClick);
    Toolkit::connectHandler(ui.BtnUpdate, &QPushButton::clicked, this, &TFormMain::BtnUpdateClick);
    Toolkit::connectHandler(ui.BtnConfig, &QPushButton::clicked, this, &TFormMain::BtnConfigClick);
    Toolkit::connectHandler(ui.BtnPorts, &QPushButton::clicked, this, &TFormMain::BtnPortsClick);
    Toolkit::connectHandler(ui.BtnMonitor, &QPushButton::clicked, this, &TFormMain::BtnMonitorClick);
    Toolkit::connectHandler(ui.BtnPlot, &QPushButton::clicked, this, &TFormMain::BtnPlotClick);
    // The port list's context menu leads to the same dialog.
    auto *portsAction = new QAction(ui.BtnPorts->text(), ui.ComboCOM);
    portsAction->setObjectName(QStringLiteral("ActionPorts"));
    ui.ComboCOM->addAction(portsAction);
    ui.ComboCOM->setContextMenuPolicy(Qt::ActionsContextMenu);
    Toolkit::connectHandler(portsAction, &QAction::triggered, this, &TFormMain::BtnPortsClick);
    Toolkit::connectHandler(ui.ComboCOM, &QComboBox::currentIndexChanged, this, &TFormMain::showPortStatus);
    Toolkit::connectHandler(m_devices, &DeviceSource::changed, this, &TFormMain::showPortStatus);
    Toolkit::connectHandler(ui.EditAddr, &MaskEdit::changed, this, &TFormMain::EditAddrChange);
    Toolkit::connectHandler(ui.EditAddr, &MaskEdit::keyPress, this, &EditAddrKeyPress);
    Toolkit::connectHandler(ui.PageCommands, &PageControl::changed, this, &TFormMain::PageCommandsChange);

    FormCreate();
}

TFormMain::~TFormMain()
{
    // Members go before the child widgets, the port among them. Destroying
    // Comm32 serves the event it may have on its way, which must no longer
    // reach a handler; and an edit that clips its value as the window is torn
    // down must find no page to compose into.
    Comm32->disconnect(this);
    for (CommandPage *page : m_pages)
        delete page;
    // The two windows beside this one use the exchange, the log and the
    // poller, which go before the child widgets.
    delete m_plot;
    delete m_monitor;
}

void TFormMain::createPages()
{
    auto *parameters1 = new ParameterPage1(*m_commandBytes, ui.TabCmdSet);
    auto *parameters2 = new ParameterPage2(*m_commandBytes, ui.TabSet2);
    // The two parameter pages always show the same modifier.
    Toolkit::connectHandler(parameters1, &LinkedModifierPage::modifierChanged, parameters2,
                            &LinkedModifierPage::followModifier);
    Toolkit::connectHandler(parameters2, &LinkedModifierPage::modifierChanged, parameters1,
                            &LinkedModifierPage::followModifier);
    m_pages[0] = parameters1;
    m_pages[1] = parameters2;
    m_pages[2] = new PidPage(*m_commandBytes, ui.TabPID);
    m_pages[3] = new QueryPage(*m_commandBytes, ui.TabCmdGet);
    m_pages[4] = new MotionPage(*m_commandBytes, ui.TabCmdOther);
    m_pages[5] = new DevicePage(*m_commandBytes, ui.TabK410);
}

void TFormMain::FormCreate()
{
    // Title bar: system menu, minimise and close; no maximise, and never
    // larger than the design.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    move(268, 106);
    setMaximumSize(FormMainUi::kClientSize);

    setWindowTitle(windowTitle() + QStringLiteral(" V") + KarvUtils::ShortVersion(KarvUtils::FileVersion()));

    const MainSettings::Values settings = m_settings.read();
    ui.ComboCOM->setItemIndex(settings.comPort);
    ui.ComboBaud->setItemIndex(settings.baud);
    ui.EditAddr->setText(settings.address);
    showPortStatus();

    m_k410Mode = true;
    ui.PageCommands->setCurrentWidget(ui.TabCmdSet);
    // A complete frame is on display before the window shows.
    static_cast<ParameterPage1 *>(m_pages[0])->RGCmdSetClick();
}

void TFormMain::closeEvent(QCloseEvent *event)
{
    Toolkit::runGuarded([this] { FormClose(); });
    event->accept();
}

void TFormMain::FormClose()
{
    m_settings.write({ui.ComboCOM->ItemIndex(), ui.ComboBaud->ItemIndex(), ui.EditAddr->text()}, m_k410Mode);
}

void TFormMain::BtnOpenClick()
{
    const PortResolution port = m_ports.resolve(ui.ComboCOM->currentText());
    ui.LblPortStatus->setText(port.statusText());
    if (port.path.isEmpty()) {
        Dialogs::showError(OpenFailureText(port.name, port.problem), Toolkit::applicationTitle());
        return;
    }
    Comm32->SetDeviceName(port.path);
    if (const std::optional<TBaudRate> rate = baudRateOf(ui.ComboBaud->currentText()))
        Comm32->SetBaudRate(*rate);
    Comm32->Open();
    if (!Comm32->IsOpen()) {
        Dialogs::showError(OpenFailureText(port.name, Comm32->OpenFailure()), Toolkit::applicationTitle());
        return;
    }
    showPortOpen(true);
    m_exchange.restart();
    m_exchange.notePortEvent(Exchange::PortEvent::Opened);
}

void TFormMain::BtnCloseClick()
{
    Comm32->Close();
    showPortOpen(false);
    m_exchange.notePortEvent(Exchange::PortEvent::Closed);
}

void TFormMain::showPortOpen(bool open)
{
    ui.BtnOpen->setEnabled(!open);
    ui.BtnClose->setEnabled(open);
    ui.ComboCOM->setEnabled(!open);
    // The baud rate stays fixed after the first open unless in K410 mode.
    ui.ComboBaud->setEnabled(!open && m_k410Mode);
    ui.BtnSend->setEnabled(open);
    ui.BtnUpdate->setEnabled(open);
    ui.BtnConfig->setEnabled(open);
    showPortStatus();
}

void TFormMain::showPortStatus()
{
    // What is open stays on show, whatever is plugged in meanwhile.
    if (!Comm32->IsOpen())
        ui.LblPortStatus->setText(m_ports.resolve(ui.ComboCOM->currentText()).statusText());
}

void TFormMain::BtnPortsClick()
{
    TFormPorts dialog(*m_devices, m_location, this);
    if (dialog.exec() == QDialog::Accepted)
        showPortStatus();
}

void TFormMain::BtnMonitorClick()
{
    if (!m_monitor)
        m_monitor = new TFormMonitor(m_trafficLog, this);
    m_monitor->show();
    m_monitor->raise();
    m_monitor->activateWindow();
}

void TFormMain::BtnPlotClick()
{
    if (!m_plot) {
        m_plot = new TFormPlot(m_poller, this);
        connect(m_plot, &TFormPlot::aboutToStart, this, [this] {
            bool isNumber = false;
            const uint address = ui.StaticAdr->text().toUInt(&isNumber, 16);
            if (isNumber)
                m_poller.setAddress(quint8(address));
            m_poller.setBitsPerSecond(BitsPerSecond(Comm32->BaudRate()));
        });
    }
    m_plot->show();
    m_plot->raise();
    m_plot->activateWindow();
}

void TFormMain::EditAddrChange()
{
    ui.StaticAdr->setText(ui.EditAddr->text());
}

void TFormMain::PageCommandsChange()
{
    if (CommandPage *page = m_pages.at(ui.PageCommands->currentIndex()))
        page->PageActivated();
}

void TFormMain::BtnSendClick()
{
    if (configurationRunning())
        return;
    m_exchange.send(m_commandBytes->texts());
}

bool TFormMain::configurationRunning() const
{
    return m_formConfig && m_formConfig->running();
}

void TFormMain::BtnConfigClick()
{
    if (!m_formConfig) {
        FormConfig::Unit unit{[this] { return KarvUtils::HexTextToByte(ui.StaticAdr->text()); },
                              [this] { return ui.ComboCOM->currentText(); }};
        m_formConfig = new FormConfig(m_configChannel, std::move(unit), this);
    }
    m_formConfig->show();
    m_formConfig->raise();
    m_formConfig->activateWindow();
}

void TFormMain::BtnUpdateClick()
{
    if (configurationRunning())
        return;
    // The installer needs the port to itself; the exchange and its clients
    // (the poller, the monitor) see the port closed meanwhile.
    Comm32->Close();
    m_exchange.dropReply();
    m_exchange.notePortEvent(Exchange::PortEvent::Closed);
    // The port is reopened also after a failed hand-over, which then reaches
    // the error report.
    std::exception_ptr failure;
    try {
        runInstaller();
    } catch (...) {
        failure = std::current_exception();
    }
    reopenAfterInstaller();
    if (failure)
        std::rethrow_exception(failure);
}

void TFormMain::runInstaller()
{
    TFormFlash installer(this);
    installer.SetModuleAddress(KarvUtils::HexTextToByte(ui.StaticAdr->text()));
    // The name for its messages, and the device this window had open.
    installer.SetPortName(ui.ComboCOM->currentText());
    installer.SetPortDevice(Comm32->DeviceName());
    installer.SetPortBaud(KarvUtils::DecimalTextToInt(ui.ComboBaud->currentText()));
    installer.exec();
}

void TFormMain::reopenAfterInstaller()
{
    Comm32->Open();
    if (Comm32->IsOpen()) {
        m_exchange.restart();
        m_exchange.notePortEvent(Exchange::PortEvent::Opened);
        return;
    }
    // The device went away meanwhile: as when it goes while open, the window
    // shows the port closed and says why.
    showPortOpen(false);
    Dialogs::showError(OpenFailureText(ui.ComboCOM->currentText(), Comm32->OpenFailure()),
                       Toolkit::applicationTitle());
}

void TFormMain::Comm32RxChar(QObject *, int Count)
{
    if (const std::optional<Protocol::ReplyFrame> reply = m_exchange.receive(Count)) {
        m_replyView.show(*reply);
        m_configChannel.replyArrived(*reply);
    }
}

void TFormMain::Comm32Disconnect()
{
    // Closed before the box shows: nothing of the port, and no reply time-out,
    // can come up while the operator reads it.
    m_exchange.dropReply();
    m_exchange.notePortEvent(Exchange::PortEvent::HungUp);
    BtnCloseClick();
    Dialogs::showError(QStringLiteral("Port ") + ui.ComboCOM->currentText() + QStringLiteral(" was disconnected."),
                       Toolkit::applicationTitle());
}

void TFormMain::Comm32Error(QObject *, int Errors)
{
    m_exchange.noteLineErrors(quint32(Errors));
}

void TFormMain::TimeoutTimer()
{
    if (TimeoutBusy)
        return;
    TimeoutBusy = true;
    const auto done = qScopeGuard([this] { TimeoutBusy = false; });
    // An operation of the configuration window reports its own missing reply, once.
    if (configurationRunning() || !m_exchange.replyOverdue())
        return;
    m_exchange.reportTimeOut();
    // Modal: the purges wait until the operator has read it.
    Dialogs::showError(kNoReplyText, Toolkit::applicationTitle());
    m_exchange.abandonReply();
}
