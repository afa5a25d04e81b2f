#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRect>

// Fixed-position placement of controls: the windows are drawn at design
// coordinates in pixels, like the forms they were designed as.
namespace Toolkit {

// The height the design gives drop-down lists.
inline constexpr int kComboHeight = 21;

// A control under the name tests and the settings find it by.
template <typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

template <typename Widget>
Widget *placed(Widget *widget, const char *name, const QRect &geometry)
{
    named(widget, name)->setGeometry(geometry);
    return widget;
}

// A label sized to its caption, as the design's auto-sized labels are.
QLabel *label(const QString &caption, QWidget *parent, const char *name, const QPoint &position);

QPushButton *button(const QString &caption, QWidget *parent, const char *name, const QRect &geometry,
                    bool enabled);

// The name screen readers give control: a caption as the window shows it,
// without its mnemonic marks, surrounding blanks and closing colon.
void nameAs(QWidget *control, const QString &caption);
// Makes caption the label of control: its buddy, and its name.
void nameByCaption(QWidget *control, QLabel *caption);

} // namespace Toolkit
