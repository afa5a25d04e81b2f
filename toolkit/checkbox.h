#pragma once

#include <QCheckBox>

// A check box that reports every change of its state.
class CheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit CheckBox(const QString &caption, QWidget *parent = nullptr);

signals:
    // Every change of the state, the program's writes included (named apart
    // from QAbstractButton::clicked, which the program's writes do not raise).
    void changed();
};
