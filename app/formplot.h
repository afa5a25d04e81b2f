#pragma once

#include "plot/plotdata.h"
#include "plot/poller.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QCPGraph;
class QCustomPlot;
class QFileDialog;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

// "Plot...": the quantities the poller brings, over time. The operator picks
// the queries and the interval, starts and stops polling; the time axis
// scrolls over the last 10 s, 1 min, 10 min or everything; each quantity has
// an axis of its own or all share one; the value axes follow the data
// (autoscale) or stay; Pause holds the picture while polling goes on. The
// cursor shows the values at its time. The data export as CSV, the picture
// as PNG.
class TFormPlot : public QWidget
{
    Q_OBJECT

public:
    explicit TFormPlot(Poller &poller, QWidget *parent = nullptr);
    ~TFormPlot() override;

    // Both replace the file whole or leave it as it was.
    bool exportCsv(const QString &path) const;
    bool exportPng(const QString &path, int width, int height) const;

    // What the poller brought; a benchmark feeds recorded data the same way.
    void takeReply(const Protocol::ReplyFrame &reply, quint32 tick);

    QFileDialog *exportDialog() const { return ExportDialog; }
    const PlotData &data() const { return m_data; }

signals:
    // Before polling starts: the window's owner sets the address and the
    // line's rate.
    void aboutToStart();

private:
    void BtnStartClick();
    void BtnStopClick();
    void BtnExportCsvClick();
    void BtnExportPngClick();
    void RefreshTimer();
    void pollerStateChanged(Poller::State state);
    void showCursor(QMouseEvent *event);
    // Graphs and axes anew from the data, for the choice of axes.
    void rebuild();
    void addToGraph(const PlotData::Sample &sample);
    // At once, whatever was drawn last.
    void redraw();
    // Seconds the time axis spans: the chosen span, or all the data.
    double shownSpan() const;
    void autoscale();
    QString exportPath(const QString &filter);

    Poller &m_poller;
    PlotData m_data;
    // Ticks at the first start: the time axis counts from there.
    std::optional<quint32> m_origin;
    // The newest time drawn, while the picture stands as drawn.
    std::optional<double> m_drawnUpTo;
    QCustomPlot *Plot;
    std::vector<QCPGraph *> m_graphs; // by quantity, nullptr until it has data
    std::vector<QCheckBox *> m_queryChecks; // by PlotQueries()
    QSpinBox *EditInterval;
    QPushButton *BtnStart;
    QPushButton *BtnStop;
    QPushButton *BtnPause;
    QComboBox *ComboSpan;
    QCheckBox *CheckSharedAxis;
    QCheckBox *CheckAutoscale;
    QLabel *LblCursor;
    QLabel *LblStatus;
    QFileDialog *ExportDialog;
    QTimer *Refresh;
};
