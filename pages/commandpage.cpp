#include "pages/commandpage.h"

#include <QWidget>

CommandPage::CommandPage(CommandBytes &bytes, QWidget *sheet)
    : QObject(sheet)
    , m_bytes(bytes)
    , m_sheet(sheet)
{
}
