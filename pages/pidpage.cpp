#include "pages/pidpage.h"

#include "pages/catalogueitems.h"
#include "pages/commandbytes.h"
#include "pages/itemrows.h"
#include "pages/modifiergroup.h"
#include "pages/taggedcontrols.h"
#include "toolkit/radiogroup.h"
#include "toolkit/tag.h"

#include <QGroupBox>

#include <array>
#include <initializer_list>

using namespace TaggedControls;

namespace {

using Byte = CommandBytes::Byte;

// The clock row's four fields, packed to fit the group; the PID clock's
// items are the narrower ones.
constexpr std::array kClockFieldLeft{29, 130, 239, 351};
constexpr int kPidClockWidth = 52;
constexpr int kClockListWidth = 58;
// The other rows share three columns of fields.
constexpr std::array kColumnLeft{56, 186, 316};
// Room for three digits, two digits, four digits.
constexpr int kByteWidth = 45;
constexpr int kRangeWidth = 38;
constexpr int kWordWidth = 52;
constexpr int kRangeGap = 3;
constexpr int kCheckWidth = 80;
constexpr int kCheckHeight = 19;

// A field in row, level with the radio item of the same index.
QRect field(const RadioGroup *commands, int left, int row, int width)
{
    return {left, ItemRows::rowTop(commands, row, ItemRows::kFieldHeight), width, ItemRows::kFieldHeight};
}

// The spin edits' values, one byte each from first on, unmasked.
void setValues(CommandBytes &frame, Byte first, std::initializer_list<const SpinEdit *> edits)
{
    int byte = first;
    for (const SpinEdit *edit : edits)
        frame.setHex(Byte(byte++), edit->Value());
}

// A 16-bit field: its low byte, then the value shifted right by 8, which
// shows more digits while an out-of-range number is being typed.
void setWord(CommandBytes &frame, Byte first, int value)
{
    frame.setHex(first, value & 0xFF);
    frame.setHex(Byte(first + 1), value >> 8);
}

} // namespace

PidPage::PidPage(CommandBytes &bytes, QWidget *sheet)
    : CommandPage(bytes, sheet)
    , RgPID(ItemRows::addCommandGroup(sheet, "RgPID", Protocol::CommandPage::Pid))
    , GrpPID(ItemRows::addRowGroup(sheet, QStringLiteral(" Parameter "), "GrpPID", RgPID))
{
    createClockRow();
    createCoefficientRow();
    createClippingRows();
    CheckPIDEnable =
        checkBox(GrpPID, "CheckPIDEnable", Enable, QStringLiteral("Enabled"),
                 {kColumnLeft[0], ItemRows::rowTop(RgPID, Enable, kCheckHeight), kCheckWidth, kCheckHeight});
    nameByCommand(GrpPID, RgPID);
    CbModifier3 = addModifierGroup(sheet, "GrpModifier3", "CbModifier3", RgPID->height());

    Toolkit::connectHandler(RgPID, &RadioGroup::itemClicked, this, &PidPage::RgPIDClick);
    connectComposer(GrpPID, this, &PidPage::CbPIDClkChange);
    Toolkit::connectHandler(CbModifier3, &ComboList::changed, this, &PidPage::CbModifier3Change);
}

void PidPage::createClockRow()
{
    const auto clockList = [this](const char *name, int column, int width) {
        return comboList(GrpPID, name, Configuration, field(RgPID, kClockFieldLeft[column], Configuration, width));
    };
    CbPIDClk = clockList("CbPIDClk", 0, kPidClockWidth);
    CbDiffClk = clockList("CbDiffClk", 1, kClockListWidth);
    CbVClk = clockList("CbVClk", 2, kClockListWidth);
    EditVFact = spinEdit("EditVFact", Configuration, kClockFieldLeft[3], kWordWidth);
    labelBefore(CbPIDClk, "LblPIDClk", QStringLiteral("Clk:"));
    labelBefore(CbDiffClk, "LblDiffClk", QStringLiteral("DiffClk:"));
    labelBefore(CbVClk, "LblVClk", QStringLiteral("VClock:"));
    labelBefore(EditVFact, "LblVFact", QStringLiteral("VFactor:"));
}

void PidPage::createCoefficientRow()
{
    // Each coefficient with its range to its right, in the order Tab takes.
    const auto rangeLeft = [](int column) { return kColumnLeft[column] + kByteWidth + kRangeGap; };
    EditPCof = labelledSpinEdit(QStringLiteral("P:"), "LblP", "EditPCof", Coefficients, 0, kByteWidth);
    EditPRange = spinEdit("EditPRange", Coefficients, rangeLeft(0), kRangeWidth);
    EditICof = labelledSpinEdit(QStringLiteral("I:"), "LblI", "EditICof", Coefficients, 1, kByteWidth);
    EditIRange = spinEdit("EditIRange", Coefficients, rangeLeft(1), kRangeWidth);
    EditDCof = labelledSpinEdit(QStringLiteral("D:"), "LblD", "EditDCof", Coefficients, 2, kByteWidth);
    EditDRange = spinEdit("EditDRange", Coefficients, rangeLeft(2), kRangeWidth);
}

