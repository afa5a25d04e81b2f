#pragma once

#include "protocol/replydecoder.h"
#include "protocol/replyframe.h"

class QWidget;

// Shows a decoded reply in the window: each value goes to the control of its
// objectName through the control's own setter, so that the change
// notifications and with them the page composers run as after an operator's
// change. A control the window does not hold is passed over.
class ReplyView
{
public:
    explicit ReplyView(QWidget &window);

    void show(const Protocol::ReplyFrame &reply) const;

private:
    void apply(const Protocol::DecodedWrite &write) const;
    void applyText(const QString &control, const QString &text) const;

    template <typename Control>
    Control *control(const QString &name) const;

    QWidget &m_window;
};
