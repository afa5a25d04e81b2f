#include "pages/parameterpage2.h"

#include "pages/catalogueitems.h"
#include "pages/commandbytes.h"
#include "pages/itemrows.h"
#include "pages/modifiergroup.h"
#include "pages/taggedcontrols.h"
#include "toolkit/beep.h"
#include "toolkit/hexkeyfilter.h"
#include "toolkit/radiogroup.h"
#include "toolkit/tag.h"
#include "util/convert_error.h"
#include "util/karvutils.h"

#include <QGroupBox>

#include <algorithm>

using namespace TaggedControls;

namespace {

// Two columns of a label and its field; the fields without a label stand in
// the first field column, the check boxes that name their command in the
// first label column.
struct Column
{
    int label;
    int field;
    int fieldWidth;
};
constexpr Column kLeft{8, 102, 88};
constexpr Column kRight{216, 317, 80};
constexpr int kCheckWidth = kLeft.field - kLeft.label - 6;
constexpr int kCheckHeight = 19;
constexpr int kHexNoteLeft = kLeft.field + kLeft.fieldWidth + 6;

constexpr Protocol::CommandPage kPage = Protocol::CommandPage::Parameters2;

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
    , RGCmdSet2(ItemRows::addCommandGroup(sheet, "RGCmdSet2", kPage, {{EncoderConfiguration, 2}}))
    , GrpParameter2(ItemRows::addRowGroup(sheet, QStringLiteral(" Parameter "), "GrpParameter2", RGCmdSet2))
{
    buildParameterGroup();
    nameByCommand(GrpParameter2, RGCmdSet2);
    CbModifier2 = addModifierGroup(sheet, "GrpModifier2", "CbModifier2", RGCmdSet2->height());
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
    // Each row level with the radio item of its command.
    const auto field = [this](int command, const Column &column, int line = 0) {
        return QRect(column.field, ItemRows::rowTop(RGCmdSet2, command, ItemRows::kFieldHeight, line),
                     column.fieldWidth, ItemRows::kFieldHeight);
    };
    const auto checkBoxAt = [this](int command, int left, int width) {
        return QRect(left, ItemRows::rowTop(RGCmdSet2, command, kCheckHeight), width, kCheckHeight);
    };
    const auto labelledSpinEdit = [&](const QString &caption, const char *labelName, const char *name, int command,
                                      const Column &column, int line = 0) {
        SpinEdit *edit = spinEdit(group, name, command, field(command, column, line));
        labelAt(edit, labelName, caption, column.label);
        return edit;
    };

    EditEncConf = maskEdit(group, "EditEncConf", EncoderConfiguration, field(EncoderConfiguration, kLeft),
                           QStringLiteral("0000000"), QStringLiteral("0000000"));
    labelAt(EditEncConf, "LblEncCfg", QStringLiteral("Config.:"), kLeft.label);
    EditEncPrediv = labelledSpinEdit(QStringLiteral("Prediv.:"), "LblEncPrediv", "EditEncPrediv",
                                     EncoderConfiguration, kRight);
    EditEncDeviation = labelledSpinEdit(QStringLiteral("Deviation:"), "LblEncDev", "EditEncDeviation",
                                        EncoderConfiguration, kLeft, 1);
    EditEncMult = labelledSpinEdit(QStringLiteral("Multiplier:"), "LblEncMult", "EditEncMult", EncoderConfiguration,
                                   kRight, 1);

    CheckDevInt = checkBox(group, "CheckDevInt", DeviationAlarm, QStringLiteral("Enabled"),
                                           checkBoxAt(DeviationAlarm, kLeft.label, kCheckWidth));
    CbDeviationStop = comboList(group, "CbDeviationStop", DeviationAlarm, field(DeviationAlarm, kLeft));
    EditAutoCorrect = labelledSpinEdit(QStringLiteral("Correction Delay:"), "LblCorrDelay", "EditAutoCorrect",
                                       DeviationAlarm, kRight);

    EditCorrection = spinEdit(group, "EditCorrection", AutomaticCorrection, field(AutomaticCorrection, kLeft));
    EditTolerance = labelledSpinEdit(QStringLiteral("Tolerance:"), "LblTolerance", "EditTolerance",
                                     AutomaticCorrection, kRight);

    CheckExtAlarm = checkBox(group, "CheckExtAlarm", AlarmMode, QStringLiteral("External Alarm"),
                                             checkBoxAt(AlarmMode, kLeft.field, kRight.label - kLeft.field - 4));
    CheckDriverError = checkBox(group, "CheckDriverError", AlarmMode, QStringLiteral("Driver Error"),
                                                checkBoxAt(AlarmMode, kRight.label, kRight.field - kRight.label));
    noteAt(CheckExtAlarm, "LblPowerDown", QStringLiteral("Power down on:"), kLeft.label);

    CheckStepDir = checkBox(group, "CheckStepDir", StepDirectionMode, QStringLiteral("Enabled"),
                                            checkBoxAt(StepDirectionMode, kLeft.label, kCheckWidth));

    EditReceiveID = maskEdit(group, "EditReceiveID", CanReceiveId, field(CanReceiveId, kLeft), kIdentifierMask,
                             QStringLiteral("00000000"));
    ItemRows::noteAt(EditReceiveID, QStringLiteral("(hex)"), "Label1", kHexNoteLeft);
    EditSendID = maskEdit(group, "EditSendID", CanSendId, field(CanSendId, kLeft), kIdentifierMask,
                          QStringLiteral("00000000"));
    ItemRows::noteAt(EditSendID, QStringLiteral("(hex)"), "Label2", kHexNoteLeft);

    // "250 kBaud" until the operator chooses.
    CbCANBaud = comboList(group, "CbCANBaud", CanBaudRate, field(CanBaudRate, kLeft), 1);
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
