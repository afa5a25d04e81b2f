#include "fakedevices.h"
#include "tests/testfiles.h"

#include "app/formports.h"
#include "toolkit/dialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

const PortDevice adapter{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("usb-Alpha_485-if00"),
                         QStringLiteral("Alpha Ltd"), QStringLiteral("USB 485"), QStringLiteral("A1"), false};

// Hand-made lines, CRLF line ends and other sections around the port map.
const QByteArray original = "; made by hand\r\n[Settings]\r\nCOMPort=1\r\n\r\n[Ports]\r\nCOM2 = /dev/old\r\n"
                            "COM5=/dev/kept\r\n\r\n[Other]\r\nCOM1=x\r\n";

} // namespace

class TestFormPorts : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

    QByteArray contents() const
    {
        return TestFiles::read(m_path);
    }

    static QComboBox *entry(const TFormPorts &dialog, int number)
    {
        return dialog.findChild<QComboBox *>(QStringLiteral("ComboCOM%1").arg(number));
    }

    static void type(const TFormPorts &dialog, int number, const QString &text)
    {
        QLineEdit *edit = entry(dialog, number)->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    static void click(const TFormPorts &dialog, const char *button)
    {
        QTest::mouseClick(dialog.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
    }

private slots:
    void init()
    {
        m_path = m_dir.filePath(QStringLiteral("KarvControl.ini"));
        QVERIFY(TestFiles::write(m_path, original));
    }

    // A device chosen, an entry emptied, a path typed; the other entries
    // and lines stay as they were.
    void okWritesPortsKeepingOtherLines()
    {
        FakeDeviceSource devices({adapter});
        DialogRecorder dialogs;
        TFormPorts dialog(devices, m_path);
        dialog.show();
        QCOMPARE(entry(dialog, 2)->currentText(), QStringLiteral("/dev/old"));
        entry(dialog, 1)->setCurrentIndex(1);
        type(dialog, 2, QString());
        type(dialog, 3, QStringLiteral("/dev/pts/9 "));
        click(dialog, "BtnOK");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialogs.boxes().isEmpty());
        QCOMPARE(contents(), QByteArray("; made by hand\r\n[Settings]\r\nCOMPort=1\r\n\r\n[Ports]\r\nCOM2=\r\n"
                                        "COM5=/dev/kept\r\nCOM1=/dev/serial/by-id/usb-Alpha_485-if00\r\n"
                                        "COM3=/dev/pts/9\r\n\r\n[Other]\r\nCOM1=x\r\n"));
    }

    void cancelLeavesTheFile_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Escape") << true;
    }
    void cancelLeavesTheFile()
    {
        QFETCH(bool, escape);
        FakeDeviceSource devices({adapter});
        TFormPorts dialog(devices, m_path);
        dialog.show();
        type(dialog, 1, QStringLiteral("/dev/ttyS4"));
        if (escape)
            QTest::keyClick(entry(dialog, 1)->lineEdit(), Qt::Key_Escape);
        else
            click(dialog, "BtnCancel");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(contents(), original);
    }

    void relativePathIsRefused()
    {
        FakeDeviceSource devices;
        DialogRecorder dialogs;
        TFormPorts dialog(devices, m_path);
        dialog.show();
        type(dialog, 4, QStringLiteral("ttyUSB0"));
        click(dialog, "BtnOK");
        QCOMPARE(dialogs.boxes().size(), 1);
        QCOMPARE(dialogs.boxes().first().text, QStringLiteral("COM4: \"ttyUSB0\" is no absolute path."));
        QVERIFY(dialog.isVisible());
        QCOMPARE(contents(), original);
    }

    // The list is numbered as the names are; a typed entry survives a plug.
    void listFollowsPlugging()
    {
        FakeDeviceSource devices;
        TFormPorts dialog(devices, m_path);
        auto *list = dialog.findChild<QTreeWidget *>(QStringLiteral("ListDevices"));
        QCOMPARE(list->topLevelItemCount(), 0);
        type(dialog, 3, QStringLiteral("/dev/pts/9"));
        devices.set({bareDevice(QStringLiteral("/dev/ttyS0")), adapter});
        QCOMPARE(list->topLevelItemCount(), 2);
        const QTreeWidgetItem *first = list->topLevelItem(0);
        QCOMPARE((QStringList{first->text(0), first->text(1), first->text(2), first->text(3)}),
                 (QStringList{"COM1", "/dev/ttyUSB0", "usb-Alpha_485-if00", "Alpha Ltd, USB 485, serial number A1"}));
        QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("COM2"));
        QCOMPARE(entry(dialog, 3)->currentText(), QStringLiteral("/dev/pts/9"));
        QCOMPARE(entry(dialog, 3)->count(), 3);
    }
};

QTEST_MAIN(TestFormPorts)
#include "test_formports.moc"
