#pragma once

#include "toolkit/errorreport.h"
#include "toolkit/placement.h"
#include "toolkit/tag.h"

#include <QGroupBox>
#include <QList>
#include <QStringList>

#include <functional>

class CheckBox;
class ComboList;
class QLabel;
class SpinEdit;
class StaticText;

// A page's parameter group and the controls in it. Every control carries the
// command tag of the radio item it belongs to, so that the page's selection
// step can enable a command's controls; every input control hands its
// changes to the page's composer, itself as the sender.
class ParameterGroup
{
public:
    using Composer = std::function<void(QObject *sender)>;

    // context is the page: the connections to the composer end with it.
    ParameterGroup(QGroupBox *group, QObject *context, Composer composer);

    QGroupBox *box() const { return m_group; }

    // A label standing left of field, its caption ending just before it,
    // centred on the field's line.
    QLabel *label(const QString &caption, const char *name, const QWidget *field, int tag);
    StaticText *staticText(const char *name, const QRect &geometry, int tag);

    // Input controls; the lists start at their first item, the spin edits
    // at 0.
    SpinEdit *spinEdit(const char *name, const QRect &geometry, int minValue, int maxValue, int tag);
    ComboList *comboList(const char *name, const QRect &geometry, const QStringList &items, int tag);
    CheckBox *checkBox(const QString &caption, const char *name, const QRect &geometry, int tag);
    // Any other input control with a changed() signal, made with box() as
    // its parent.
    template <typename Control>
    Control *input(Control *control, const char *name, const QRect &geometry, int tag);

    // Enables every control whose tag is item and disables all the others.
    void enableCommand(int item) const;
    // Enables or disables the controls of one tag, leaving the others.
    void setTagEnabled(int tag, bool enabled) const;

private:
    template <typename Control>
    Control *add(Control *control, const char *name, const QRect &geometry, int tag)
    {
        Toolkit::placed(control, name, geometry);
        Toolkit::setTag(control, tag);
        m_controls.append(control);
        return control;
    }

    QGroupBox *m_group;
    QObject *m_context;
    Composer m_composer;
    QList<QWidget *> m_controls;
};

template <typename Control>
Control *ParameterGroup::input(Control *control, const char *name, const QRect &geometry, int tag)
{
    add(control, name, geometry, tag);
    Toolkit::connectHandler(control, &Control::changed, m_context,
                            [composer = m_composer, control] { composer(control); });
    return control;
}
