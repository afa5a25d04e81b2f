#pragma once

#include "pages/linkedmodifierpage.h"

#include <array>

class CheckBox;
class ComboList;
class QGroupBox;
class RadioGroup;
class SpinEdit;

// "Parameters... (1)": the motor-parameter commands (currents, ramp limits,
// bow, predivider, microstepping, switch mode, stop-switch deceleration,
// reference-search velocity, travel-check tolerance, steps per revolution),
// with the modifier in P0.
class ParameterPage1 : public LinkedModifierPage
{
    Q_OBJECT

public:
    ParameterPage1(CommandBytes &bytes, QWidget *sheet);

    // The selection step: composes the selected command, clears the bytes it
    // does not use and enables exactly its controls.
    void RGCmdSetClick();
    // The composer: recomposes when Sender belongs to the selected command;
    // with a reading modifier P1..P6 go out as 00 whatever changed.
    void EditMaxCurrentChange(QObject *Sender);
    // P0 from the modifier, then the selection step.
    void CbModifier1Change();

protected:
    ComboList *modifierList() const override { return CbModifier1; }
    void selectionStep() override { RGCmdSetClick(); }

private:
    // The items of RGCmdSet.
    enum Command {
        CurrentControl,
        AMaxVMax,
        Bow,
        Predivider,
        Microstepping,
        SwitchMode,
        StopSwitchDecel,
        ReferenceSearchVel,
        TravelcheckTolerance,
        StepsPerRevolution,
        CommandCount
    };

    void buildParameterGroup();
    void composeSelected(int item);

    RadioGroup *RGCmdSet;
    QGroupBox *GrpParameter;
    SpinEdit *EditStandbyCur;
    SpinEdit *EditActiveCur;
    SpinEdit *EditAccelCur;
    SpinEdit *EditAcceleration;
    SpinEdit *EditVelocity;
    SpinEdit *EditBow;
    SpinEdit *EditPrediv;
    SpinEdit *EditMStepRes;
    SpinEdit *EditMStepWave;
    CheckBox *CheckMixedDecay;
    ComboList *CbSwOne;
    ComboList *CbCalDir;
    ComboList *CbMovement;
    ComboList *CbTravelcheck;
    SpinEdit *EditSoftStop;
    SpinEdit *EditVRef;
    SpinEdit *EditTT;
    SpinEdit *EditPosLimit;
    ComboList *CbModifier1;
    // The control the selection step hands the composer, by command.
    std::array<QObject *, CommandCount> m_firstControls;
};
