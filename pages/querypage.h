#pragma once

#include "pages/commandpage.h"

class RadioGroup;

// The "Get..." page: the seven status queries, whose answers its
// " Last Answer " group shows.
class QueryPage : public CommandPage
{
    Q_OBJECT

public:
    QueryPage(CommandBytes &bytes, QWidget *sheet);

    void PageActivated() override;

private:
    void RGCmdGetClick();

    RadioGroup *const RGCmdGet;
};
