#pragma once

#include "monitor/trafficmodel.h"

#include <QWidget>

class QComboBox;
class QFileDialog;
class QLabel;
class QPushButton;
class QTableView;
class QTimer;
class TrafficLog;

// "Monitor...": the traffic the panel's exchange recorded, newest at the
// bottom. The view follows the log ten times a second while shown; Pause
// holds it still while recording goes on. Clear empties the log; a filter
// picks a command and a direction; the selected rows can be copied and the
// whole log saved as aligned text or as CSV.
class TFormMonitor : public QWidget
{
    Q_OBJECT

public:
    explicit TFormMonitor(TrafficLog &log, QWidget *parent = nullptr);

    QFileDialog *saveDialog() const { return SaveDialog; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void RefreshTimer();
    void BtnClearClick();
    void BtnCopyClick();
    void BtnSaveClick();
    void ComboCommandChange();
    void ComboDirectionChange();
    void showRowCount();

    TrafficLog &m_log;
    TrafficModel m_model;
    TrafficFilter m_filter;
    QTableView *GridTraffic;
    QPushButton *BtnPause;
    QComboBox *ComboCommand;
    QComboBox *ComboDirection;
    QLabel *LblRowCount;
    QFileDialog *SaveDialog;
    QTimer *Refresh;
};
