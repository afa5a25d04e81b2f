#include "pages/parameterpage2.h"

#include "pages/catalogueitems.h"
#include "pages/commandbytes.h"
#include "pages/commandgroup.h"
#include "pages/modifiergroup.h"
#include "pages/parametergrid.h"
#include "pages/taggedcontrols.h"
#include "toolkit/beep.h"
#include "toolkit/hexkeyfilter.h"
#include "toolkit/placement.h"
#include "toolkit/radiogroup.h"
#include "toolkit/tag.h"
#include "util/convert_error.h"
#include "util/karvutils.h"

#include <QGroupBox>

#include <algorithm>

using namespace TaggedControls;
using ParameterGrid::caption;
using ParameterGrid::field;

namespace {

// Two columns of a label and its edit; the controls without a label stand in
// the first edit column, the check boxes that name their command in the
// first label column.
constexpr ParameterGrid::Column kLeft{8, 102, 88};
constexpr ParameterGrid::Column kRight{216, 317, 80};
constexpr int kCheckWidth = kLeft.field - kLeft.label - 6;
constexpr int kHexNoteLeft = kLeft.field + kLeft.fieldWidth + 6;

constexpr Protocol::CommandPage kPage = Protocol::CommandPage::Parameters2;
constexpr int kRows = 9;
constexpr int kParameterHeight = ParameterGrid::groupHeight(kRows);
constexpr int kCommandHeight = ParameterGrid::commandHeightBeside(kParameterHeight);

const QString kIdentifierMask = QStringLiteral(">AAAAAAAA");

// A CAN identifier entry as a number; 0 while a position is blank or the
// entry holds anything but hexadecimal digits.
qint32 identifierOf(const MaskEdit *entry)
{
    try {
        return KarvUtils::HexTextToInt(entry->text());
    } catch (const EConvertError &) {
        return 0;
    }
}

} // namespace

ParameterPage2::ParameterPage2(CommandBytes &bytes, QWidget *sheet)
    : LinkedModifierPage(bytes, sheet)
    , RGCmdSet2(addCommandGroup(sheet, "RGCmdSet2", CatalogueItems::itemTexts(kPage), kCommandHeight))
    , GrpParameter2(addParameterGroup(sheet, "GrpParameter2", kParameterHeight))
{
    buildParameterGroup();
    CbModifier2 = addModifierGroup(sheet, "GrpModifier2", "CbModifier2", kCommandHeight);
    m_firstControls = {EditEncConf,  CheckDevInt,   EditCorrection, CheckExtAlarm,
                       CheckStepDir, EditReceiveID, EditSendID,     CbCANBaud};

    Toolkit::connectHandler(RGCmdSet2, &RadioGroup::itemClicked, this, &ParameterPage2::RGCmdSet2Click);
    connectComposer(GrpParameter2, this, &ParameterPage2::EditEncConfChange);
    Toolkit::connectHandler(CbModifier2, &ComboList::changed, this, &ParameterPage2::CbModifier2Change);
    Toolkit::connectHandler(EditEncConf, &MaskEdit::keyPress, this, &ParameterPage2::EditEncConfKeyPress);
    for (MaskEdit *identifier : {EditReceiveID, EditSendID})
        Toolkit::connectHandler(identifier, &MaskEdit::keyPress, this, &EditAddrKeyPress);
}

