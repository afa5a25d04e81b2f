#pragma once

#include <QTabWidget>

// A page control whose changed() tells page changes made by the operator
// (mouse, keys, wheel on the tabs) from those of the program, which raise
// none whichever call the program uses.
class PageControl : public QTabWidget
{
    Q_OBJECT

public:
    explicit PageControl(QWidget *parent = nullptr);

signals:
    void changed();

protected:
    bool event(QEvent *event) override;

private:
    class OperatorTabBar;
    class OperatorInputScope;

    void onCurrentChanged();

    int m_operatorInputDepth = 0;
};
