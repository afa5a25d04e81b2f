#include "panelonunit.h"

#include "serial/comm32.h"
#include "tests/testfiles.h"

#include <QPushButton>
#include <QTest>

PanelOnUnit::PanelOnUnit(quint32 firstTick)
    : ticks(firstTick)
{
    const QString settings = dir.filePath(QStringLiteral("KarvControl.ini"));
    if (!TestFiles::write(settings, "[Ports]\nCOM1=" + QByteArray(unit.devicePath().c_str()) + "\n"))
        return;
    window = std::make_unique<TFormMain>(settings);
    window->show();
    QTest::mouseClick(control<QPushButton>("BtnOpen"), Qt::LeftButton);
}

bool PanelOnUnit::portOpen() const
{
    return window && window->comm32()->IsOpen();
}
