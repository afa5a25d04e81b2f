#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A captioned group of radio buttons, one per item, spread evenly down the
// box. ItemIndex is the checked item, -1 for none.
class RadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    RadioGroup(const QString &caption, const QStringList &items, QWidget *parent = nullptr);

    int ItemIndex() const;
    // An index outside the items leaves no item checked. Raises no signal.
    void setItemIndex(int index);

signals:
    // The operator clicked an item (named apart from QGroupBox::clicked).
    void itemClicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void arrangeButtons();

    QButtonGroup *m_group;
    QList<QRadioButton *> m_buttons;
};
