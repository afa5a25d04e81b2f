#include "toolkit/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>

RadioGroup::RadioGroup(const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent)
    , m_group(new QButtonGroup(this))
{
    for (const QString &item : items) {
        auto *button = new QRadioButton(item, this);
        m_group->addButton(button, int(m_buttons.size()));
        m_buttons.append(button);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
    arrangeButtons();
}

int RadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < m_buttons.size()) {
        m_buttons.at(index)->setChecked(true);
        return;
    }
    // An exclusive group will not uncheck its last button.
    m_group->setExclusive(false);
    for (QRadioButton *button : std::as_const(m_buttons))
        button->setChecked(false);
    m_group->setExclusive(true);
}

void RadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    arrangeButtons();
}

void RadioGroup::arrangeButtons()
{
    if (m_buttons.isEmpty())
        return;
    // One column under the caption line; the rows share the height left,
    // and what does not divide evenly is split above and below.
    const int captionHeight = fontMetrics().height();
    const int available = height() - captionHeight - 5;
    const int count = int(m_buttons.size());
    const int rowHeight = qMax(available / count, 1);
    const int top = captionHeight + 1 + (available % count) / 2;
    for (int i = 0; i < count; ++i)
        m_buttons.at(i)->setGeometry(8, top + i * rowHeight, width() - 10, rowHeight);
}
