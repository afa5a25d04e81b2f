#pragma once

#include "toolkit/checkbox.h"
#include "toolkit/combolist.h"
#include "toolkit/errorreport.h"
#include "toolkit/maskedit.h"
#include "toolkit/spinedit.h"

class QLabel;
class RadioGroup;

// The controls of a page's " Parameter " group. Each carries its command tag:
// the radio item of the command it belongs to. Every builder places the
// control in the group under its name and tag.
namespace TaggedControls {

// The caption of field (its buddy and its name), with field's tag, on its
// vertical centre: ending just left of it, or starting at left.
QLabel *labelBefore(QWidget *field, const char *name, const QString &caption);
QLabel *labelAt(QWidget *field, const char *name, const QString &caption, int left);
// A text on control's row that names no field, with control's tag.
QLabel *noteAt(QWidget *control, const char *name, const QString &text, int left);
// A spin edit with the range of its configuration field, at 0 or, where 0
// is out of range, at its minimum.
SpinEdit *spinEdit(QWidget *group, const char *name, int tag, const QRect &geometry);
CheckBox *checkBox(QWidget *group, const char *name, int tag, const QString &caption, const QRect &geometry);
// A drop-down list with the items of its configuration field.
ComboList *comboList(QWidget *group, const char *name, int tag, const QRect &geometry, int itemIndex = 0);
MaskEdit *maskEdit(QWidget *group, const char *name, int tag, const QRect &geometry, const QString &editMask,
                   const QString &text);

// Enables each tagged control of group exactly while its command is the
// selected item; untagged controls keep their state.
void enableForCommand(QWidget *group, int itemIndex);

// Names each entry and list of group that has no caption after the item of
// commandGroup that its tag names, for screen readers.
void nameByCommand(QWidget *group, const RadioGroup *commandGroup);

namespace detail {

template <typename Control, typename Page>
void connectEach(QWidget *group, Page *page, void (Page::*composer)(QObject *))
{
    for (Control *control : group->findChildren<Control *>(Qt::FindDirectChildrenOnly)) {
        Toolkit::connectHandler(control, &Control::changed, page,
                                [page, composer, control] { (page->*composer)(control); });
    }
}

} // namespace detail

// Runs the page's composer, with the control as Sender, on every change of
// each edit, drop-down list and check box of group.
template <typename Page>
void connectComposer(QWidget *group, Page *page, void (Page::*composer)(QObject *))
{
    detail::connectEach<SpinEdit>(group, page, composer);
    detail::connectEach<MaskEdit>(group, page, composer);
    detail::connectEach<ComboList>(group, page, composer);
    detail::connectEach<CheckBox>(group, page, composer);
}

} // namespace TaggedControls
