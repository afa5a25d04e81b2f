#include "installer/formflash.h"

#include "installer/bootlink.h"
#include "installer/eepromclearer.h"
#include "installer/flashprogrammer.h"
#include "installer/displaypath.h"
#include "installer/hexerrors.h"
#include "installer/hexfailuretext.h"
#include "installer/hexloader.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/errorreport.h"
#include "toolkit/filedialog.h"
#include "toolkit/statictext.h"
#include "util/karvutils.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>

TFormFlash::TFormFlash(QWidget *parent)
    : QDialog(parent)
    , OpenDialog(Toolkit::fileDialog(this, "OpenDialog", QFileDialog::AcceptOpen,
                                      {QStringLiteral("HEX files (*.hex)"), QStringLiteral("All files (*)")}))
    , m_link(new BootLink(this))
    , m_image(std::make_unique<Installer::HexImage>())
    , m_barPacer([this](int position) { ui.ProgressBar->setValue(position); }, 40)
{
    ui.setupUi(this);
    m_barPacer.setScale(ui.ProgressBar->maximum(), ui.ProgressBar->width());

    Toolkit::connectHandler(ui.BtnLoad, &QPushButton::clicked, this, &TFormFlash::BtnLoadClick);
    Toolkit::connectHandler(ui.BtnProgramme, &QPushButton::clicked, this, &TFormFlash::BtnProgrammeClick);
    Toolkit::connectHandler(ui.BtnClearEEPROM, &QPushButton::clicked, this, &TFormFlash::BtnClearEEPROMClick);
    Toolkit::connectHandler(ui.BtnClose, &QPushButton::clicked, this, &TFormFlash::reject);

    FormCreate();
}

TFormFlash::~TFormFlash() = default;

void TFormFlash::FormCreate()
{
    // Move and close only: no minimise, no maximise, no sizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
}

void TFormFlash::SetModuleAddress(quint8 address)
{
    m_link->ModuleAddress = address;
}

void TFormFlash::SetPortName(const QString &name)
{
    m_link->PortName = name;
}

void TFormFlash::SetPortDevice(const QString &path)
{
    m_link->PortDevice = path;
}

void TFormFlash::SetPortBaud(int baud)
{
    m_link->PortBaud = baud;
}

void TFormFlash::reject()
{
    if (m_operationRunning) {
        m_closeRequested = true;
        return;
    }
    QDialog::reject();
}

void TFormFlash::closeEvent(QCloseEvent *event)
{
    if (m_operationRunning) {
        m_closeRequested = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TFormFlash::BtnLoadClick()
{
    if (OpenDialog->exec() != QDialog::Accepted || OpenDialog->selectedFiles().isEmpty())
        return;
    LoadFile(OpenDialog->selectedFiles().constFirst());
}

void TFormFlash::LoadFile(const QString &path)
{
    ui.StaticName->setText(Installer::DisplayPath(path));
    // Never flash a partly read image: Start waits for a file that loads whole.
    setImageAccepted(false);
    try {
        Installer::LoadHexFile(path, *m_image);
    } catch (const Installer::EHexLoadError &error) {
        clearFileTexts();
        Dialogs::showError(Installer::HexFailureText(path, error), Toolkit::applicationTitle());
        return;
    } catch (const Installer::EHexCheckError &error) {
        clearFileTexts();
        Dialogs::showError(Installer::HexFailureText(path, error), Toolkit::applicationTitle());
        return;
    }
    showLoadedImage();
}

void TFormFlash::showLoadedImage()
{
    ui.StaticSize->setText(QStringLiteral("%1 bytes").arg(quint32(m_image->ImageLast + 1)));
    ui.StaticChecksum->setText(KarvUtils::HexText(m_image->ImageSum, 4));
    ui.StaticVersion->setText(m_image->VersionText);
    setImageAccepted(true);
}

void TFormFlash::setImageAccepted(bool accepted)
{
    m_imageAccepted = accepted;
    ui.BtnProgramme->setEnabled(accepted);
}

void TFormFlash::clearFileTexts()
{
    for (StaticText *text : {ui.StaticName, ui.StaticSize, ui.StaticChecksum, ui.StaticVersion})
        text->clear();
}

void TFormFlash::BtnProgrammeClick()
{
    runOperation(
        [this] {
            SetBarPosition(0);
            SetBarRange(int(m_image->ImageLast));
            ShowDeviceType(QString());
        },
        [this] { FlashProgrammer(*m_link, *this).Run(*m_image); });
}

void TFormFlash::BtnClearEEPROMClick()
{
    if (!Dialogs::askQuestion(
            QStringLiteral("This will reset all settings\rof the module to fatcory default.\rDo you want to do that?"),
            Toolkit::applicationTitle()))
        return;
    runOperation(
        [this] {
            ShowDeviceType(QString());
            SetBarPosition(0);
        },
        [this] { EepromClearer(*m_link, *this).Run(); });
}

void TFormFlash::runOperation(const std::function<void()> &prepare, const std::function<void()> &operation)
{
    setOperationRunning(true);
    const auto ended = qScopeGuard([this] {
        m_barPacer.flush();
        setOperationRunning(false);
    });
    prepare();
    m_barPacer.flush();
    const BootOutcome outcome = RunBootOperation(*m_link, *this, operation);
    // The bar stands where the operation stopped while the box is read.
    m_barPacer.flush();
    if (outcome.kind != BootOutcome::Done)
        Dialogs::showError(outcome.message, Toolkit::applicationTitle());
    if (outcome.kind == BootOutcome::Failed)
        ShowStep(outcome.message);
}

void TFormFlash::setOperationRunning(bool running)
{
    m_operationRunning = running;
    // Operations must not interleave on the one port.
    ui.BtnLoad->setEnabled(!running);
    ui.BtnClearEEPROM->setEnabled(!running);
    ui.BtnProgramme->setEnabled(!running && m_imageAccepted);
    if (!running && m_closeRequested)
        QDialog::reject();
}

void TFormFlash::ShowStep(const QString &text)
{
    ui.StaticProgress->setText(text);
}

void TFormFlash::ShowDeviceType(const QString &text)
{
    ui.StaticDeviceType->setText(text);
}

void TFormFlash::SetBarRange(int maximum)
{
    ui.ProgressBar->setMaximum(maximum);
    m_barPacer.setScale(maximum, ui.ProgressBar->width());
}

void TFormFlash::SetBarPosition(int position)
{
    // The bar ignores a position beyond its maximum; the last word of an
    // image of odd size ends one byte past it.
    m_barPacer.setPosition(qMin(position, ui.ProgressBar->maximum()));
}
