#pragma once

#include "app/formmain.h"
#include "toolkit/beep.h"
#include "toolkit/dialogs.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QComboBox;
class QRadioButton;
class RadioGroup;

// A main window on a settings file of its own, driven the way the operator
// drives the command pages. Message boxes are recorded instead of shown,
// beeps counted instead of sounded.
//
// A step names a control and what the operator does with it:
//   "Name=value"  by the control's kind: clicks item value of a radio group,
//                 turns to page value, chooses item value of a list (popup,
//                 arrow keys, Enter), ticks (1) or clears (0) a check box,
//                 clears a spin edit and types value, types value over a
//                 masked entry (a blank clears its position with Delete);
//   "Name<text"   selects all of a masked entry and pastes text over it;
//   "Name:keys"   types keys into a masked entry as they come, from its
//                 first position;
//   "Tab"         leaves the control that has the focus.
// A page control's step turns to the page by a click on its tab, as the
// operator does, so the page's selection step runs.
class PageTestKit
{
public:
    // With a device, COM1 of the window's settings is mapped to it.
    explicit PageTestKit(const QString &com1Device = {});
    ~PageTestKit();

    TFormMain &window() { return *m_window; }
    const DialogRecorder &dialogs() const { return m_dialogs; }
    int beeps() const { return m_beeps.count(); }

    // Shows the window and waits until it is active: needed before steps.
    bool show();
    void click(const QString &button) const;
    // False when a control is missing or does not take the step (disabled,
    // say): the steps after it are not done.
    bool apply(const QString &step);
    bool apply(const QStringList &steps);

    template <typename Widget = QWidget>
    Widget *control(const QString &name) const
    {
        return m_window->findChild<Widget *>(name);
    }

    // "Name=shown" for each "Name=..." entry: a spin edit's value, a list's
    // item index, "ticked"/"clear", an LED "lit"/"unlit"/"black", a text.
    QStringList shown(const QStringList &entries) const;

    // Item index of the named radio group; null when there is none.
    QRadioButton *item(const QString &radioGroup, int index) const;

    // The command-bytes display, space-separated: ADR, CMD, P0..P6.
    QString frame() const;
    // CMD and P0..P6 := "AA", as another page might have left them.
    void scribbleOverFrame() const;
    // The same without ADR.
    QString commandBytes() const;

    // The commands of a page whose controls in group do not stand level
    // with their radio item in commandGroup: the centre of the controls of
    // each tag, against the centre of the item the tag names.
    static QStringList rowsOffTheirItems(const RadioGroup *commandGroup, const QWidget *group);

private:
    bool operate(QWidget *target, const QString &value);
    bool chooseItem(QComboBox *list, int item);

    DialogRecorder m_dialogs;
    BeepCounter m_beeps;
    QTemporaryDir m_dir;
    std::unique_ptr<TFormMain> m_window;
};
