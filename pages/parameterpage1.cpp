#include "pages/parameterpage1.h"

#include "pages/catalogueitems.h"
#include "pages/commandbytes.h"
#include "pages/itemrows.h"
#include "pages/modifiergroup.h"
#include "pages/taggedcontrols.h"
#include "toolkit/radiogroup.h"
#include "toolkit/tag.h"

#include <QGroupBox>

#include <algorithm>

using namespace TaggedControls;

namespace {

// Three columns of a label and its edit; the edits without a label stand in
// the first edit column.
struct Column
{
    int label;
    int field;
    int fieldWidth;
};
constexpr Column kColumns[] = {{8, 76, 54}, {142, 197, 54}, {263, 342, 54}};
// Room for the five and eight digits of the tolerance and the steps per
// revolution.
constexpr int kWideFieldWidth = 84;
// The switch-mode lists stand two by two beside their item; a line of four
// does not fit the group.
constexpr int kLeftListWidth = 128;
constexpr int kRightListWidth = 124;
constexpr int kCheckHeight = 19;

constexpr Protocol::CommandPage kPage = Protocol::CommandPage::Parameters1;

} // namespace

ParameterPage1::ParameterPage1(CommandBytes &bytes, QWidget *sheet)
    : LinkedModifierPage(bytes, sheet)
    , RGCmdSet(ItemRows::addCommandGroup(sheet, "RGCmdSet", kPage, {{SwitchMode, 2}}))
    , GrpParameter(ItemRows::addRowGroup(sheet, QStringLiteral(" Parameter "), "GrpParameter", RGCmdSet))
{
    buildParameterGroup();
    nameByCommand(GrpParameter, RGCmdSet);
    CbModifier1 = addModifierGroup(sheet, "GrpModifier1", "CbModifier1", RGCmdSet->height());
    m_firstControls = {EditStandbyCur, EditAcceleration, EditBow, EditPrediv, EditMStepRes,
                       CbSwOne,        EditSoftStop,     EditVRef, EditTT,    EditPosLimit};

    Toolkit::connectHandler(RGCmdSet, &RadioGroup::itemClicked, this, &ParameterPage1::RGCmdSetClick);
    connectComposer(GrpParameter, this, &ParameterPage1::EditMaxCurrentChange);
    Toolkit::connectHandler(CbModifier1, &ComboList::changed, this, &ParameterPage1::CbModifier1Change);
}

void ParameterPage1::buildParameterGroup()
{
    QGroupBox *group = GrpParameter;
    // Each row level with the radio item of its command.
    const auto field = [this](int command, int left, int width, int line = 0) {
        return QRect(left, ItemRows::rowTop(RGCmdSet, command, ItemRows::kFieldHeight, line), width,
                     ItemRows::kFieldHeight);
    };
    // In an edit column, as wide as the column's edits unless width is given.
    const auto spinEditIn = [&](const char *name, int command, const Column &column, int width = 0) {
        return spinEdit(group, name, command, field(command, column.field, width ? width : column.fieldWidth));
    };
    const auto labelledSpinEdit = [&](const QString &caption, const char *labelName, const char *name, int command,
                                      const Column &column) {
        SpinEdit *edit = spinEditIn(name, command, column);
        labelAt(edit, labelName, caption, column.label);
        return edit;
    };
    // The switch-mode lists in the label columns, on the two lines of their
    // command.
    const auto switchList = [&](const char *name, int column, int line) {
        const int width = column == 0 ? kLeftListWidth : kRightListWidth;
        return comboList(group, name, SwitchMode, field(SwitchMode, kColumns[column].label, width, line));
    };
    const auto [first, second, third] = kColumns;

    EditStandbyCur =
        labelledSpinEdit(QStringLiteral("Standby:"), "LblCurStandby", "EditStandbyCur", CurrentControl, first);
    EditActiveCur =
        labelledSpinEdit(QStringLiteral("Running:"), "LblCurActive", "EditActiveCur", CurrentControl, second);
    EditAccelCur =
        labelledSpinEdit(QStringLiteral("Accelerating:"), "LblCurAccel", "EditAccelCur", CurrentControl, third);

    EditAcceleration =
        labelledSpinEdit(QStringLiteral("AMax:"), "LblAcceleration", "EditAcceleration", AMaxVMax, first);
    EditVelocity = labelledSpinEdit(QStringLiteral("VMax:"), "LblVelocity", "EditVelocity", AMaxVMax, second);

    EditBow = spinEditIn("EditBow", Bow, first);
    EditPrediv = spinEditIn("EditPrediv", Predivider, first);

    EditMStepRes =
        labelledSpinEdit(QStringLiteral("Resolution:"), "LblMRes", "EditMStepRes", Microstepping, first);
    EditMStepWave =
        labelledSpinEdit(QStringLiteral("Wave:"), "LblWave", "EditMStepWave", Microstepping, second);
    CheckMixedDecay = checkBox(group, "CheckMixedDecay", Microstepping, QStringLiteral("Mixed Decay"),
                               {third.label, ItemRows::rowTop(RGCmdSet, Microstepping, kCheckHeight),
                                third.field + third.fieldWidth - third.label, kCheckHeight});

    CbSwOne = switchList("CbSwOne", 0, 0);
    CbCalDir = switchList("CbCalDir", 1, 0);
    CbMovement = switchList("CbMovement", 0, 1);
    CbTravelcheck = switchList("CbTravelcheck", 1, 1);

    EditSoftStop = spinEditIn("EditSoftStop", StopSwitchDecel, first);
    const QString hardStop = QStringLiteral("Setting this value to zero means hard stop!");
    noteAt(EditSoftStop, "LblHardStop", hardStop, second.label);
    EditSoftStop->setAccessibleDescription(hardStop);
    EditVRef = spinEditIn("EditVRef", ReferenceSearchVel, first);
    EditTT = spinEditIn("EditTT", TravelcheckTolerance, first, kWideFieldWidth);
    EditPosLimit = spinEditIn("EditPosLimit", StepsPerRevolution, first, kWideFieldWidth);
}

