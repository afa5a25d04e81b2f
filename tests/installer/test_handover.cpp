// The main window hands its port over to the installer and takes it back.

#include "app/formmain.h"
#include "installer/bootlink.h"
#include "installer/formflash.h"
#include "serial/comm32.h"
#include "sim/simulatedunit.h"
#include "toolkit/combolist.h"
#include "toolkit/dialogs.h"
#include "toolkit/statictext.h"
#include "tests/testfiles.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestHandOver : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    karvsim::SimulatedUnit m_unit;

    // A window with COM1 mapped to the unit, its port opened at rate.
    std::unique_ptr<TFormMain> openPanel(const char *rate)
    {
        const QString settings = m_dir.filePath(QStringLiteral("KarvControl.ini"));
        TestFiles::write(settings, "[Ports]\nCOM1=" + QByteArray::fromStdString(m_unit.devicePath()) + "\n");
        auto window = std::make_unique<TFormMain>(settings);
        window->findChild<ComboList *>(QStringLiteral("ComboBaud"))->setItemIndex(
            window->findChild<ComboList *>(QStringLiteral("ComboBaud"))->findText(QLatin1String(rate)));
        window->show();
        window->findChild<QPushButton *>(QStringLiteral("BtnOpen"))->click();
        return window;
    }

private slots:
    void handsOverAndReopens();
    void badAddressIsReportedAfterTheReopen();
};

void TestHandOver::handsOverAndReopens()
{
    const std::unique_ptr<TFormMain> window = openPanel("57600");
    window->findChild<StaticText *>(QStringLiteral("StaticAdr"))->setText(QStringLiteral("1F"));
    bool portClosedMeanwhile = false;
    BootLink *link = nullptr;
    QTimer::singleShot(0, [&] {
        auto *installer = qobject_cast<TFormFlash *>(QApplication::activeModalWidget());
        QVERIFY(installer);
        link = &installer->link();
        portClosedMeanwhile = !window->comm32()->IsOpen();
        QCOMPARE(link->ModuleAddress, 0x1F);
        QCOMPARE(link->PortName, QStringLiteral("COM1"));
        QCOMPARE(link->PortDevice, QString::fromStdString(m_unit.devicePath()));
        QCOMPARE(link->PortBaud, 57600);
        installer->findChild<QPushButton *>(QStringLiteral("BtnClose"))->click();
    });
    window->findChild<QPushButton *>(QStringLiteral("BtnUpdate"))->click();
    QVERIFY(link);
    QVERIFY(portClosedMeanwhile);
    QVERIFY(window->comm32()->IsOpen());
    QVERIFY(!window->findChild<TFormFlash *>());
}

// The installer is gone and the port open again when the report shows.
void TestHandOver::badAddressIsReportedAfterTheReopen()
{
    const std::unique_ptr<TFormMain> window = openPanel("19200");
    window->findChild<StaticText *>(QStringLiteral("StaticAdr"))->setText(QString());
    bool reopenedFirst = false;
    QString report;
    Dialogs::setHook([&](const Dialogs::Box &box) {
        reopenedFirst = window->comm32()->IsOpen() && !window->findChild<TFormFlash *>();
        report = box.text;
        return true;
    });
    window->findChild<QPushButton *>(QStringLiteral("BtnUpdate"))->click();
    Dialogs::setHook({});
    QVERIFY(reopenedFirst);
    QCOMPARE(report, QStringLiteral("'$' ist kein gültiger Integerwert."));
}

QTEST_MAIN(TestHandOver)
#include "test_handover.moc"
