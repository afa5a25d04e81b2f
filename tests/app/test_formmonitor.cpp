// The "Monitor..." window over the main window's traffic, the simulated unit
// answering on a pseudo-terminal.

#include "tests/testfiles.h"

#include "app/formmain.h"
#include "app/formmonitor.h"
#include "protocol/commandframe.h"
#include "serial/comm32.h"
#include "sim/simulatedunit.h"
#include "toolkit/dialogs.h"
#include "toolkit/statictext.h"
#include "toolkit/ticks.h"
#include "util/karvutils.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

class TestFormMonitor : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<FakeTicks> m_ticks;
    std::unique_ptr<DialogRecorder> m_dialogs;
    std::unique_ptr<karvsim::SimulatedUnit> m_unit;
    std::unique_ptr<TFormMain> m_window;

    template <typename Control = QWidget>
    Control *control(QWidget *in, const char *name) const
    {
        return in->findChild<Control *>(QLatin1String(name));
    }

    void click(QWidget *in, const char *button) const
    {
        QTest::mouseClick(control<QPushButton>(in, button), Qt::LeftButton);
    }

    // CMD..P6 into the command-bytes display, then "&Send Command".
    void send(const char *commandHex)
    {
        const QByteArray bytes = QByteArray::fromHex(commandHex);
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            control<StaticText>(m_window.get(), Protocol::CommandFrame::DisplayControls.at(i + 1))
                ->setText(KarvUtils::HexText(quint8(bytes[i])));
        }
        m_ticks->advance(100);
        click(m_window.get(), "BtnSend");
        QTRY_VERIFY(!m_window->exchange().AwaitingReply());
    }

    TFormMonitor *openMonitor()
    {
        click(m_window.get(), "BtnMonitor");
        return m_window->findChild<TFormMonitor *>(QStringLiteral("FormMonitor"));
    }

private slots:
    void init()
    {
        m_ticks = std::make_unique<FakeTicks>(100000);
        m_dialogs = std::make_unique<DialogRecorder>();
        m_unit = std::make_unique<karvsim::SimulatedUnit>();
        const QString settings = m_dir.filePath(QStringLiteral("KarvControl.ini"));
        QVERIFY(TestFiles::write(settings, "[Ports]\nCOM1=" + QByteArray(m_unit->devicePath().c_str()) + "\n"));
        m_window = std::make_unique<TFormMain>(settings);
        m_window->show();
        click(m_window.get(), "BtnOpen");
        QVERIFY(m_window->comm32()->IsOpen());
    }

    void cleanup()
    {
        m_window.reset();
        m_unit.reset();
        m_dialogs.reset();
        m_ticks.reset();
    }

    // What went on before the window was opened is there: it records from
    // the opening of the port.
    void showsTrafficRecordedBeforeItOpened()
    {
        send("2000000000000000");
        send("7100000000000000");
        TFormMonitor *monitor = openMonitor();
        QVERIFY(monitor && monitor->isVisible());
        auto *grid = control<QTableView>(monitor, "GridTraffic");
        QTRY_COMPARE(grid->model()->rowCount(), 5);
        QCOMPARE(grid->model()->index(0, 4).data().toString(), QStringLiteral("Port opened"));
        QCOMPARE(grid->model()->index(1, 3).data().toString(), QStringLiteral("01 20 00 00 00 00 00 00 00"));
        QCOMPARE(grid->model()->index(2, 4).data().toString(), QStringLiteral("$20: Position"));
        QCOMPARE(control<QLabel>(monitor, "LblRowCount")->text(), QStringLiteral("5 rows"));

        control<QComboBox>(monitor, "ComboDirection")->setCurrentIndex(1);
        QCOMPARE(grid->model()->rowCount(), 2);
        auto *commands = control<QComboBox>(monitor, "ComboCommand");
        commands->setCurrentIndex(commands->findData(0x71));
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(control<QLabel>(monitor, "LblRowCount")->text(), QStringLiteral("5 rows, 1 shown"));

        // Paused, the view stands still while the rows are recorded.
        commands->setCurrentIndex(0);
        control<QComboBox>(monitor, "ComboDirection")->setCurrentIndex(0);
        click(monitor, "BtnPause");
        send("2000000000000000");
        QSignalSpy refreshed(control<QTimer>(monitor, "Refresh"), &QTimer::timeout);
        QVERIFY(refreshed.wait(1000));
        QCOMPARE(grid->model()->rowCount(), 5);
        QCOMPARE(m_window->trafficLog().size(), 7);
        click(monitor, "BtnPause");
        QTRY_COMPARE(grid->model()->rowCount(), 7);

        click(monitor, "BtnClear");
        QCOMPARE(grid->model()->rowCount(), 0);
        QCOMPARE(control<QLabel>(monitor, "LblRowCount")->text(), QStringLiteral("0 rows"));
    }

    void savesTheLogAsCsv()
    {
        send("2000000000000000");
        TFormMonitor *monitor = openMonitor();
        const QString path = m_dir.filePath(QStringLiteral("traffic"));
        QTimer::singleShot(0, monitor, [monitor, path] {
            QFileDialog *dialog = monitor->saveDialog();
            dialog->selectNameFilter(QStringLiteral("CSV files (*.csv)"));
            auto *entry = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            entry->setText(path);
            QTest::keyClick(entry, Qt::Key_Return);
        });
        click(monitor, "BtnSave");
        const QList<QByteArray> lines = TestFiles::read(path + QStringLiteral(".csv")).split('\n');
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines[0].startsWith("Time (s),Clock,Dir,Bytes,Command,Values\r"));
        QVERIFY(lines[3].contains(",RX,20 00 00 00 00 00 00 00,$20: Position,StaticMPos=0\r"));
        QVERIFY(m_dialogs->boxes().isEmpty());
    }
};

QTEST_MAIN(TestFormMonitor)
#include "test_formmonitor.moc"
