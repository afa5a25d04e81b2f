#pragma once

#include <QKeySequence>
#include <QList>
#include <QTabWidget>

// A page control whose changed() tells page changes made by the operator
// (mouse, keys, wheel on the tabs) from those of the program, which raise
// none whichever call the program uses.
//
// Ctrl+PgDn and Ctrl+Tab turn to the next page, Ctrl+PgUp and Ctrl+Shift+Tab
// to the previous one, from anywhere in the page control's window.
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
    void addPageTurn(const QList<QKeySequence> &keys, int step);
    // To the next enabled page step pages on, round the end.
    void turnPage(int step);

    int m_operatorInputDepth = 0;
};
