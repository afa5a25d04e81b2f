#pragma once

#include <QComboBox>
#include <QStringList>

// A drop-down list without free text. ItemIndex is the selected item, -1
// for none.
class ComboList : public QComboBox
{
    Q_OBJECT

public:
    explicit ComboList(const QStringList &items = {}, QWidget *parent = nullptr);

    int ItemIndex() const { return currentIndex(); }
    // An index outside the items leaves no selection. Raises no signal.
    void setItemIndex(int index);

signals:
    // The operator chose an item; the program's writes raise none.
    void changed();
};
