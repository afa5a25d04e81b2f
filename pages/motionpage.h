#pragma once

#include "pages/commandpage.h"

#include <QList>

#include <optional>

class QGroupBox;
class RadioGroup;
class SpinEdit;

// The "Other..." page: motion, reset and factory-default commands, and the
// alarm reasons that the answer to "$74: Alarm Reset" brings.
class MotionPage : public CommandPage
{
    Q_OBJECT

public:
    MotionPage(CommandBytes &bytes, QWidget *sheet);

    void PageActivated() override;

private:
    // Items of RGCmdOther; a value control's Tag is its item.
    enum Item {
        ReferenceSearch,
        RampToPosition,
        ConstantRotation,
        StopSoftly,
        EmergencyStop,
        ResetPosition,
        AlarmReset,
        HardwareReset,
        FactoryDefault,
    };

    // A value an item sends in P1 upwards, least significant byte first.
    struct ValueParameter
    {
        SpinEdit *edit;
        int byteCount;
    };

    void RGCmdOtherClick();
    void EditPositionChange(QObject *Sender);

    SpinEdit *addValueRow(Item item, const char *editName, int minValue, int maxValue, const char *labelName,
                          const QString &caption);
    void addAlarmRow();
    std::optional<ValueParameter> valueParameterOf(int item) const;

    RadioGroup *const RGCmdOther;
    QGroupBox *const GrpParamOther;
    // Enabled only while their item is selected.
    QList<QWidget *> m_itemControls;
    SpinEdit *const EditPosition;
    SpinEdit *const EditRotVel;
    SpinEdit *const EditNewPosition;
};