void ParameterPage2::buildParameterGroup()
{
    QGroupBox *group = GrpParameter2;

    label(group, "LblEncCfg", EncoderConfiguration, QStringLiteral("Config.:"), caption(0, kLeft.label));
    EditEncConf = maskEdit(group, "EditEncConf", EncoderConfiguration, field(0, kLeft.field, kLeft.fieldWidth),
                           QStringLiteral("0000000"), QStringLiteral("0000000"));
    label(group, "LblEncPrediv", EncoderConfiguration, QStringLiteral("Prediv.:"), caption(0, kRight.label));
    EditEncPrediv = spinEdit(group, "EditEncPrediv", EncoderConfiguration, field(0, kRight.field, kRight.fieldWidth),
                             0, 255, 0);
    label(group, "LblEncDev", EncoderConfiguration, QStringLiteral("Deviation:"), caption(1, kLeft.label));
    EditEncDeviation = spinEdit(group, "EditEncDeviation", EncoderConfiguration,
                                field(1, kLeft.field, kLeft.fieldWidth), 0, 65535, 0);
    label(group, "LblEncMult", EncoderConfiguration, QStringLiteral("Multiplier:"), caption(1, kRight.label));
    EditEncMult = spinEdit(group, "EditEncMult", EncoderConfiguration, field(1, kRight.field, kRight.fieldWidth), 0,
                           255, 0);

    CheckDevInt = checkBox(group, "CheckDevInt", DeviationAlarm, QStringLiteral("Enabled"),
                           ParameterGrid::checkBox(2, kLeft.label, kCheckWidth));
    CbDeviationStop = comboList(group, "CbDeviationStop", DeviationAlarm, field(2, kLeft.field, kLeft.fieldWidth),
                                {QStringLiteral("No Stop"), QStringLiteral("Soft Stop"), QStringLiteral("Hard Stop")},
                                0);
    label(group, "LblCorrDelay", DeviationAlarm, QStringLiteral("Correction Delay:"), caption(2, kRight.label));
    EditAutoCorrect = spinEdit(group, "EditAutoCorrect", DeviationAlarm, field(2, kRight.field, kRight.fieldWidth),
                               0, 2000, 0);

    EditCorrection = spinEdit(group, "EditCorrection", AutomaticCorrection, field(3, kLeft.field, kLeft.fieldWidth),
                              0, 255, 0);
    label(group, "LblTolerance", AutomaticCorrection, QStringLiteral("Tolerance:"), caption(3, kRight.label));
    EditTolerance = spinEdit(group, "EditTolerance", AutomaticCorrection, field(3, kRight.field, kRight.fieldWidth),
                             0, 65535, 0);

    label(group, "LblPowerDown", AlarmMode, QStringLiteral("Power down on:"), caption(4, kLeft.label));
    CheckExtAlarm = checkBox(group, "CheckExtAlarm", AlarmMode, QStringLiteral("External Alarm"),
                             ParameterGrid::checkBox(4, kLeft.field, kRight.label - kLeft.field - 4));
    CheckDriverError = checkBox(group, "CheckDriverError", AlarmMode, QStringLiteral("Driver Error"),
                                ParameterGrid::checkBox(4, kRight.label, kRight.field - kRight.label));

    CheckStepDir = checkBox(group, "CheckStepDir", StepDirectionMode, QStringLiteral("Enabled"),
                            ParameterGrid::checkBox(5, kLeft.label, kCheckWidth));

    EditReceiveID = maskEdit(group, "EditReceiveID", CanReceiveId, field(6, kLeft.field, kLeft.fieldWidth),
                             kIdentifierMask, QStringLiteral("00000000"));
    Toolkit::label(QStringLiteral("(hex)"), group, "Label1", caption(6, kHexNoteLeft));
    EditSendID = maskEdit(group, "EditSendID", CanSendId, field(7, kLeft.field, kLeft.fieldWidth), kIdentifierMask,
                          QStringLiteral("00000000"));
    Toolkit::label(QStringLiteral("(hex)"), group, "Label2", caption(7, kHexNoteLeft));

    CbCANBaud = comboList(group, "CbCANBaud", CanBaudRate, field(8, kLeft.field, kLeft.fieldWidth),
                          {QStringLiteral("125 kBaud"), QStringLiteral("250 kBaud"), QStringLiteral("500 kBaud"),
                           QStringLiteral("1 MBaud")},
                          1);
}

bool ParameterPage2::takesModifier(int item)
{
    return item != StepDirectionMode && item != CanBaudRate;
}

void ParameterPage2::CbModifier2Change()
{
    modifierChange();
}

