#pragma once

#include "pages/linkedmodifierpage.h"

#include <array>

class CheckBox;
class ComboList;
class MaskEdit;
class QGroupBox;
class RadioGroup;
class SpinEdit;

// "Parameters... (2)": the encoder, alarm, step/direction and CAN-bus
// commands. Two of them take no modifier: they go out with P0 = 00 and the
// modifier list is disabled while they are selected.
class ParameterPage2 : public LinkedModifierPage
{
    Q_OBJECT

public:
    ParameterPage2(CommandBytes &bytes, QWidget *sheet);

    // The selection step: composes the selected command, clears the bytes it
    // does not use and enables exactly its controls. A configuration entry
    // that is no base-2 number stops it with a conversion error.
    void RGCmdSet2Click();
    // The composer: recomposes when Sender belongs to the selected command,
    // then writes P0; with a reading modifier P1..P6 go out as 00.
    void EditEncConfChange(QObject *Sender);
    // P0 from the modifier, then the selection step.
    void CbModifier2Change();
    // The configuration entry takes base-2 digits only.
    void EditEncConfKeyPress(QChar &Key);

protected:
    ComboList *modifierList() const override { return CbModifier2; }
    void selectionStep() override { RGCmdSet2Click(); }

private:
    // The items of RGCmdSet2.
    enum Command {
        EncoderConfiguration,
        DeviationAlarm,
        AutomaticCorrection,
        AlarmMode,
        StepDirectionMode,
        CanReceiveId,
        CanSendId,
        CanBaudRate,
        CommandCount
    };

    static bool takesModifier(int item);

    void buildParameterGroup();
    void composeSelected(int item);
    void enableControlsFor(int item);

    RadioGroup *RGCmdSet2;
    QGroupBox *GrpParameter2;
    MaskEdit *EditEncConf;
    SpinEdit *EditEncPrediv;
    SpinEdit *EditEncDeviation;
    SpinEdit *EditEncMult;
    CheckBox *CheckDevInt;
    ComboList *CbDeviationStop;
    SpinEdit *EditAutoCorrect;
    SpinEdit *EditCorrection;
    SpinEdit *EditTolerance;
    CheckBox *CheckExtAlarm;
    CheckBox *CheckDriverError;
    CheckBox *CheckStepDir;
    MaskEdit *EditReceiveID;
    MaskEdit *EditSendID;
    ComboList *CbCANBaud;
    ComboList *CbModifier2;
    // The control the selection step hands the composer, by command.
    std::array<QObject *, CommandCount> m_firstControls;
};
