#include "app/replyview.h"

#include "toolkit/checkbox.h"
#include "toolkit/combolist.h"
#include "toolkit/maskedit.h"
#include "toolkit/spinedit.h"
#include "toolkit/statictext.h"
#include "widgets/ledlittle.h"

using Protocol::DecodedWrite;

ReplyView::ReplyView(QWidget &window)
    : m_window(window)
{
}

void ReplyView::show(const Protocol::ReplyFrame &reply) const
{
    for (const DecodedWrite &write : Protocol::DecodeReply(reply))
        apply(write);
}

template <typename Control>
Control *ReplyView::control(const QString &name) const
{
    return m_window.findChild<Control *>(name);
}

void ReplyView::apply(const DecodedWrite &write) const
{
    switch (write.kind) {
    case DecodedWrite::SpinValue:
        // Decoded values come from at most 32 bits of the reply: they fit an int.
        if (auto *edit = control<SpinEdit>(write.control))
            edit->setValue(int(write.value));
        break;
    case DecodedWrite::ItemIndex:
        if (auto *list = control<ComboList>(write.control))
            list->setItemIndex(int(write.value));
        break;
    case DecodedWrite::Checked:
        if (auto *box = control<CheckBox>(write.control))
            box->setChecked(write.value != 0);
        break;
    case DecodedWrite::Text:
        applyText(write.control, write.text);
        break;
    case DecodedWrite::LedLit:
        if (auto *led = control<TLedLittle>(write.control))
            led->setLedColor(write.value != 0 ? lcCyan : lcDarkCyan);
        break;
    }
}

void ReplyView::applyText(const QString &name, const QString &text) const
{
    if (auto *edit = control<MaskEdit>(name))
        edit->setText(text);
    else if (auto *label = control<StaticText>(name))
        label->setText(text);
}
