#include "pages/parameterpage1.h"

#include "pages/catalogueitems.h"
#include "pages/commandbytes.h"
#include "pages/commandgroup.h"
#include "pages/modifiergroup.h"
#include "pages/parametergrid.h"
#include "pages/taggedcontrols.h"
#include "toolkit/radiogroup.h"
#include "toolkit/tag.h"

#include <QGroupBox>

using namespace TaggedControls;
using ParameterGrid::caption;
using ParameterGrid::field;

namespace {

// Three columns of a label and its edit; the edits without a label stand in
// the first edit column.
constexpr ParameterGrid::Column kColumns[] = {{8, 76, 54}, {142, 197, 54}, {263, 342, 54}};
// Room for the five and eight digits of the tolerance and the steps per
// revolution.
constexpr int kWideFieldWidth = 84;
// The switch-mode lists stand two by two; a row of four does not fit the group.
constexpr int kLeftListWidth = 128;
constexpr int kRightListWidth = 124;

constexpr Protocol::CommandPage kPage = Protocol::CommandPage::Parameters1;
constexpr int kRows = 11;
constexpr int kParameterHeight = ParameterGrid::groupHeight(kRows);
constexpr int kCommandHeight = ParameterGrid::commandHeightBeside(kParameterHeight);

} // namespace

ParameterPage1::ParameterPage1(CommandBytes &bytes, QWidget *sheet)
    : LinkedModifierPage(bytes, sheet)
    , RGCmdSet(addCommandGroup(sheet, "RGCmdSet", CatalogueItems::itemTexts(kPage), kCommandHeight))
    , GrpParameter(addParameterGroup(sheet, "GrpParameter", kParameterHeight))
{
    buildParameterGroup();
    CbModifier1 = addModifierGroup(sheet, "GrpModifier1", "CbModifier1", kCommandHeight);
    m_firstControls = {EditStandbyCur, EditAcceleration, EditBow, EditPrediv, EditMStepRes,
                       CbSwOne,        EditSoftStop,     EditVRef, EditTT,    EditPosLimit};

    Toolkit::connectHandler(RGCmdSet, &RadioGroup::itemClicked, this, &ParameterPage1::RGCmdSetClick);
    connectComposer(GrpParameter, this, &ParameterPage1::EditMaxCurrentChange);
    Toolkit::connectHandler(CbModifier1, &ComboList::changed, this, &ParameterPage1::CbModifier1Change);
}

void ParameterPage1::buildParameterGroup()
{
    QGroupBox *group = GrpParameter;
    const auto [label0, field0, width0] = kColumns[0];
    const auto [label1, field1, width1] = kColumns[1];
    const auto [label2, field2, width2] = kColumns[2];

    label(group, "LblCurStandby", CurrentControl, QStringLiteral("Standby:"), caption(0, label0));
    EditStandbyCur = spinEdit(group, "EditStandbyCur", CurrentControl, field(0, field0, width0), 0, 255, 0);
    label(group, "LblCurActive", CurrentControl, QStringLiteral("Running:"), caption(0, label1));
    EditActiveCur = spinEdit(group, "EditActiveCur", CurrentControl, field(0, field1, width1), 0, 255, 0);
    label(group, "LblCurAccel", CurrentControl, QStringLiteral("Accelerating:"), caption(0, label2));
    EditAccelCur = spinEdit(group, "EditAccelCur", CurrentControl, field(0, field2, width2), 0, 255, 0);

    label(group, "LblAcceleration", AMaxVMax, QStringLiteral("AMax:"), caption(1, label0));
    EditAcceleration = spinEdit(group, "EditAcceleration", AMaxVMax, field(1, field0, width0), 0, 8191, 0);
    label(group, "LblVelocity", AMaxVMax, QStringLiteral("VMax:"), caption(1, label1));
    EditVelocity = spinEdit(group, "EditVelocity", AMaxVMax, field(1, field1, width1), 0, 8191, 0);

    EditBow = spinEdit(group, "EditBow", Bow, field(2, field0, width0), 1, 8191, 1);
    EditPrediv = spinEdit(group, "EditPrediv", Predivider, field(3, field0, width0), 0, 16, 0);

    label(group, "LblMRes", Microstepping, QStringLiteral("Resolution:"), caption(4, label0));
    EditMStepRes = spinEdit(group, "EditMStepRes", Microstepping, field(4, field0, width0), 0, 67, 0);
    label(group, "LblWave", Microstepping, QStringLiteral("Wave:"), caption(4, label1));
    EditMStepWave = spinEdit(group, "EditMStepWave", Microstepping, field(4, field1, width1), -127, 127, 0);
    CheckMixedDecay = checkBox(group, "CheckMixedDecay", Microstepping, QStringLiteral("Mixed Decay"),
                               ParameterGrid::checkBox(4, label2, field2 + width2 - label2));

    CbSwOne = comboList(group, "CbSwOne", SwitchMode, field(5, label0, kLeftListWidth),
                        {QStringLiteral("Separate Switches"), QStringLiteral("RefSw = EndSw")}, 0);
    CbCalDir = comboList(group, "CbCalDir", SwitchMode, field(5, label1, kRightListWidth),
                         {QStringLiteral("Search Left Sw."), QStringLiteral("Search Right Sw.")}, 0);
    CbMovement = comboList(group, "CbMovement", SwitchMode, field(6, label0, kLeftListWidth),
                           {QStringLiteral("Circular"), QStringLiteral("Linear")}, 0);
    CbTravelcheck = comboList(group, "CbTravelcheck", SwitchMode, field(6, label1, kRightListWidth),
                              {QStringLiteral("No Travelcheck"), QStringLiteral("Travelcheck")}, 0);

    EditSoftStop = spinEdit(group, "EditSoftStop", StopSwitchDecel, field(7, field0, width0), 0, 8191, 0);
    label(group, "LblHardStop", StopSwitchDecel, QStringLiteral("Setting this value to zero means hard stop!"),
          caption(7, label1));
    EditVRef = spinEdit(group, "EditVRef", ReferenceSearchVel, field(8, field0, width0), 0, 8191, 0);
    EditTT = spinEdit(group, "EditTT", TravelcheckTolerance, field(9, field0, kWideFieldWidth), 0, 65535, 0);
    EditPosLimit = spinEdit(group, "EditPosLimit", StepsPerRevolution, field(10, field0, kWideFieldWidth), 0,
                            16777215, 0);
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
