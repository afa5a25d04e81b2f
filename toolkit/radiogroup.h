#pragma once

#include <QGroupBox>
#include <QList>
#include <QRect>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A captioned group of radio buttons, one per item, spread evenly down the
// box: each item takes one line of its height, or more where it is told to
// (for a command whose controls stand on several lines beside it).
// ItemIndex is the checked item, -1 for none.
class RadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    RadioGroup(const QString &caption, const QStringList &items, QWidget *parent = nullptr);

    int ItemIndex() const;
    // An index outside the items leaves no item checked. Raises no signal.
    void setItemIndex(int index);

    QString itemText(int index) const;
    int itemLines(int index) const { return m_lines.value(index, 1); }
    void setItemLines(int index, int lines);
    // The part of the group's height that item takes, its button centred in
    // it; follows the group's height and font without waiting for a resize
    // event.
    QRect itemRect(int index) const;

signals:
    // The operator clicked an item (named apart from QGroupBox::clicked).
    void itemClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void arrangeButtons();

    QButtonGroup *m_group;
    QList<QRadioButton *> m_buttons;
    QList<int> m_lines;
};
