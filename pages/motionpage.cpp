#include "pages/motionpage.h"

#include "pages/catalogueitems.h"
#include "pages/commandbytes.h"
#include "pages/itemrows.h"
#include "protocol/factorydefault.h"
#include "toolkit/errorreport.h"
#include "toolkit/placement.h"
#include "toolkit/radiogroup.h"
#include "toolkit/spinedit.h"
#include "toolkit/statictext.h"
#include "toolkit/tag.h"

#include <QGroupBox>
#include <QLabel>

namespace {

constexpr int kFieldLeft = 96;
constexpr int kEditWidth = 96;
constexpr int kRightMargin = 12;
// Room for every alarm reason at once, wrapped onto three lines.
constexpr int kAlarmHeight = 48;

// Positions are 24-bit counts, sent as 32-bit values.
constexpr int kMinPosition = -8388608;
constexpr int kMaxPosition = 16777215;
constexpr int kMaxRotationVelocity = 8191;

} // namespace

MotionPage::MotionPage(CommandBytes &bytes, QWidget *sheet)
    : CommandPage(bytes, sheet)
    , RGCmdOther(ItemRows::addCommandGroup(sheet, "RGCmdOther", Protocol::CommandPage::Other))
    , GrpParamOther(ItemRows::addRowGroup(sheet, QStringLiteral(" Parameter "), "GrpParamOther", RGCmdOther))
    , EditPosition(addValueRow(RampToPosition, "EditPosition", kMinPosition, kMaxPosition, "LblPosition",
                               QStringLiteral("Position:")))
    , EditRotVel(addValueRow(ConstantRotation, "EditRotVel", -kMaxRotationVelocity, kMaxRotationVelocity, "LblVRot",
                             QStringLiteral("Velocity:")))
    , EditNewPosition(addValueRow(ResetPosition, "EditNewPosition", kMinPosition, kMaxPosition, "LblNewPosition",
                                  QStringLiteral("New Position:")))
{
    addAlarmRow();
    Toolkit::connectHandler(RGCmdOther, &RadioGroup::itemClicked, this, &MotionPage::RGCmdOtherClick);
}

void MotionPage::PageActivated()
{
    RGCmdOtherClick();
}

SpinEdit *MotionPage::addValueRow(Item item, const char *editName, int minValue, int maxValue,
                                  const char *labelName, const QString &caption)
{
    auto *edit = Toolkit::placed(new SpinEdit(GrpParamOther), editName,
                                 {kFieldLeft, ItemRows::rowTop(RGCmdOther, item, ItemRows::kFieldHeight), kEditWidth,
                                  ItemRows::kFieldHeight});
    edit->setRange(minValue, maxValue);
    QLabel *label = ItemRows::labelBefore(edit, caption, labelName);
    for (QWidget *control : {static_cast<QWidget *>(edit), static_cast<QWidget *>(label)}) {
        Toolkit::setTag(control, item);
        m_itemControls.append(control);
    }
    Toolkit::connectHandler(edit, &SpinEdit::changed, this, [this, edit] { EditPositionChange(edit); });
    return edit;
}

// Filled by the answer to "$74: Alarm Reset"; every reason at once must stay
// readable, so the text wraps and reads from the top like the other rows.
void MotionPage::addAlarmRow()
{
    const int width = GrpParamOther->width() - kFieldLeft - kRightMargin;
    auto *reason = Toolkit::placed(new StaticText(QString(), GrpParamOther), "StaticAlarmReason",
                                   {kFieldLeft, ItemRows::rowTop(RGCmdOther, AlarmReset, ItemRows::kFieldHeight), width,
                                    kAlarmHeight});
    reason->setWordWrap(true);
    reason->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    reason->setMargin(3);
    QLabel *label = ItemRows::labelBefore(reason, QStringLiteral("Alarm:"), "LblAlarmReason");
    label->move(label->x(), ItemRows::rowTop(RGCmdOther, AlarmReset, label->height()));
}

std::optional<MotionPage::ValueParameter> MotionPage::valueParameterOf(int item) const
{
    switch (item) {
    case RampToPosition: return ValueParameter{EditPosition, 4};
    case ConstantRotation: return ValueParameter{EditRotVel, 2};
    case ResetPosition: return ValueParameter{EditNewPosition, 4};
    default: return std::nullopt;
    }
}

// Composes the command of the value that changed while its item is selected;
// the bytes beyond the value keep what the selection wrote.
void MotionPage::EditPositionChange(QObject *Sender)
{
    const int item = Toolkit::tagOf(Sender);
    if (item != RGCmdOther->ItemIndex())
        return;
    const std::optional<ValueParameter> value = valueParameterOf(item);
    const std::optional<quint8> code = CatalogueItems::code(Protocol::CommandPage::Other, item);
    if (!value || !code)
        return;
    bytes().setHex(CommandBytes::CMD, *code);
    bytes().zero({CommandBytes::P0});
    bytes().setLittleEndian(CommandBytes::P1, value->edit->Value(), value->byteCount);
}

void MotionPage::RGCmdOtherClick()
{
    const int item = RGCmdOther->ItemIndex();
    if (const std::optional<quint8> code = CatalogueItems::code(Protocol::CommandPage::Other, item))
        bytes().setHex(CommandBytes::CMD, *code);

    int parameterBytes = 0;
    if (const std::optional<ValueParameter> value = valueParameterOf(item)) {
        EditPositionChange(value->edit);
        parameterBytes = value->byteCount;
    } else if (item == FactoryDefault) {
        bytes().setHex(CommandBytes::P1, kFactoryDefaultCode[0]);
        bytes().setHex(CommandBytes::P2, kFactoryDefaultCode[1]);
        parameterBytes = int(kFactoryDefaultCode.size());
    }
    bytes().zero({CommandBytes::P0});
    for (int byte = CommandBytes::P1 + parameterBytes; byte <= CommandBytes::P6; ++byte)
        bytes().zero({CommandBytes::Byte(byte)});

    for (QWidget *control : std::as_const(m_itemControls))
        control->setEnabled(Toolkit::tagOf(control) == item);
}
