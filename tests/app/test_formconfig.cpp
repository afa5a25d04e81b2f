// The "Configuration..." window on the main window's port, against the
// simulated unit.

#include "../fastticks.h"
#include "../pages/pagetestkit.h"

#include "app/formconfig.h"
#include "sim/simulatedunit.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;
using karvsim::Bank;

class TestFormConfig : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FastTicks> m_ticks;
    std::unique_ptr<karvsim::SimulatedUnit> m_unit;
    std::unique_ptr<PageTestKit> m_kit;
    QTemporaryDir m_state;

    FormConfig *window() const { return m_kit->window().findChild<FormConfig *>(); }
    QString result() const { return window()->findChild<QPlainTextEdit *>(u"MemoResult"_s)->toPlainText(); }
    void click(const QString &button) const { QTest::mouseClick(window()->findChild<QPushButton *>(button), Qt::LeftButton); }

private slots:
    void init()
    {
        qputenv("XDG_STATE_HOME", m_state.path().toUtf8());
        m_ticks = std::make_unique<FastTicks>();
        m_unit = std::make_unique<karvsim::SimulatedUnit>();
        m_unit->setParameter(0x11, Bank::Stored, {30, 90, 120});
        m_unit->setParameter(0x6A, Bank::Stored, {0x0A, 0x00, 0xFF, 0x0F});
        m_kit = std::make_unique<PageTestKit>(QString::fromStdString(m_unit->devicePath()));
        QVERIFY(m_kit->show());
        m_kit->click(u"BtnOpen"_s);
        m_kit->click(u"BtnConfig"_s);
        QVERIFY(window() && window()->isVisible());
    }

    void cleanup()
    {
        m_kit.reset();
        m_unit.reset();
        m_ticks.reset();
    }

    // The table lists every field; the pages show what the unit holds.
    void readFillsTheTableAndThePages()
    {
        click(u"BtnRead"_s);
        QCOMPARE(result(), u"Read 22 commands from unit 01 (serial number 4711, firmware 1.23)."_s);
        auto *table = window()->findChild<QTableWidget *>(u"TableConfig"_s);
        QCOMPARE(table->rowCount(), 52); // the fields of the 22 commands
        QCOMPARE(table->item(1, 1)->text(), u"Running"_s);
        QCOMPARE(table->item(1, 2)->text(), u"90"_s);
        QCOMPARE(m_kit->shown({u"EditActiveCur="_s, u"CbPIDClk="_s, u"CbDiffClk="_s, u"EditVFact="_s}),
                 (QStringList{u"EditActiveCur=90"_s, u"CbPIDClk=2"_s, u"CbDiffClk=1"_s, u"EditVFact=4095"_s}));
        QVERIFY(window()->findChild<QPushButton *>(u"BtnWrite"_s)->isEnabled());
        QVERIFY(m_kit->dialogs().boxes().isEmpty());
    }

    // "&Send Command" pressed meanwhile sends nothing: page (1) would have
    // sent $11 with "Set and store in EEPROM".
    void handSentCommandIsRefusedWhileReading()
    {
        QTimer::singleShot(30, [this] { m_kit->click(u"BtnSend"_s); });
        click(u"BtnRead"_s);
        for (const karvsim::CommandFrame &frame : m_unit->receivedFrames())
            QVERIFY(frame[2] != 0x00 || frame[1] == 0x43);
        QCOMPARE(m_unit->framesReceived(), 23u);
        QCOMPARE(m_unit->parameter(0x11, Bank::Stored), (karvsim::ParameterBytes{30, 90, 120}));
    }

    // One text in the window, no box per command.
    void missingReplyIsReportedOnce()
    {
        karvsim::LineFaults silent;
        silent.silent = true;
        m_unit->setFaults(silent);
        click(u"BtnRead"_s);
        QCOMPARE(result(), u"No reply from Karvel.\nPlease check the connection\nand the addresses!"_s);
        QVERIFY(m_kit->dialogs().boxes().isEmpty());
        QCOMPARE(m_unit->framesReceived(), 1u);
        QVERIFY(!window()->findChild<QPushButton *>(u"BtnWrite"_s)->isEnabled());
    }

    void writeThenCompareShowsNoDifference()
    {
        click(u"BtnRead"_s);
        m_unit->setParameter(0x11, Bank::Stored, {1, 2, 3});
        click(u"BtnWrite"_s);
        QVERIFY2(result().contains(u"$11: Current Control: written and verified"_s), qPrintable(result()));
        QVERIFY(result().startsWith(u"Backup of the unit: "_s + m_state.path()));
        QCOMPARE(m_unit->parameter(0x11, Bank::Stored), (karvsim::ParameterBytes{30, 90, 120}));
        click(u"BtnCompare"_s);
        QCOMPARE(result(), u"No setting differs."_s);
    }
};

QTEST_MAIN(TestFormConfig)
#include "test_formconfig.moc"
