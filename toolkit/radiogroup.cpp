#include "toolkit/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>

#include <algorithm>
#include <numeric>

RadioGroup::RadioGroup(const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent)
    , m_group(new QButtonGroup(this))
{
    for (const QString &item : items) {
        auto *button = new QRadioButton(item, this);
        m_group->addButton(button, int(m_buttons.size()));
        m_buttons.append(button);
        m_lines.append(1);
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

QString RadioGroup::itemText(int index) const
{
    return index >= 0 && index < m_buttons.size() ? m_buttons.at(index)->text() : QString();
}

void RadioGroup::setItemLines(int index, int lines)
{
    if (index < 0 || index >= m_lines.size() || lines < 1)
        return;
    m_lines[index] = lines;
    arrangeButtons();
}

QRect RadioGroup::itemRect(int index) const
{
    // One column under the caption line; the lines share the height left,
    // and what does not divide evenly is split above and below.
    const int lines = std::max(std::accumulate(m_lines.cbegin(), m_lines.cend(), 0), 1);
    const int captionHeight = fontMetrics().height();
    const int available = height() - captionHeight - 5;
    const int lineHeight = std::max(available / lines, 1);
    const auto itemsAbove = qBound(qsizetype(0), qsizetype(index), m_lines.size());
    const int linesAbove = std::accumulate(m_lines.cbegin(), m_lines.cbegin() + itemsAbove, 0);
    const int top = captionHeight + 1 + (available % lines) / 2 + linesAbove * lineHeight;
    return {8, top, width() - 10, itemLines(index) * lineHeight};
}

void RadioGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    arrangeButtons();
}

void RadioGroup::arrangeButtons()
{
    for (int i = 0; i < m_buttons.size(); ++i)
        m_buttons.at(i)->setGeometry(itemRect(i));
}
