#pragma once

#include "pages/commandpage.h"

class CheckBox;
class ComboList;
class QGroupBox;
class RadioGroup;
class SpinEdit;

// "PID...": the five commands of the unit's PID controller. Its modifier is
// its own, linked to no other page's.
class PidPage : public CommandPage
{
    Q_OBJECT

public:
    PidPage(CommandBytes &bytes, QWidget *sheet);

    void PageActivated() override;

private:
    // The items of RgPID; row n of the parameter group holds item n's
    // controls.
    enum Command { Configuration, Coefficients, PartClipping, SumClipping, Enable };

    void createClockRow();
    void createCoefficientRow();
    void createClippingRows();
    // A spin edit with its field's range in the row of command.
    SpinEdit *spinEdit(const char *name, Command command, int left, int width);
    // The same in one of the row's three columns, with its label.
    SpinEdit *labelledSpinEdit(const QString &caption, const char *labelName, const char *name, Command command,
                               int column, int width);

    // Selection step: composes the selected command, clears the bytes it
    // does not use and enables its controls.
    void RgPIDClick();
    // Composer: recomposes when Sender belongs to the selected command.
    void CbPIDClkChange(QObject *Sender);
    void CbModifier3Change();

    void composeCommand(int item);
    // The three clock dividers as one 9-bit word, three bits each.
    int clockWord() const;
    QObject *firstControlOf(int item) const;

    RadioGroup *const RgPID;
    QGroupBox *const GrpPID;
    ComboList *CbPIDClk;
    ComboList *CbDiffClk;
    ComboList *CbVClk;
    SpinEdit *EditVFact;
    SpinEdit *EditPCof;
    SpinEdit *EditPRange;
    SpinEdit *EditICof;
    SpinEdit *EditIRange;
    SpinEdit *EditDCof;
    SpinEdit *EditDRange;
    SpinEdit *EditPClip;
    SpinEdit *EditIClip;
    SpinEdit *EditDClip;
    SpinEdit *EditCISum;
    SpinEdit *EditCIInput;
    SpinEdit *EditClipSum;
    CheckBox *CheckPIDEnable;
    ComboList *CbModifier3;
};
