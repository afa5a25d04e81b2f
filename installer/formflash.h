#pragma once

#include "installer/bootoperation.h"
#include "installer/formflashui.h"
#include "installer/heximage.h"
#include "installer/progresspacer.h"

#include <QDialog>

#include <functional>
#include <memory>

class BootLink;
class QFileDialog;

// The firmware installer: loads a HEX file, flashes it into the unit through
// its boot loader, and clears the unit's EEPROM. Created by the main window
// for one update, with the port it hands over.
class TFormFlash : public QDialog, private BootProgress
{
    Q_OBJECT

public:
    explicit TFormFlash(QWidget *parent = nullptr);
    ~TFormFlash() override;

    // Hand-over from the main window: the port's name, which the messages
    // show, and the device it stands for.
    void SetModuleAddress(quint8 address);
    void SetPortName(const QString &name);
    void SetPortDevice(const QString &path);
    void SetPortBaud(int baud);

    // The load after the file dialog: the file's image replaces the loaded
    // one, and the " File " group and Start show the outcome.
    void LoadFile(const QString &path);

    const Installer::HexImage &image() const { return *m_image; }
    BootLink &link() const { return *m_link; }
    QFileDialog *openDialog() const { return OpenDialog; }

public slots:
    // "&Close", Escape and the title bar's close: while an operation runs
    // they take effect when it has ended, so that its port is closed.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void BtnLoadClick();
    void BtnProgrammeClick();
    void BtnClearEEPROMClick();

    void showLoadedImage();
    void clearFileTexts();
    void setImageAccepted(bool accepted);
    // Runs prepare, enters the boot loader and runs operation; a failure
    // closes the port and is shown in a box and in the progress line.
    void runOperation(const std::function<void()> &prepare, const std::function<void()> &operation);
    void setOperationRunning(bool running);

    // BootProgress
    void ShowStep(const QString &text) override;
    void ShowDeviceType(const QString &text) override;
    void SetBarRange(int maximum) override;
    void SetBarPosition(int position) override;

    FormFlashUi ui;
    QFileDialog *OpenDialog;
    BootLink *m_link;
    std::unique_ptr<Installer::HexImage> m_image;
    // A few dozen bar positions a second are as many as the eye follows.
    ProgressPacer m_barPacer;
    bool m_operationRunning = false;
    bool m_closeRequested = false;
    // A file loaded whole: Start may flash it once no operation runs.
    bool m_imageAccepted = false;
};
