#include "installerkit.h"
#include "tests/testfiles.h"

#include "installer/formflash.h"
#include "toolkit/statictext.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

InstallerKit::InstallerKit(const karvsim::SimulatedUnit::Options &unit)
    : m_unit(std::make_unique<karvsim::SimulatedUnit>(unit))
{
    // Five seconds of ticks pass in half a second: a reply from the
    // simulated unit, which takes well under a millisecond, is never late.
    m_tickPump.setInterval(20);
    QObject::connect(&m_tickPump, &QTimer::timeout, [this] { m_ticks.advance(200); });
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
    m_tickPump.start();
    button->click();
    m_tickPump.stop();
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
