#include "pages/linkedmodifierpage.h"

#include "pages/commandbytes.h"
#include "toolkit/combolist.h"

void LinkedModifierPage::PageActivated()
{
    modifierChange();
}

void LinkedModifierPage::followModifier(int itemIndex)
{
    modifierList()->setItemIndex(itemIndex);
}

void LinkedModifierPage::modifierChange()
{
    const int modifier = modifierList()->ItemIndex();
    bytes().setHex(CommandBytes::P0, modifier);
    emit modifierChanged(modifier);
    selectionStep();
}
