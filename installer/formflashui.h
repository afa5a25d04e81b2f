#pragma once

#include <QSize>

class QDialog;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class StaticText;

// The controls of the installer window at their design positions, created
// in their tab order.
struct FormFlashUi
{
    // The design's outer size of 473 x 316 less the frame it was drawn with
    // (4-pixel borders and a 19-pixel caption), as for the main window.
    static constexpr QSize kClientSize{465, 289};

    void setupUi(QDialog *form);

    QGroupBox *GrpFile;
    QPushButton *BtnLoad;
    StaticText *StaticName;
    StaticText *StaticSize;
    StaticText *StaticChecksum;
    StaticText *StaticVersion;

    QGroupBox *GrpProgramme;
    QPushButton *BtnProgramme;
    StaticText *StaticProgress;
    QProgressBar *ProgressBar;
    StaticText *StaticDeviceType;
    QPushButton *BtnClearEEPROM;

    QPushButton *BtnClose;

private:
    void setupFile(QDialog *form);
    void setupProgramme(QDialog *form);
};
