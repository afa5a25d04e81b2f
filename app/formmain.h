#pragma once

#include "app/formmainui.h"
#include "app/mainsettings.h"
#include "app/replystate.h"
#include "util/karvutils.h"

#include <QMainWindow>

#include <array>
#include <memory>

class CommandBytes;
class CommandPage;
class TComm32;

// The main window: port and unit address entry, the command pages, the
// command-bytes display. Holds the serial component Comm32, open while the
// window is in its open state, and the protocol's reply state.
class TFormMain : public QMainWindow
{
    Q_OBJECT

public:
    // settingsPath is the settings file, read here and written on close; its
    // Ports section also maps the port names.
    explicit TFormMain(const QString &settingsPath = KarvUtils::SettingsFilePath(),
                       QWidget *parent = nullptr);
    ~TFormMain() override;

    // Set at start-up and never cleared: the pages compose the K410 forms of
    // their commands, and closing the port enables the baud-rate list again.
    bool K410Mode() const { return m_k410Mode; }
    ReplyState &replyState() { return m_replyState; }
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

    void createPages();

    void showPortOpen(bool open);

    FormMainUi ui;
    MainSettings m_settings;
    TComm32 *Comm32;
    bool m_k410Mode = false;
    ReplyState m_replyState;
    std::unique_ptr<CommandBytes> m_commandBytes;
    // By page index of PageCommands.
    std::array<CommandPage *, 6> m_pages{};
};
