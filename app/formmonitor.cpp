#include "app/formmonitor.h"

#include "monitor/trafficformat.h"
#include "monitor/trafficlog.h"
#include "protocol/commandcatalogue.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/errorreport.h"
#include "toolkit/filedialog.h"
#include "toolkit/placement.h"
#include "util/karvutils.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kTextFilter = QStringLiteral("Text files (*.txt)");
const QString kCsvFilter = QStringLiteral("CSV files (*.csv)");

} // namespace

TFormMonitor::TFormMonitor(TrafficLog &log, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_log(log)
    , m_model(log)
    , m_filter(m_model)
    , GridTraffic(new QTableView(this))
    , BtnPause(Toolkit::named(new QPushButton(QStringLiteral("&Pause"), this), "BtnPause"))
    , ComboCommand(Toolkit::named(new QComboBox(this), "ComboCommand"))
    , ComboDirection(Toolkit::named(new QComboBox(this), "ComboDirection"))
    , LblRowCount(new QLabel(this))
    , SaveDialog(Toolkit::fileDialog(this, "SaveDialog", QFileDialog::AcceptSave, {kTextFilter, kCsvFilter}))
    , Refresh(new QTimer(this))
{
    setObjectName(QStringLiteral("FormMonitor"));
    setWindowTitle(QStringLiteral("Monitor"));
    resize(900, 500);

    GridTraffic->setObjectName(QStringLiteral("GridTraffic"));
    GridTraffic->setModel(&m_filter);
    GridTraffic->setSelectionBehavior(QAbstractItemView::SelectRows);
    GridTraffic->setSelectionMode(QAbstractItemView::ExtendedSelection);
    GridTraffic->setWordWrap(false);
    GridTraffic->verticalHeader()->hide();
    // Fixed row heights: the view never measures 100,000 rows.
    GridTraffic->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    GridTraffic->verticalHeader()->setDefaultSectionSize(GridTraffic->fontMetrics().height() + 4);
    GridTraffic->horizontalHeader()->setStretchLastSection(true);
    const QFontMetrics metrics = GridTraffic->fontMetrics();
    GridTraffic->setColumnWidth(TrafficFormat::Time, metrics.horizontalAdvance(QStringLiteral("0000000.000000")));
    GridTraffic->setColumnWidth(TrafficFormat::Clock, metrics.horizontalAdvance(QStringLiteral("00:00:00.0000")));
    GridTraffic->setColumnWidth(TrafficFormat::Direction, metrics.horizontalAdvance(QStringLiteral("Dir00")));
    GridTraffic->setColumnWidth(TrafficFormat::Bytes,
                                metrics.horizontalAdvance(QStringLiteral("00 00 00 00 00 00 00 00 00 0")));
    GridTraffic->setColumnWidth(TrafficFormat::Command,
                                metrics.horizontalAdvance(QStringLiteral("$59: Travelcheck Tolerance00")));

    BtnPause->setCheckable(true);
    ComboCommand->addItem(QStringLiteral("All commands"), -1);
    for (const Protocol::CommandInfo &command : Protocol::CommandCatalogue()) {
        const QString name = command.itemText.isEmpty() ? QLatin1Char('$') + KarvUtils::HexText(command.code)
                                                        : QString(command.itemText);
        ComboCommand->addItem(name, int(command.code));
    }
    ComboDirection->addItems({QStringLiteral("Both directions and events"), QStringLiteral("Sent"),
                              QStringLiteral("Received"), QStringLiteral("Events")});
    LblRowCount->setObjectName(QStringLiteral("LblRowCount"));


    auto *clear = Toolkit::named(new QPushButton(QStringLiteral("C&lear"), this), "BtnClear");
    auto *copy = Toolkit::named(new QPushButton(QStringLiteral("&Copy"), this), "BtnCopy");
    auto *save = Toolkit::named(new QPushButton(QStringLiteral("&Save..."), this), "BtnSave");
    auto *controls = new QHBoxLayout;
    controls->addWidget(BtnPause);
    controls->addWidget(clear);
    controls->addWidget(ComboCommand);
    controls->addWidget(ComboDirection);
    controls->addWidget(copy);
    controls->addWidget(save);
    controls->addStretch();
    controls->addWidget(LblRowCount);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(GridTraffic);

    Refresh->setObjectName(QStringLiteral("Refresh"));
    Refresh->setInterval(100);
    Toolkit::connectHandler(Refresh, &QTimer::timeout, this, &TFormMonitor::RefreshTimer);
    Toolkit::connectHandler(clear, &QPushButton::clicked, this, &TFormMonitor::BtnClearClick);
    Toolkit::connectHandler(copy, &QPushButton::clicked, this, &TFormMonitor::BtnCopyClick);
    Toolkit::connectHandler(save, &QPushButton::clicked, this, &TFormMonitor::BtnSaveClick);
    Toolkit::connectHandler(ComboCommand, &QComboBox::currentIndexChanged, this, &TFormMonitor::ComboCommandChange);
    Toolkit::connectHandler(ComboDirection, &QComboBox::currentIndexChanged, this,
                            &TFormMonitor::ComboDirectionChange);
    showRowCount();
}

void TFormMonitor::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    RefreshTimer();
    Refresh->start();
}

