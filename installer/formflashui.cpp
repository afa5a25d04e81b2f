#include "installer/formflashui.h"

#include "toolkit/fonts.h"
#include "toolkit/placement.h"
#include "toolkit/statictext.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

using Toolkit::button;
using Toolkit::label;
using Toolkit::placed;

namespace {

StaticText *captionedText(QWidget *parent, const char *name, const QRect &geometry, const QString &caption,
                          const char *labelName, const QPoint &labelPosition)
{
    auto *text = placed(new StaticText(QString(), parent), name, geometry);
    QLabel *lbl = label(caption, parent, labelName, labelPosition);
    // The design's captions were drawn in a narrower font: one that would run
    // into its text moves left to end a few pixels short of it.
    constexpr int gap = 4;
    if (lbl->geometry().right() + gap >= geometry.left())
        lbl->move(geometry.left() - gap - lbl->width(), lbl->y());
    Toolkit::nameByCaption(text, lbl);
    return text;
}

} // namespace

void FormFlashUi::setupUi(QDialog *form)
{
    form->setObjectName(QStringLiteral("FormFlash"));
    form->setWindowTitle(QStringLiteral("Install HLXM Operating System"));
    form->setFont(Toolkit::windowFont());
    form->setFixedSize(kClientSize);
    setupFile(form);
    setupProgramme(form);
    BtnClose = button(QStringLiteral("&Close"), form, "BtnClose", {384, 256, 75, 25}, true);
}

void FormFlashUi::setupFile(QDialog *form)
{
    GrpFile = placed(new QGroupBox(QStringLiteral(" File "), form), "GrpFile", {8, 8, 449, 113});
    BtnLoad = button(QStringLiteral("&Load..."), GrpFile, "BtnLoad", {16, 24, 75, 25}, true);
    StaticName = captionedText(GrpFile, "StaticName", {168, 32, 265, 17}, QStringLiteral("Name:"), "LblName",
                               {112, 32});
    StaticSize = captionedText(GrpFile, "StaticSize", {168, 56, 97, 17}, QStringLiteral("Size:"), "LblSize",
                               {112, 56});
    StaticChecksum = captionedText(GrpFile, "StaticChecksum", {168, 80, 97, 17}, QStringLiteral("Checksum:"),
                                   "LblChecksum", {112, 80});
    StaticVersion = captionedText(GrpFile, "StaticVersion", {336, 56, 97, 17}, QStringLiteral("Version:"),
                                  "LblVersion", {296, 56});
}

void FormFlashUi::setupProgramme(QDialog *form)
{
    GrpProgramme = placed(new QGroupBox(QStringLiteral(" Programme "), form), "GrpProgramme", {8, 128, 449, 113});
    BtnProgramme = button(QStringLiteral("&Start"), GrpProgramme, "BtnProgramme", {16, 24, 75, 25}, false);
    StaticProgress = captionedText(GrpProgramme, "StaticProgress", {168, 56, 265, 17}, QStringLiteral("Progress:"),
                                   "LblProgress", {112, 56});
    QFont bold = StaticProgress->font();
    bold.setBold(true);
    StaticProgress->setFont(bold);
    ProgressBar = placed(new QProgressBar(GrpProgramme), "ProgressBar", {168, 80, 265, 16});
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    ProgressBar->setAccessibleName(QStringLiteral("Progress"));
    StaticDeviceType = captionedText(GrpProgramme, "StaticDeviceType", {184, 32, 249, 17},
                                     QStringLiteral("Device Type:"), "LblDevType", {112, 32});
    BtnClearEEPROM = button(QStringLiteral("Clear &EEPROM"), GrpProgramme, "BtnClearEEPROM", {16, 72, 89, 25}, true);
}
