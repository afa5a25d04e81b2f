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

void nameAs(QWidget *control, const QString &caption)
{
    // "&&" shows an ampersand, "&" before any other character marks it.
    QString name;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        name += caption.at(i);
    }
    name = name.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    control->setAccessibleName(name);
}

void nameByCaption(QWidget *control, QLabel *caption)
{
    caption->setBuddy(control);
    nameAs(control, caption->text());
}

} // namespace Toolkit
