#include "pages/querypage.h"

#include "pages/answergroup.h"
#include "pages/catalogueitems.h"
#include "pages/commandbytes.h"
#include "pages/itemrows.h"
#include "toolkit/errorreport.h"
#include "toolkit/radiogroup.h"

QueryPage::QueryPage(CommandBytes &bytes, QWidget *sheet)
    : CommandPage(bytes, sheet)
    , RGCmdGet(ItemRows::addCommandGroup(sheet, "RGCmdGet", Protocol::CommandPage::Get))
{
    addAnswerGroup(sheet, RGCmdGet);
    Toolkit::connectHandler(RGCmdGet, &RadioGroup::itemClicked, this, &QueryPage::RGCmdGetClick);
}

void QueryPage::PageActivated()
{
    RGCmdGetClick();
}

// A query carries no parameters.
void QueryPage::RGCmdGetClick()
{
    if (const std::optional<quint8> code = CatalogueItems::code(Protocol::CommandPage::Get, RGCmdGet->ItemIndex()))
        bytes().setHex(CommandBytes::CMD, *code);
    bytes().zero({CommandBytes::P0});
    bytes().zeroParameters();
}
