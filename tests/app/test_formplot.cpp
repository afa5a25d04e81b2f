// The "Plot..." window: polled values reach its data, and its exports write
// a picture of the asked size and the values polled.

#include "tests/testfiles.h"

#include "app/formmain.h"
#include "app/formplot.h"
#include "plot/quantities.h"
#include "serial/comm32.h"
#include "sim/simulatedunit.h"
#include "toolkit/dialogs.h"
#include "toolkit/ticks.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestFormPlot : public QObject
{
    Q_OBJECT

private slots:
    void exportsThePolledValues()
    {
        FakeTicks ticks(50000);
        DialogRecorder dialogs;
        karvsim::SimulatedUnit unit;
        QTemporaryDir dir;
        const QString settings = dir.filePath(QStringLiteral("KarvControl.ini"));
        QVERIFY(TestFiles::write(settings, "[Ports]\nCOM1=" + QByteArray(unit.devicePath().c_str()) + "\n"));
        TFormMain window(settings);
        window.show();
        window.findChild<QPushButton *>(QStringLiteral("BtnOpen"))->click();
        QVERIFY(window.comm32()->IsOpen());
        window.findChild<QPushButton *>(QStringLiteral("BtnPlot"))->click();
        auto *plot = window.findChild<TFormPlot *>(QStringLiteral("FormPlot"));
        QVERIFY(plot && plot->isVisible());
        for (const char *name : {"CheckQuery21", "CheckQuery71"})
            plot->findChild<QCheckBox *>(QLatin1String(name))->setChecked(false);
        QSignalSpy replies(&window.poller(), &Poller::replied);

        plot->findChild<QPushButton *>(QStringLiteral("BtnStart"))->click();
        for (int poll = 1; poll <= 4; ++poll) {
            QTRY_COMPARE(replies.size(), poll);
            ticks.advance(100);
        }
        plot->findChild<QPushButton *>(QStringLiteral("BtnStop"))->click();

        const QString png = dir.filePath(QStringLiteral("plot.png"));
        QVERIFY(plot->exportPng(png, 640, 480));
        QCOMPARE(QImage(png).size(), QSize(640, 480));

        const QString csv = dir.filePath(QStringLiteral("plot.csv"));
        QVERIFY(plot->exportCsv(csv));
        QStringList expected{QStringLiteral("Time (s),Position,Supply voltage,Temperature")};
        for (int poll = 0; poll < 4; ++poll) {
            const auto reply = replies.at(poll).first().value<Protocol::ReplyFrame>();
            const QString time = QString::number(poll * 0.1, 'f', 6);
            const QList<QuantityValue> values = QuantitiesOf(reply);
            if (reply.code() == 0x20) {
                expected << time + QLatin1Char(',') + QString::number(values.at(0).value) + QStringLiteral(",,");
            } else {
                expected << time + QStringLiteral(",,") + QString::number(values.at(0).value) + QLatin1Char(',')
                                + QString::number(values.at(1).value);
            }
        }
        QCOMPARE(QString::fromUtf8(TestFiles::read(csv)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts),
                 expected);
        QVERIFY(dialogs.boxes().isEmpty());
    }
};

QTEST_MAIN(TestFormPlot)
#include "test_formplot.moc"
