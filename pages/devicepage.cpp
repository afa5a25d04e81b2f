#include "pages/devicepage.h"

#include "app/hexkeyfilter.h"
#include "pages/commandbytes.h"
#include "pages/modifiergroup.h"
#include "pages/pagelayout.h"
#include "toolkit/combolist.h"
#include "toolkit/maskedit.h"
#include "toolkit/radiogroup.h"
#include "toolkit/spinedit.h"
#include "toolkit/statictext.h"

#include <array>

namespace {

// Both groups are this tall, so that the " Modifier " group under the radio
// group stands level with the " Special " group under the parameter group.
constexpr int kGroupHeight = 224;
// The radio group then spreads its items 51 pixels apart; each command's
// controls stand level with its item.
constexpr int kFirstRowTop = 30;
constexpr int kRowPitch = 51;
constexpr int kFieldHeight = 21;

// The fields of the link row; the rows above line up with its first two.
constexpr std::array kColumnLeft{64, 199, 294, 375};
constexpr int kListWidth = 62;
constexpr int kAnswerWidth = 50;
constexpr int kDelayWidth = 40;
constexpr int kIdWidth = 25;

QRect field(int column, int row, int width)
{
    return {kColumnLeft[column], kFirstRowTop + row * kRowPitch, width, kFieldHeight};
}

} // namespace

DevicePage::DevicePage(CommandBytes &bytes, QWidget *sheet)
    : CommandPage(bytes, sheet)
    , RG_K410(Toolkit::placed(new RadioGroup(QStringLiteral(" Command "),
                                             {QStringLiteral("$10: Current Limit"),
                                              QStringLiteral("$44: Get Volt./Temp."), QStringLiteral("n/a"),
                                              QStringLiteral("$C1: RS232/485 Parameters")},
                                             sheet),
                              "RG_K410", PageLayout::commandGroup(kGroupHeight)))
    , m_parameters(Toolkit::placed(new QGroupBox(QStringLiteral(" Parameter / Last Answer "), sheet), "GrpK410",
                                   PageLayout::parameterGroup(kGroupHeight)),
                   this, [this](QObject *sender) { EditOutputsChange(sender); })
{
    RG_K410->setItemIndex(CurrentLimit);
    createCurrentLimitRow();
    createAnswerRow();
    createLinkRow();
    CbModifierK410 = addModifierGroup(sheet, "GroupBox1", "CbModifierK410", kGroupHeight);

    Toolkit::connectHandler(RG_K410, &RadioGroup::itemClicked, this, &DevicePage::RG_K410Click);
    Toolkit::connectHandler(CbModifierK410, &ComboList::changed, this, &DevicePage::CbModifierK410Change);
}

void DevicePage::createCurrentLimitRow()
{
    CbCurrentLimit = m_parameters.comboList(
        "CbCurrentLimit", field(0, CurrentLimit, kListWidth),
        {QStringLiteral("Inputs"), QStringLiteral("1/3"), QStringLiteral("2/3"), QStringLiteral("3/3")},
        CurrentLimit);
}

void DevicePage::createAnswerRow()
{
    // The answer to $44, tagged like the current limit: the selection step
    // never disables either.
    const QWidget *voltage =
        m_parameters.staticText("StaticVoltage", field(0, VoltageTemperature, kAnswerWidth), CurrentLimit);
    const QWidget *temperature =
        m_parameters.staticText("StaticTemperature", field(1, VoltageTemperature, kAnswerWidth), CurrentLimit);
    m_parameters.label(QStringLiteral("Voltage:"), "LblVolt", voltage, CurrentLimit);
    m_parameters.label(QStringLiteral("Temperature:"), "LblTemperature", temperature, CurrentLimit);
}

