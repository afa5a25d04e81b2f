#pragma once

#include <QSize>

class ComboList;
class MaskEdit;
class PageControl;
class QGroupBox;
class QLabel;
class QMainWindow;
class QPushButton;
class QStatusBar;
class QWidget;
class StaticText;

// The controls of the main window, laid out at their design positions.
// The pages are empty sheets; each page's controls are built on its sheet.
struct FormMainUi
{
    // The design's outer size of 655 x 773 less the frame it was drawn with
    // (4-pixel borders and a 19-pixel caption). Qt sizes the client area and
    // the window manager adds its own frame, so the controls keep their
    // design positions whatever that frame is.
    static constexpr QSize kClientSize{647, 746};

    void setupUi(QMainWindow *form);

    QGroupBox *GrpInterface;
    ComboList *ComboCOM;
    QPushButton *BtnOpen;
    QPushButton *BtnClose;
    ComboList *ComboBaud;
    QPushButton *BtnPorts;

    QGroupBox *GrpAddress;
    MaskEdit *EditAddr;
    QLabel *LblHex1;

    PageControl *PageCommands;
    QWidget *TabCmdSet;
    QWidget *TabSet2;
    QWidget *TabPID;
    QWidget *TabCmdGet;
    QWidget *TabCmdOther;
    QWidget *TabK410;
    QGroupBox *GrpSpecial;
    QPushButton *BtnUpdate;

    // The command frame: its only store is these nine texts.
    QGroupBox *GrpCmdBytes;
    StaticText *StaticAdr;
    StaticText *StaticCMD;
    StaticText *StaticP0;
    StaticText *StaticP1;
    StaticText *StaticP2;
    StaticText *StaticP3;
    StaticText *StaticP4;
    StaticText *StaticP5;
    StaticText *StaticP6;
    QPushButton *BtnSend;

    // The windows beside this one, in the free space right of the address.
    QPushButton *BtnMonitor;
    QPushButton *BtnPlot;
    QPushButton *BtnConfig;

    QStatusBar *StatusBar1;
    // What the selected port name opens.
    QLabel *LblPortStatus;

private:
    void setupInterface(QWidget *client);
    void setupAddress(QWidget *client);
    void setupPages(QWidget *client);
    void setupCommandBytes(QWidget *client);
    void setupWindowButtons(QWidget *client);
};