void ParameterPage2::RGCmdSet2Click()
{
    const int item = RGCmdSet2->ItemIndex();
    try {
        EditEncConfChange(m_firstControls.at(item));
    } catch (...) {
        // The bytes stay as the failed composer left them, but an entry the
        // composer cannot read must stay open to correction: otherwise
        // coming back to its command would keep it disabled for good.
        enableControlsFor(item);
        throw;
    }

    CommandBytes &frame = bytes();
    if (item == AlarmMode || item == StepDirectionMode || item == CanBaudRate)
        frame.zero({CommandBytes::P3, CommandBytes::P4});
    if (item == AutomaticCorrection || item == StepDirectionMode || item == CanBaudRate)
        frame.zero({CommandBytes::P2});
    if (item != EncoderConfiguration)
        frame.zero({CommandBytes::P5});
    frame.zero({CommandBytes::P6});

    enableControlsFor(item);
}

void ParameterPage2::enableControlsFor(int item)
{
    enableForCommand(GrpParameter2, item);
    CbModifier2->setEnabled(takesModifier(item));
}

void ParameterPage2::EditEncConfChange(QObject *Sender)
{
    const int item = RGCmdSet2->ItemIndex();
    if (Toolkit::tagOf(Sender) == item)
        composeSelected(item);
    const bool modifierApplies = takesModifier(item);
    bytes().setHex(CommandBytes::P0, modifierApplies ? CbModifier2->ItemIndex() : 0);
    if (modifierApplies && isReadingModifier(CbModifier2->ItemIndex()))
        bytes().zeroParameters();
}

void ParameterPage2::composeSelected(int item)
{
    using enum CommandBytes::Byte;
    CommandBytes &frame = bytes();
    frame.setHex(CMD, CatalogueItems::code(kPage, item).value());
    // The one-byte values go out as typed, even beyond a byte; multi-byte
    // values are cut into their bytes.
    switch (item) {
    case EncoderConfiguration:
        // Throws for a digit other than 0 and 1, leaving P0..P6 as they were.
        frame.setHex(P1, KarvUtils::BinToInt(EditEncConf->text()));
        frame.setHex(P2, EditEncPrediv->Value());
        frame.setLittleEndian(P3, EditEncDeviation->Value(), 2);
        frame.setHex(P5, EditEncMult->Value());
        break;
    case DeviationAlarm:
        frame.setHex(P1, CheckDevInt->isChecked() ? 1 : 0);
        frame.setHex(P2, CbDeviationStop->ItemIndex());
        frame.setLittleEndian(P3, EditAutoCorrect->Value(), 2);
        break;
    case AutomaticCorrection:
        frame.setHex(P1, EditCorrection->Value());
        frame.zero({P2});
        frame.setLittleEndian(P3, EditTolerance->Value(), 2);
        break;
    case AlarmMode:
        frame.setHex(P1, CheckExtAlarm->isChecked() ? 1 : 0);
        frame.setHex(P2, CheckDriverError->isChecked() ? 1 : 0);
        break;
    case StepDirectionMode:
        // The unit reads 00 as enabled.
        frame.setHex(P1, CheckStepDir->isChecked() ? 0 : 1);
        frame.zero({P2});
        break;
    case CanReceiveId:
        frame.setLittleEndian(P1, identifierOf(EditReceiveID), 4);
        break;
    case CanSendId:
        frame.setLittleEndian(P1, identifierOf(EditSendID), 4);
        break;
    case CanBaudRate:
        // 125 kBaud is code 1.
        frame.setHex(P1, CbCANBaud->ItemIndex() + 1);
        frame.zero({P2});
        break;
    }
}

void ParameterPage2::EditEncConfKeyPress(QChar &Key)
{
    // Backspace, Tab, Enter, Escape and the two binary digits.
    static constexpr char16_t passing[] = {8, 9, 13, 27, u'0', u'1'};
    if (std::ranges::find(passing, Key.unicode()) != std::end(passing))
        return;
    Key = QChar();
    Toolkit::beep();
}
