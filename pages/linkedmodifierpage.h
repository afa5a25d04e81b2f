#pragma once

#include "pages/commandpage.h"

class ComboList;

// A parameter page whose " Modifier " list always shows the same item as
// the other parameter page's: each change here is announced, and the other
// page's choice is shown here without composing anything.
class LinkedModifierPage : public CommandPage
{
    Q_OBJECT

public:
    using CommandPage::CommandPage;

    // Turning to the page runs the modifier change.
    void PageActivated() override;

    // Shows the modifier chosen on the other page. Raises nothing.
    void followModifier(int itemIndex);

signals:
    void modifierChanged(int itemIndex);

protected:
    virtual ComboList *modifierList() const = 0;
    virtual void selectionStep() = 0;

    // P0 from the modifier, the other page told, then the selection step.
    void modifierChange();
};