void DevicePage::createLinkRow()
{
    // "38500" is the unit's own caption; only the index is sent.
    CbRS232Baud = m_parameters.comboList("CbRS232Baud", field(0, LinkParameters, kListWidth),
                                         {QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("7200"),
                                          QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("38500"),
                                          QStringLiteral("57600")},
                                         LinkParameters);
    CbRS232Baud->setItemIndex(4);
    EditRS485Delay =
        m_parameters.spinEdit("EditRS485Delay", field(1, LinkParameters, kDelayWidth), 0, 255, LinkParameters);
    EditRSRecvID = createIdEntry("EditRSRecvID", 2);
    EditRSSendID = createIdEntry("EditRSSendID", 3);
    m_parameters.label(QStringLiteral("Baudrate:"), "LblRS232Baud", CbRS232Baud, LinkParameters);
    m_parameters.label(QStringLiteral("Delay (ms):"), "LblRS485Delay", EditRS485Delay, LinkParameters);
    m_parameters.label(QStringLiteral("Recv ID:"), "LblRecvID", EditRSRecvID, LinkParameters);
    m_parameters.label(QStringLiteral("Send ID:"), "LblSendID", EditRSSendID, LinkParameters);
}

MaskEdit *DevicePage::createIdEntry(const char *name, int column)
{
    // Two hexadecimal digits, upper-cased; the text is set before the
    // composer listens.
    auto *entry = new MaskEdit(QStringLiteral(">AA"), m_parameters.box());
    entry->setText(QStringLiteral("00"));
    m_parameters.input(entry, name, field(column, LinkParameters, kIdWidth), LinkParameters);
    Toolkit::connectHandler(entry, &MaskEdit::keyPress, this, &EditAddrKeyPress);
    return entry;
}

void DevicePage::PageActivated()
{
    RG_K410Click();
}

void DevicePage::RG_K410Click()
{
    const int item = RG_K410->ItemIndex();
    m_parameters.setTagEnabled(LinkParameters, item == LinkParameters);
    CommandBytes &frame = bytes();
    switch (item) {
    case CurrentLimit:
        EditOutputsChange(CbCurrentLimit);
        break;
    case VoltageTemperature:
        frame.setHex(CommandBytes::CMD, 0x44);
        break;
    case LinkParameters:
        EditOutputsChange(CbRS232Baud);
        break;
    default:
        // "n/a" leaves the display as it is.
        CbModifierK410->setEnabled(false);
        return;
    }
    frame.zero({CommandBytes::P5, CommandBytes::P6});
    if (item != LinkParameters)
        frame.zero({CommandBytes::P2, CommandBytes::P3, CommandBytes::P4});
    // The query takes no modifier.
    const bool takesModifier = item != VoltageTemperature;
    if (!takesModifier)
        frame.zero({CommandBytes::P0, CommandBytes::P1});
    CbModifierK410->setEnabled(takesModifier);
    if (takesModifier)
        frame.setHex(CommandBytes::P0, CbModifierK410->ItemIndex());
}

void DevicePage::EditOutputsChange(QObject *Sender)
{
    CommandBytes &frame = bytes();
    switch (Toolkit::tagOf(Sender)) {
    case CurrentLimit:
        frame.setHex(CommandBytes::CMD, 0x10);
        frame.setHex(CommandBytes::P1, CbCurrentLimit->ItemIndex());
        break;
    case LinkParameters:
        frame.setHex(CommandBytes::CMD, 0xC1);
        frame.setHex(CommandBytes::P1, CbRS232Baud->ItemIndex());
        // The identifiers go as their entries show them, blanks included.
        frame.set(CommandBytes::P2, EditRSRecvID->text());
        frame.set(CommandBytes::P3, EditRSSendID->text());
        frame.setHex(CommandBytes::P4, EditRS485Delay->Value());
        break;
    default:
        return;
    }
    if (isReadingModifier(CbModifierK410->ItemIndex()))
        frame.zeroParameters();
}

void DevicePage::CbModifierK410Change()
{
    bytes().setHex(CommandBytes::P0, CbModifierK410->ItemIndex());
    RG_K410Click();
}
