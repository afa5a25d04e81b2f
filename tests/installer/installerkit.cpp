#include "installerkit.h"
#include "tests/testfiles.h"

#include "installer/formflash.h"
#include "toolkit/statictext.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

karvsim::SimulatedUnit::Options withManualClock(karvsim::SimulatedUnit::Options options)
{
    options.manualClock = true;
    return options;
}

FastClock::FastClock(karvsim::SimulatedUnit &unit)
{
    m_pump.setInterval(20);
    QObject::connect(&m_pump, &QTimer::timeout, [this, &unit] {
        m_ticks.advance(200);
        unit.advanceClock(std::chrono::milliseconds(200));
    });
}

InstallerKit::InstallerKit(const karvsim::SimulatedUnit::Options &unit)
    : m_unit(std::make_unique<karvsim::SimulatedUnit>(withManualClock(unit)))
    , m_clock(*m_unit)
{
}

InstallerKit::~InstallerKit() = default;

void InstallerKit::openWindow(int portBaud)
{
    m_window = std::make_unique<TFormFlash>();
    m_window->SetModuleAddress(0x01);
    m_window->SetPortName(QStringLiteral("COM1"));
    m_window->SetPortDevice(QString::fromStdString(m_unit->devicePath()));
    m_window->SetPortBaud(portBaud);
    m_window->show();
}

void InstallerKit::load(const QByteArray &text, const QString &fileName)
{
    const QString path = m_dir.filePath(fileName);
    QVERIFY(TestFiles::write(path, text));
    QTimer::singleShot(0, [this, path] {
        QFileDialog *dialog = m_window->openDialog();
        auto *entry = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(dialog->isVisible() && entry);
        entry->setText(path);
        QTest::keyClick(entry, Qt::Key_Return);
    });
    click("BtnLoad");
}

void InstallerKit::cancelLoad()
{
    QTimer::singleShot(0, [this] {
        QFileDialog *dialog = m_window->openDialog();
        QVERIFY(dialog->isVisible());
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    click("BtnLoad");
}

void InstallerKit::click(const char *name)
{
    auto *button = m_window->findChild<QPushButton *>(QLatin1String(name));
    QVERIFY(button && button->isEnabled());
    m_clock.start();
    button->click();
    m_clock.stop();
}

QString InstallerKit::text(const char *name) const
{
    return m_window->findChild<StaticText *>(QLatin1String(name))->text();
}

int InstallerKit::barPosition() const
{
    return m_window->findChild<QProgressBar *>(QStringLiteral("ProgressBar"))->value();
}

int InstallerKit::barMaximum() const
{
    return m_window->findChild<QProgressBar *>(QStringLiteral("ProgressBar"))->maximum();
}

bool InstallerKit::enabled(const char *name) const
{
    return m_window->findChild<QPushButton *>(QLatin1String(name))->isEnabled();
}

QStringList InstallerKit::takeBoxes()
{
    QStringList texts;
    for (const Dialogs::Box &box : m_dialogs.boxes())
        texts << box.text;
    m_dialogs.clear();
    return texts;
}