void ParameterPage1::CbModifier1Change()
{
    modifierChange();
}

void ParameterPage1::RGCmdSetClick()
{
    const int item = RGCmdSet->ItemIndex();
    EditMaxCurrentChange(m_firstControls.at(item));

    CommandBytes &frame = bytes();
    switch (item) {
    case Bow:
    case Predivider:
    case StopSwitchDecel:
    case ReferenceSearchVel:
    case TravelcheckTolerance:
        frame.zero({CommandBytes::P3, CommandBytes::P4});
        break;
    default:
        break;
    }
    if (item != Microstepping && item != SwitchMode)
        frame.zero({CommandBytes::P5});
    if (item != SwitchMode)
        frame.zero({CommandBytes::P6});

    enableForCommand(GrpParameter, item);
}

void ParameterPage1::EditMaxCurrentChange(QObject *Sender)
{
    const int item = RGCmdSet->ItemIndex();
    if (Toolkit::tagOf(Sender) == item)
        composeSelected(item);
    if (isReadingModifier(CbModifier1->ItemIndex()))
        bytes().zeroParameters();
}

void ParameterPage1::composeSelected(int item)
{
    using enum CommandBytes::Byte;
    CommandBytes &frame = bytes();
    frame.setHex(CMD, CatalogueItems::code(kPage, item).value());
    // The currents, the predivider and the resolution go out as typed, even
    // beyond a byte; multi-byte values are cut into their bytes.
    switch (item) {
    case CurrentControl:
        frame.setHex(P1, EditStandbyCur->Value());
        frame.setHex(P2, EditActiveCur->Value());
        frame.setHex(P3, EditAccelCur->Value());
        frame.zero({P4});
        break;
    case AMaxVMax:
        frame.setLittleEndian(P1, EditAcceleration->Value(), 2);
        frame.setLittleEndian(P3, EditVelocity->Value(), 2);
        break;
    case Bow:
        frame.setLittleEndian(P1, EditBow->Value(), 2);
        break;
    case Predivider:
        frame.setHex(P1, EditPrediv->Value());
        frame.zero({P2});
        break;
    case Microstepping:
        frame.setHex(P1, EditMStepRes->Value());
        frame.setLittleEndian(P2, EditMStepWave->Value(), 1);
        frame.zero({P3, P4});
        frame.setHex(P5, CheckMixedDecay->isChecked() ? 1 : 0);
        break;
    case SwitchMode:
        frame.zero({P1});
        frame.setHex(P2, CbSwOne->ItemIndex());
        frame.setHex(P3, CbCalDir->ItemIndex());
        frame.setHex(P4, CbMovement->ItemIndex());
        frame.zero({P5});
        frame.setHex(P6, CbTravelcheck->ItemIndex());
        break;
    case StopSwitchDecel:
        frame.setLittleEndian(P1, EditSoftStop->Value(), 2);
        break;
    case ReferenceSearchVel:
        frame.setLittleEndian(P1, EditVRef->Value(), 2);
        break;
    case TravelcheckTolerance:
        frame.setLittleEndian(P1, EditTT->Value(), 2);
        break;
    case StepsPerRevolution:
        frame.setLittleEndian(P1, EditPosLimit->Value(), 4);
        break;
    }
}
