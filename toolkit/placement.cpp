#include "toolkit/placement.h"

namespace Toolkit {

QLabel *label(const QString &caption, QWidget *parent, const char *name, const QPoint &position)
{
    auto *widget = new QLabel(caption, parent);
    widget->setObjectName(QLatin1String(name));
    widget->move(position);
    widget->adjustSize();
    return widget;
}

QPushButton *button(const QString &caption, QWidget *parent, const char *name, const QRect &geometry,
                    bool enabled)
{
    auto *widget = placed(new QPushButton(caption, parent), name, geometry);
    widget->setEnabled(enabled);
    return widget;
}

} // namespace Toolkit