void PidPage::createClippingRows()
{
    EditPClip = labelledSpinEdit(QStringLiteral("P:"), "LblPC", "EditPClip", PartClipping, 0, kByteWidth);
    EditIClip = labelledSpinEdit(QStringLiteral("I:"), "LblIC", "EditIClip", PartClipping, 1, kByteWidth);
    EditDClip = labelledSpinEdit(QStringLiteral("D:"), "LblDC", "EditDClip", PartClipping, 2, kByteWidth);
    EditCISum =
        labelledSpinEdit(QStringLiteral("IntSum:"), "LblIntSum", "EditCISum", SumClipping, 0, kByteWidth);
    EditCIInput =
        labelledSpinEdit(QStringLiteral("IntInput:"), "LblIntInp", "EditCIInput", SumClipping, 1, kByteWidth);
    EditClipSum =
        labelledSpinEdit(QStringLiteral("ClipSum:"), "LblClipSum", "EditClipSum", SumClipping, 2, kWordWidth);
}

SpinEdit *PidPage::spinEdit(const char *name, Command command, int left, int width)
{
    return TaggedControls::spinEdit(GrpPID, name, command, field(RgPID, left, command, width));
}

SpinEdit *PidPage::labelledSpinEdit(const QString &caption, const char *labelName, const char *name,
                                    Command command, int column, int width)
{
    SpinEdit *edit = spinEdit(name, command, kColumnLeft[column], width);
    labelBefore(edit, labelName, caption);
    return edit;
}

void PidPage::PageActivated()
{
    CbModifier3Change();
}

void PidPage::RgPIDClick()
{
    const int item = RgPID->ItemIndex();
    CbPIDClkChange(firstControlOf(item));
    // Only the coefficients use P5 and P6.
    if (item != Coefficients)
        bytes().zero({CommandBytes::P5, CommandBytes::P6});
    enableForCommand(GrpPID, item);
    CbModifier3->setEnabled(item != Enable);
}

void PidPage::CbPIDClkChange(QObject *Sender)
{
    const int item = RgPID->ItemIndex();
    if (Toolkit::tagOf(Sender) == item)
        composeCommand(item);
    // Enabling takes no modifier.
    if (item == Enable) {
        bytes().setHex(CommandBytes::P0, 0);
        return;
    }
    const int modifier = CbModifier3->ItemIndex();
    bytes().setHex(CommandBytes::P0, modifier);
    if (isReadingModifier(modifier))
        bytes().zeroParameters();
}

void PidPage::CbModifier3Change()
{
    bytes().setHex(CommandBytes::P0, CbModifier3->ItemIndex());
    RgPIDClick();
}

void PidPage::composeCommand(int item)
{
    CommandBytes &frame = bytes();
    frame.setHex(CommandBytes::CMD, CatalogueItems::code(Protocol::CommandPage::Pid, item).value());
    switch (item) {
    case Configuration:
        setWord(frame, CommandBytes::P1, clockWord());
        setWord(frame, CommandBytes::P3, EditVFact->Value());
        break;
    case Coefficients:
        setValues(frame, CommandBytes::P1, {EditPCof, EditPRange, EditICof, EditIRange, EditDCof, EditDRange});
        break;
    case PartClipping:
        setValues(frame, CommandBytes::P1, {EditPClip, EditIClip, EditDClip});
        frame.zero({CommandBytes::P4});
        break;
    case SumClipping:
        setValues(frame, CommandBytes::P1, {EditCISum, EditCIInput});
        setWord(frame, CommandBytes::P3, EditClipSum->Value());
        break;
    case Enable:
        frame.setHex(CommandBytes::P1, CheckPIDEnable->isChecked() ? 1 : 0);
        frame.zero({CommandBytes::P2, CommandBytes::P3, CommandBytes::P4});
        break;
    }
}

int PidPage::clockWord() const
{
    return CbPIDClk->ItemIndex() + 8 * CbDiffClk->ItemIndex() + 64 * CbVClk->ItemIndex();
}

QObject *PidPage::firstControlOf(int item) const
{
    const std::array<QObject *, 5> firstControls{CbPIDClk, EditPCof, EditPClip, EditCISum, CheckPIDEnable};
    return firstControls.at(item);
}
