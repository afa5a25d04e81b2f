#pragma once

#include <QObject>

// A control's command tag: the index of the radio item whose command it
// belongs to (-1 for none). The pages enable a control, and let its changes
// recompose the frame, only while its command is selected.
namespace Toolkit {

inline void setTag(QObject *control, int tag)
{
    control->setProperty("Tag", tag);
}

inline int tagOf(const QObject *control)
{
    const QVariant tag = control->property("Tag");
    return tag.isValid() ? tag.toInt() : -1;
}

} // namespace Toolkit
