#pragma once

#include "pages/commandpage.h"

class ComboList;
class MaskEdit;
class QGroupBox;
class RadioGroup;
class SpinEdit;

// "Karvel 2": the unit's current limit, its voltage and temperature query
// and its RS-232/485 link. Its composer composes the command of whichever
// control changed, not only the selected one; its modifier is its own.
class DevicePage : public CommandPage
{
    Q_OBJECT

public:
    DevicePage(CommandBytes &bytes, QWidget *sheet);

    void PageActivated() override;

private:
    // The items of RG_K410.
    enum Command { CurrentLimit, VoltageTemperature, NotAvailable, LinkParameters };

    void createCurrentLimitRow();
    void createAnswerRow();
    void createLinkRow();
    MaskEdit *createIdEntry(const char *name, int column);
    void enableLinkControls(bool enabled);

    // Selection step: enables the link controls for their command and
    // composes the selected one; "n/a" composes nothing.
    void RG_K410Click();
    // Composer: composes the command Sender belongs to.
    void EditOutputsChange(QObject *Sender);
    void CbModifierK410Change();

    RadioGroup *const RG_K410;
    QGroupBox *const GrpK410;
    ComboList *CbCurrentLimit;
    ComboList *CbRS232Baud;
    SpinEdit *EditRS485Delay;
    MaskEdit *EditRSRecvID;
    MaskEdit *EditRSSendID;
    ComboList *CbModifierK410;
};
