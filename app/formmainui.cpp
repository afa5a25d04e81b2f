#include "app/formmainui.h"

#include "app/linerates.h"

#include "toolkit/combolist.h"
#include "toolkit/fonts.h"
#include "toolkit/maskedit.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/placement.h"
#include "toolkit/statictext.h"

#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

#include <array>

using Toolkit::button;
using Toolkit::label;
using Toolkit::placed;


void FormMainUi::setupUi(QMainWindow *form)
{
    form->setObjectName(QStringLiteral("FormMain"));
    form->setWindowTitle(QStringLiteral("Karvel 2 Control Panel"));
    form->setFont(Toolkit::windowFont());
    form->resize(kClientSize);

    auto *client = new QWidget(form);
    client->setObjectName(QStringLiteral("ClientArea"));
    form->setCentralWidget(client);
    setupInterface(client);
    setupAddress(client);
    setupPages(client);
    setupCommandBytes(client);
    setupWindowButtons(client);

    StatusBar1 = new QStatusBar(form);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(19);
    form->setStatusBar(StatusBar1);
    LblPortStatus = new QLabel(StatusBar1);
    LblPortStatus->setObjectName(QStringLiteral("LblPortStatus"));
    // It names devices and paths.
    LblPortStatus->setTextFormat(Qt::PlainText);
    // A long description is cut rather than widening the window.
    LblPortStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    StatusBar1->addWidget(LblPortStatus, 1);
}

void FormMainUi::setupInterface(QWidget *client)
{
    GrpInterface = placed(new QGroupBox(QStringLiteral(" Interface "), client), "GrpInterface",
                          {8, 8, 305, 89});
    QStringList ports;
    for (int n = 1; n <= 9; ++n)
        ports << QStringLiteral("COM%1").arg(n);
    ComboCOM = placed(new ComboList(ports, GrpInterface), "ComboCOM", {16, 24, 89, Toolkit::kComboHeight});
    ComboCOM->setItemIndex(0);
    BtnOpen = button(QStringLiteral("&Open"), GrpInterface, "BtnOpen", {128, 24, 75, 25}, true);
    BtnClose = button(QStringLiteral("&Close"), GrpInterface, "BtnClose", {216, 24, 75, 25}, false);
    QStringList rates;
    for (const LineRate &rate : PanelLineRates())
        rates << QString::number(rate.bitsPerSecond);
    ComboBaud = placed(new ComboList(rates, GrpInterface), "ComboBaud", {16, 56, 89, Toolkit::kComboHeight});
    ComboBaud->setItemIndex(3);
    // Free space of the group, under "&Open": the designed controls keep
    // their places.
    BtnPorts = button(QStringLiteral("&Ports..."), GrpInterface, "BtnPorts", {128, 56, 75, 25}, true);
    // The group's caption says what both lists are for; their items say which
    // is which.
    Toolkit::nameAs(ComboCOM, QStringLiteral("Port"));
    Toolkit::nameAs(ComboBaud, QStringLiteral("Baud rate"));
}

void FormMainUi::setupAddress(QWidget *client)
{
    GrpAddress = placed(new QGroupBox(QStringLiteral(" Unit Address "), client), "GrpAddress", {336, 8, 97, 65});
    EditAddr = placed(new MaskEdit(QStringLiteral(">AA"), GrpAddress), "EditAddr", {32, 24, 25, 21});
    EditAddr->setText(QStringLiteral("01"));
    LblHex1 = label(QStringLiteral("(hex)"), GrpAddress, "LblHex1", {64, 28});
    Toolkit::nameAs(EditAddr, GrpAddress->title());
    EditAddr->setAccessibleDescription(LblHex1->text());
}

void FormMainUi::setupPages(QWidget *client)
{
    PageCommands = placed(new PageControl(client), "PageCommands", {8, 112, 633, 497});
    const auto page = [this](const char *name, const QString &caption) {
        auto *sheet = new QWidget;
        sheet->setObjectName(QLatin1String(name));
        PageCommands->addTab(sheet, caption);
        return sheet;
    };
    TabCmdSet = page("TabCmdSet", QStringLiteral("Parameters... (1)"));
    TabSet2 = page("TabSet2", QStringLiteral("Parameters... (2)"));
    TabPID = page("TabPID", QStringLiteral("PID..."));
    TabCmdGet = page("TabCmdGet", QStringLiteral("Get..."));
    TabCmdOther = page("TabCmdOther", QStringLiteral("Other..."));
    TabK410 = page("TabK410", QStringLiteral("Karvel 2"));

    GrpSpecial = placed(new QGroupBox(QStringLiteral(" Special "), TabK410), "GrpSpecial", {464, 240, 153, 81});
    BtnUpdate = button(QStringLiteral("&Update Firmware..."), GrpSpecial, "BtnUpdate", {16, 24, 121, 41}, false);
}

void FormMainUi::setupCommandBytes(QWidget *client)
{
    GrpCmdBytes = placed(new QGroupBox(QStringLiteral(" Command Bytes "), client), "GrpCmdBytes",
                         {8, 624, 633, 89});

    struct Byte
    {
        StaticText *&text;
        const char *textName;
        const char *labelName;
        const char *caption;
    };
    const std::array<Byte, 9> bytes{{
        {StaticAdr, "StaticAdr", "LblAdr", "ADR"},
        {StaticCMD, "StaticCMD", "LblCMD", "CMD"},
        {StaticP0, "StaticP0", "LblP0", "P0"},
        {StaticP1, "StaticP1", "LblP1", "P1"},
        {StaticP2, "StaticP2", "LblP2", "P2"},
        {StaticP3, "StaticP3", "LblP3", "P3"},
        {StaticP4, "StaticP4", "LblP4", "P4"},
        {StaticP5, "StaticP5", "LblP5", "P5"},
        {StaticP6, "StaticP6", "LblP6", "P6"},
    }};
    int left = 24;
    for (const Byte &byte : bytes) {
        byte.text = placed(new StaticText(QStringLiteral("00"), GrpCmdBytes), byte.textName, {left, 32, 25, 25});
        byte.text->setFont(Toolkit::commandBytesFont());
        label(QLatin1String(byte.caption), GrpCmdBytes, byte.labelName, {left, 60});
        left += 32;
    }
    StaticAdr->setText(QStringLiteral("01"));

    BtnSend = button(QStringLiteral("&Send Command"), GrpCmdBytes, "BtnSend", {328, 24, 129, 41}, false);
}

void FormMainUi::setupWindowButtons(QWidget *client)
{
    // Free space right of " Unit Address ", above the pages: the designed
    // controls keep their places.
    BtnMonitor = button(QStringLiteral("&Monitor..."), client, "BtnMonitor", {552, 16, 89, 25}, true);
    BtnPlot = button(QStringLiteral("P&lot..."), client, "BtnPlot", {552, 48, 89, 25}, true);
    BtnConfig = button(QStringLiteral("Con&figuration..."), client, "BtnConfig", {448, 16, 97, 25}, false);
}