void TFormMonitor::hideEvent(QHideEvent *event)
{
    // Nothing to follow while nobody looks: the recorder goes on.
    Refresh->stop();
    QWidget::hideEvent(event);
}

void TFormMonitor::RefreshTimer()
{
    if (!BtnPause->isChecked()) {
        QScrollBar *scroll = GridTraffic->verticalScrollBar();
        // The view keeps to the newest row unless the operator scrolled up.
        const bool atEnd = scroll->value() == scroll->maximum();
        m_model.sync();
        if (atEnd)
            GridTraffic->scrollToBottom();
    }
    showRowCount();
}

void TFormMonitor::showRowCount()
{
    QString text = QStringLiteral("%1 rows").arg(m_log.size());
    if (m_filter.rowCount() != m_model.rowCount())
        text += QStringLiteral(", %1 shown").arg(m_filter.rowCount());
    LblRowCount->setText(text);
}

void TFormMonitor::BtnClearClick()
{
    m_log.clear();
    m_model.sync();
    showRowCount();
}

void TFormMonitor::BtnCopyClick()
{
    QModelIndexList selected = GridTraffic->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end());
    QList<TrafficRow> rows;
    for (const QModelIndex &index : selected) {
        if (const TrafficRow *row = m_model.rowAt(m_filter.mapToSource(index).row()))
            rows << *row;
    }
    if (!rows.isEmpty())
        QGuiApplication::clipboard()->setText(TrafficFormat::toText(rows));
}

void TFormMonitor::BtnSaveClick()
{
    if (SaveDialog->exec() != QDialog::Accepted || SaveDialog->selectedFiles().isEmpty())
        return;
    const bool csv = SaveDialog->selectedNameFilter() == kCsvFilter;
    QString path = SaveDialog->selectedFiles().first();
    if (QFileInfo(path).suffix().isEmpty())
        path += csv ? QStringLiteral(".csv") : QStringLiteral(".txt");
    const auto format = csv ? TrafficFormat::FileFormat::Csv : TrafficFormat::FileFormat::Text;
    if (!TrafficFormat::save(path, TrafficFormat::rowsOf(m_log), format))
        Dialogs::showError(QStringLiteral("Could not save ") + path + QLatin1Char('.'), Toolkit::applicationTitle());
}

void TFormMonitor::ComboCommandChange()
{
    m_filter.setCode(ComboCommand->currentData().toInt());
    showRowCount();
}

void TFormMonitor::ComboDirectionChange()
{
    m_filter.setDirection(TrafficFilter::Direction(ComboDirection->currentIndex()));
    showRowCount();
}
