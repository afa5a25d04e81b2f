#include "pages/devicepage.h"

#include "pages/catalogueitems.h"
#include "pages/commandbytes.h"
#include "pages/itemrows.h"
#include "pages/modifiergroup.h"
#include "pages/pagelayout.h"
#include "pages/taggedcontrols.h"
#include "toolkit/hexkeyfilter.h"
#include "toolkit/placement.h"
#include "toolkit/radiogroup.h"
#include "toolkit/statictext.h"
#include "toolkit/tag.h"

#include <QGroupBox>

#include <array>

using namespace TaggedControls;

namespace {

// Both groups are this tall, so that the " Modifier " group under the radio
// group stands level with the " Special " group under the parameter group.
constexpr int kGroupHeight = 224;

// The fields of the link row; the rows above line up with its first two.
constexpr std::array kColumnLeft{64, 197, 296, 376};
constexpr int kListWidth = 61;
constexpr int kAnswerWidth = 50;
constexpr int kDelayWidth = 45;
constexpr int kIdWidth = 25;

// A field in row, level with the radio item of the same index.
QRect field(const RadioGroup *commands, int column, int row, int width)
{
    return {kColumnLeft[column], ItemRows::rowTop(commands, row, ItemRows::kFieldHeight), width,
            ItemRows::kFieldHeight};
}

// The catalogue's commands of the page, and "n/a" in the place of the one it
// does not list.
QStringList commandItems()
{
    QStringList items = CatalogueItems::itemTexts(Protocol::CommandPage::Karvel2);
    for (QString &item : items) {
        if (item.isEmpty())
            item = QStringLiteral("n/a");
    }
    return items;
}

quint8 codeOf(int item)
{
    return CatalogueItems::code(Protocol::CommandPage::Karvel2, item).value();
}

} // namespace

DevicePage::DevicePage(CommandBytes &bytes, QWidget *sheet)
    : CommandPage(bytes, sheet)
    , RG_K410(Toolkit::placed(new RadioGroup(QStringLiteral(" Command "), commandItems(), sheet), "RG_K410",
                              PageLayout::commandGroup(kGroupHeight)))
    , GrpK410(Toolkit::placed(new QGroupBox(QStringLiteral(" Parameter / Last Answer "), sheet), "GrpK410",
                              PageLayout::parameterGroup(kGroupHeight)))
{
    RG_K410->setItemIndex(CurrentLimit);
    createCurrentLimitRow();
    createAnswerRow();
    createLinkRow();
    nameByCommand(GrpK410, RG_K410);
    CbModifierK410 = addModifierGroup(sheet, "GroupBox1", "CbModifierK410", kGroupHeight);

    Toolkit::connectHandler(RG_K410, &RadioGroup::itemClicked, this, &DevicePage::RG_K410Click);
    connectComposer(GrpK410, this, &DevicePage::EditOutputsChange);
    Toolkit::connectHandler(CbModifierK410, &ComboList::changed, this, &DevicePage::CbModifierK410Change);
}

void DevicePage::createCurrentLimitRow()
{
    CbCurrentLimit = comboList(GrpK410, "CbCurrentLimit", CurrentLimit, field(RG_K410, 0, CurrentLimit, kListWidth));
}

void DevicePage::createAnswerRow()
{
    // The answer to $44, tagged like the current limit: the selection step
    // never disables either.
    const auto answer = [this](const char *name, int column) {
        auto *text = Toolkit::placed(new StaticText(QString(), GrpK410), name,
                                     field(RG_K410, column, VoltageTemperature, kAnswerWidth));
        Toolkit::setTag(text, CurrentLimit);
        return text;
    };
    labelBefore(answer("StaticVoltage", 0), "LblVolt", QStringLiteral("Voltage:"));
    labelBefore(answer("StaticTemperature", 1), "LblTemperature", QStringLiteral("Temperature:"));
}

void DevicePage::createLinkRow()
{
    // "19200" until the operator chooses.
    CbRS232Baud =
        comboList(GrpK410, "CbRS232Baud", LinkParameters, field(RG_K410, 0, LinkParameters, kListWidth), 4);
    EditRS485Delay =
        spinEdit(GrpK410, "EditRS485Delay", LinkParameters, field(RG_K410, 1, LinkParameters, kDelayWidth));
    EditRSRecvID = createIdEntry("EditRSRecvID", 2);
    EditRSSendID = createIdEntry("EditRSSendID", 3);
    labelBefore(CbRS232Baud, "LblRS232Baud", QStringLiteral("Baudrate:"));
    labelBefore(EditRS485Delay, "LblRS485Delay", QStringLiteral("Delay (ms):"));
    labelBefore(EditRSRecvID, "LblRecvID", QStringLiteral("Recv ID:"));
    labelBefore(EditRSSendID, "LblSendID", QStringLiteral("Send ID:"));
}

MaskEdit *DevicePage::createIdEntry(const char *name, int column)
{
    // Two hexadecimal digits, upper-cased.
    MaskEdit *entry = maskEdit(GrpK410, name, LinkParameters, field(RG_K410, column, LinkParameters, kIdWidth),
                               QStringLiteral(">AA"), QStringLiteral("00"));
    Toolkit::connectHandler(entry, &MaskEdit::keyPress, this, &EditAddrKeyPress);
    return entry;
}

void DevicePage::enableLinkControls(bool enabled)
{
    for (QWidget *control : GrpK410->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (Toolkit::tagOf(control) == LinkParameters)
            control->setEnabled(enabled);
    }
}

void DevicePage::PageActivated()
{
    RG_K410Click();
}

void DevicePage::RG_K410Click()
{
    const int item = RG_K410->ItemIndex();
    enableLinkControls(item == LinkParameters);
    CommandBytes &frame = bytes();
    switch (item) {
    case CurrentLimit:
        EditOutputsChange(CbCurrentLimit);
        break;
    case VoltageTemperature:
        frame.setHex(CommandBytes::CMD, codeOf(VoltageTemperature));
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
        frame.setHex(CommandBytes::CMD, codeOf(CurrentLimit));
        frame.setHex(CommandBytes::P1, CbCurrentLimit->ItemIndex());
        break;
    case LinkParameters:
        frame.setHex(CommandBytes::CMD, codeOf(LinkParameters));
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
