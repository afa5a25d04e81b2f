#include "app/formplot.h"

#include "protocol/commandcatalogue.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/errorreport.h"
#include "toolkit/filedialog.h"
#include "toolkit/placement.h"
#include "toolkit/ticks.h"
#include "util/karvutils.h"
#include "util/plainfile.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <map>

namespace {

// The spans of ComboSpan in seconds; 0 for everything.
constexpr std::array<double, 4> kSpans{10, 60, 600, 0};

const QString kCsvFilter = QStringLiteral("CSV files (*.csv)");
const QString kPngFilter = QStringLiteral("PNG images (*.png)");

QColor colourOf(int quantity)
{
    static const std::array<QColor, 9> colours{
        QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c),
        QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b), QColor(0xe3, 0x77, 0xc2),
        QColor(0x7f, 0x7f, 0x7f), QColor(0xbc, 0xbd, 0x22), QColor(0xff, 0x7f, 0x0e),
    };
    return colours[std::size_t(quantity) % colours.size()];
}

} // namespace

TFormPlot::TFormPlot(Poller &poller, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_poller(poller)
    , Plot(Toolkit::named(new QCustomPlot(this), "Plot"))
    , m_graphs(Quantities().size(), nullptr)
    , EditInterval(Toolkit::named(new QSpinBox(this), "EditInterval"))
    , BtnStart(Toolkit::named(new QPushButton(QStringLiteral("&Start"), this), "BtnStart"))
    , BtnStop(Toolkit::named(new QPushButton(QStringLiteral("S&top"), this), "BtnStop"))
    , BtnPause(Toolkit::named(new QPushButton(QStringLiteral("&Pause"), this), "BtnPause"))
    , ComboSpan(Toolkit::named(new QComboBox(this), "ComboSpan"))
    , CheckSharedAxis(Toolkit::named(new QCheckBox(QStringLiteral("S&hared axis"), this), "CheckSharedAxis"))
    , CheckAutoscale(Toolkit::named(new QCheckBox(QStringLiteral("&Autoscale"), this), "CheckAutoscale"))
    , LblCursor(Toolkit::named(new QLabel(this), "LblCursor"))
    , LblStatus(Toolkit::named(new QLabel(this), "LblStatus"))
    , ExportDialog(Toolkit::fileDialog(this, "ExportDialog", QFileDialog::AcceptSave))
    , Refresh(Toolkit::named(new QTimer(this), "Refresh"))
{
    setObjectName(QStringLiteral("FormPlot"));
    setWindowTitle(QStringLiteral("Plot"));
    resize(900, 600);

    auto *queries = new QHBoxLayout;
    for (const quint8 code : PlotQueries()) {
        const Protocol::CommandInfo *command = Protocol::FindCommand(code);
        auto *check = new QCheckBox(QString(command->itemText), this);
        check->setObjectName(QStringLiteral("CheckQuery") + KarvUtils::HexText(code));
        check->setChecked(code == 0x20 || code == 0x21 || code == 0x71 || code == 0x44);
        m_queryChecks.push_back(check);
        queries->addWidget(check);
    }
    queries->addStretch();

    EditInterval->setRange(Poller::shortestInterval(19200), Poller::LongestInterval);
    EditInterval->setValue(Poller::DefaultInterval);
    EditInterval->setSuffix(QStringLiteral(" ms"));
    auto *intervalCaption = new QLabel(QStringLiteral("&Interval:"), this);
    intervalCaption->setBuddy(EditInterval);
    BtnStop->setEnabled(false);
    BtnPause->setCheckable(true);
    ComboSpan->addItems({QStringLiteral("Last 10 s"), QStringLiteral("Last 1 min"), QStringLiteral("Last 10 min"),
                         QStringLiteral("All")});
    CheckAutoscale->setChecked(true);
    auto *exportCsv = Toolkit::named(new QPushButton(QStringLiteral("Export &CSV..."), this), "BtnExportCsv");
    auto *exportPng = Toolkit::named(new QPushButton(QStringLiteral("Export P&NG..."), this), "BtnExportPng");

    auto *controls = new QHBoxLayout;
    controls->addWidget(intervalCaption);
    controls->addWidget(EditInterval);
    controls->addWidget(BtnStart);
    controls->addWidget(BtnStop);
    controls->addWidget(BtnPause);
    controls->addWidget(ComboSpan);
    controls->addWidget(CheckSharedAxis);
    controls->addWidget(CheckAutoscale);
    controls->addStretch();
    controls->addWidget(exportCsv);
    controls->addWidget(exportPng);

    Plot->setMinimumSize(400, 250);
    Plot->xAxis->setLabel(QStringLiteral("Time (s)"));
    Plot->legend->setVisible(true);
    Plot->setNoAntialiasingOnDrag(true);
    Plot->setPlottingHint(QCP::phFastPolylines, true);
    // Traces of thousands of points drawn ten times a second: unsmoothed
    // lines take a fraction of the CPU.
    Plot->setNotAntialiasedElements(QCP::aePlottables);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(queries);
    layout->addLayout(controls);
    layout->addWidget(Plot, 1);
    layout->addWidget(LblCursor);
    layout->addWidget(LblStatus);

    Refresh->setInterval(100);
    Toolkit::connectHandler(Refresh, &QTimer::timeout, this, &TFormPlot::RefreshTimer);
    Toolkit::connectHandler(BtnStart, &QPushButton::clicked, this, &TFormPlot::BtnStartClick);
    Toolkit::connectHandler(BtnStop, &QPushButton::clicked, this, &TFormPlot::BtnStopClick);
    Toolkit::connectHandler(exportCsv, &QPushButton::clicked, this, &TFormPlot::BtnExportCsvClick);
    Toolkit::connectHandler(exportPng, &QPushButton::clicked, this, &TFormPlot::BtnExportPngClick);
    Toolkit::connectHandler(CheckSharedAxis, &QCheckBox::toggled, this, &TFormPlot::rebuild);
    Toolkit::connectHandler(ComboSpan, &QComboBox::currentIndexChanged, this, &TFormPlot::redraw);
    Toolkit::connectHandler(CheckAutoscale, &QCheckBox::toggled, this, &TFormPlot::redraw);
    Toolkit::connectHandler(Plot, &QCustomPlot::mouseMove, this, &TFormPlot::showCursor);
    Toolkit::connectHandler(&m_poller, &Poller::replied, this, &TFormPlot::takeReply);
    Toolkit::connectHandler(&m_poller, &Poller::stateChanged, this, &TFormPlot::pollerStateChanged);
    connect(&m_poller, &Poller::status, LblStatus, &QLabel::setText);
    Refresh->start();
}

TFormPlot::~TFormPlot()
{
    // Polling is for this window only.
    m_poller.stop();
}

void TFormPlot::BtnStartClick()
{
    QList<quint8> codes;
    for (std::size_t i = 0; i < m_queryChecks.size(); ++i) {
        if (m_queryChecks[i]->isChecked())
            codes << PlotQueries().at(qsizetype(i));
    }
    if (codes.isEmpty()) {
        LblStatus->setText(QStringLiteral("Choose at least one query."));
        return;
    }
    emit aboutToStart();
    m_poller.setQueries(codes);
    m_poller.setInterval(EditInterval->value());
    EditInterval->setValue(m_poller.interval());
    if (!m_origin)
        m_origin = Toolkit::Ticks();
    LblStatus->setText(QStringLiteral("Polling."));
    m_poller.start();
}

void TFormPlot::BtnStopClick()
{
    m_poller.stop();
    LblStatus->setText(QStringLiteral("Polling stopped."));
}

void TFormPlot::pollerStateChanged(Poller::State state)
{
    BtnStart->setEnabled(state != Poller::State::Running);
    BtnStop->setEnabled(state == Poller::State::Running);
}

void TFormPlot::takeReply(const Protocol::ReplyFrame &reply, quint32 tick)
{
    if (!m_origin)
        m_origin = tick;
    const double seconds = double(qint32(tick - *m_origin)) / 1000.0;
    for (const QuantityValue &value : QuantitiesOf(reply)) {
        const PlotData::Sample sample{seconds, value.quantity, value.value};
        m_data.add(seconds, value);
        addToGraph(sample);
    }
}

void TFormPlot::addToGraph(const PlotData::Sample &sample)
{
    QCPGraph *&graph = m_graphs[std::size_t(sample.quantity)];
    if (!graph) {
        const Quantity &quantity = Quantities()[std::size_t(sample.quantity)];
        QCPAxis *valueAxis = Plot->yAxis;
        if (!CheckSharedAxis->isChecked()) {
            // The first graph takes the rect's own axis, the others one each.
            const bool first = std::none_of(m_graphs.begin(), m_graphs.end(), [](QCPGraph *g) { return g; });
            valueAxis = first ? Plot->yAxis : Plot->axisRect()->addAxis(QCPAxis::atLeft);
            valueAxis->setLabel(QString(quantity.name));
            valueAxis->setLabelColor(colourOf(sample.quantity));
            valueAxis->setTickLabelColor(colourOf(sample.quantity));
        }
        graph = Plot->addGraph(Plot->xAxis, valueAxis);
        graph->setName(QString(quantity.name));
        // A cosmetic one-pixel pen: wider ones are stroked as outlines, which
        // costs many times more for a trace of thousands of points.
        graph->setPen(QPen(colourOf(sample.quantity), 0));
        if (quantity.step)
            graph->setLineStyle(QCPGraph::lsStepLeft);
    }
    graph->addData(sample.seconds, sample.value);
    // The graph keeps what the data keep.
    if (!m_data.samples().empty())
        graph->data()->removeBefore(m_data.samples().front().seconds);
}

void TFormPlot::rebuild()
{
    Plot->clearGraphs();
    for (QCPAxis *axis : Plot->axisRect()->axes(QCPAxis::atLeft)) {
        if (axis != Plot->yAxis)
            Plot->axisRect()->removeAxis(axis);
    }
    Plot->yAxis->setLabel(QString());
    Plot->yAxis->setLabelColor(Qt::black);
    Plot->yAxis->setTickLabelColor(Qt::black);
    std::fill(m_graphs.begin(), m_graphs.end(), nullptr);
    for (const PlotData::Sample &sample : m_data.samples())
        addToGraph(sample);
    redraw();
}

void TFormPlot::redraw()
{
    m_drawnUpTo.reset();
    RefreshTimer();
}

void TFormPlot::RefreshTimer()
{
    if (BtnPause->isChecked() || m_data.samples().empty())
        return;
    const double newest = m_data.samples().back().seconds;
    const double span = shownSpan();
    // Nothing on show moves by a pixel sooner: over ten minutes that is
    // every two thirds of a second, not ten times.
    if (m_drawnUpTo && newest >= *m_drawnUpTo && newest - *m_drawnUpTo < span / std::max(Plot->width(), 1))
        return;
    m_drawnUpTo = newest;
    Plot->xAxis->setRange(newest - span, newest);
    if (CheckAutoscale->isChecked())
        autoscale();
    Plot->replot(QCustomPlot::rpQueuedReplot);
}

double TFormPlot::shownSpan() const
{
    const double span = kSpans.at(std::size_t(std::max(ComboSpan->currentIndex(), 0)));
    const double all = m_data.samples().back().seconds - m_data.samples().front().seconds;
    return std::max(span > 0 ? span : all, 1e-3);
}

void TFormPlot::autoscale()
{
    // Each value axis spans what its graphs show in the time range, with a
    // little room; a flat line gets room above and below.
    std::map<QCPAxis *, QCPRange> ranges;
    const QCPRange shown = Plot->xAxis->range();
    for (QCPGraph *graph : m_graphs) {
        bool found = false;
        const QCPRange range = graph ? graph->getValueRange(found, QCP::sdBoth, shown) : QCPRange();
        if (!found)
            continue;
        const auto [at, added] = ranges.try_emplace(graph->valueAxis(), range);
        if (!added)
            at->second.expand(range);
    }
    for (const auto &[axis, range] : ranges) {
        const double margin = range.size() > 0 ? range.size() * 0.05 : std::max(std::abs(range.center()) * 0.05, 1.0);
        axis->setRange(range.lower - margin, range.upper + margin);
    }
}

void TFormPlot::showCursor(QMouseEvent *event)
{
    const double seconds = Plot->xAxis->pixelToCoord(event->position().x());
    QStringList values;
    for (QCPGraph *graph : m_graphs) {
        if (!graph || graph->data()->isEmpty())
            continue;
        // The last value polled at or before that time.
        auto at = graph->data()->findBegin(seconds, false);
        if (at != graph->data()->constBegin() && (at == graph->data()->constEnd() || at->key > seconds))
            --at;
        if (at == graph->data()->constEnd() || at->key > seconds)
            continue;
        values << graph->name() + QStringLiteral(" ") + QString::number(at->value, 'g', 10);
    }
    LblCursor->setText(QStringLiteral("%1 s: ").arg(seconds, 0, 'f', 3) + values.join(QStringLiteral(", ")));
}

bool TFormPlot::exportCsv(const QString &path) const
{
    return PlainFile::replace(path, m_data.toCsv());
}

bool TFormPlot::exportPng(const QString &path, int width, int height) const
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return Plot->toPixmap(width, height).save(&buffer, "PNG") && PlainFile::replace(path, png);
}

QString TFormPlot::exportPath(const QString &filter)
{
    ExportDialog->setNameFilters({filter});
    if (ExportDialog->exec() != QDialog::Accepted || ExportDialog->selectedFiles().isEmpty())
        return {};
    QString path = ExportDialog->selectedFiles().first();
    if (QFileInfo(path).suffix().isEmpty())
        path += filter == kCsvFilter ? QStringLiteral(".csv") : QStringLiteral(".png");
    return path;
}

void TFormPlot::BtnExportCsvClick()
{
    const QString path = exportPath(kCsvFilter);
    if (!path.isEmpty() && !exportCsv(path))
        Dialogs::showError(QStringLiteral("Could not save ") + path + QLatin1Char('.'), Toolkit::applicationTitle());
}

void TFormPlot::BtnExportPngClick()
{
    const QString path = exportPath(kPngFilter);
    if (!path.isEmpty() && !exportPng(path, Plot->width(), Plot->height()))
        Dialogs::showError(QStringLiteral("Could not save ") + path + QLatin1Char('.'), Toolkit::applicationTitle());
}
