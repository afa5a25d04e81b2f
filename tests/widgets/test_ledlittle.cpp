#include "widgets/ledlittle.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// The tile as every LED bitmap must look, with the given lamp colour.
QImage expectedTile(QColor lamp)
{
    QImage tile(LedBitmap::kSize, LedBitmap::kSize, QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y) {
        for (int x = 0; x < tile.width(); ++x) {
            switch (LedBitmap::kPattern[y][x]) {
            case 'W': tile.setPixelColor(x, y, QColor(255, 255, 255)); break;
            case 'G': tile.setPixelColor(x, y, QColor(128, 128, 128)); break;
            case 'L': tile.setPixelColor(x, y, QColor(192, 192, 192)); break;
            default: tile.setPixelColor(x, y, lamp); break;
            }
        }
    }
    return tile;
}

QImage rendered(TLedLittle &led)
{
    return led.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QTimer *runningBlinkTimer(const TLedLittle &led)
{
    auto *timer = led.findChild<QTimer *>();
    return timer && timer->isActive() ? timer : nullptr;
}

// The running blink timer's period; 0 while the lamp does not blink.
int blinkPeriod(const TLedLittle &led)
{
    const QTimer *timer = runningBlinkTimer(led);
    return timer ? timer->interval() : 0;
}

// Delivers what the running blink timer delivers when its interval is up.
bool blinkStep(TLedLittle &led)
{
    QTimer *timer = runningBlinkTimer(led);
    if (!timer)
        return false;
    QTimerEvent tick(timer->timerId());
    QCoreApplication::sendEvent(timer, &tick);
    return true;
}

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class TestLedLittle : public QObject
{
    Q_OBJECT

    // A green lamp blinking with dark green.
    static void startGreenBlinking(TLedLittle &led)
    {
        led.setLedColor(lcGreen);
        led.setClicLedColor(lcDarkGreen);
        led.setBlink(true);
    }

private slots:
    void newLedIsSteadyBlack16x16()
    {
        TLedLittle led;
        QCOMPARE(led.LedColor(), lcBlack);
        QCOMPARE(led.ClicLedColor(), lcDarkGray);
        QCOMPARE(led.Interval(), 250);
        QVERIFY(!led.Blink());
        QCOMPARE(blinkPeriod(led), 0);
        QCOMPARE(led.size(), QSize(16, 16));
        QCOMPARE(rendered(led), expectedTile(Qt::black));
    }

    void eachColourShowsItsBitmap_data()
    {
        QTest::addColumn<TLedLittleColor>("color");
        QTest::addColumn<QString>("bitmap");
        QTest::addColumn<QColor>("lamp");
        QTest::addColumn<QString>("spokenName");
        QTest::newRow("black") << lcBlack << "BLACKLED" << QColor(0, 0, 0) << "black";
        QTest::newRow("dark gray") << lcDarkGray << "DARKGRAYLED" << QColor(128, 128, 128) << "dark grey";
        QTest::newRow("red") << lcRed << "REDLED" << QColor(255, 0, 0) << "red";
        QTest::newRow("dark red") << lcDarkRed << "DARKREDLED" << QColor(128, 0, 0) << "dark red";
        QTest::newRow("green") << lcGreen << "GREENLED" << QColor(0, 255, 0) << "green";
        QTest::newRow("dark green") << lcDarkGreen << "DARKGREENLED" << QColor(0, 128, 0) << "dark green";
        QTest::newRow("yellow") << lcYellow << "YELLOWLED" << QColor(255, 255, 0) << "yellow";
        QTest::newRow("dark yellow") << lcDarkYellow << "DARKYELLOWLED" << QColor(128, 128, 0) << "dark yellow";
        QTest::newRow("blue") << lcBlue << "BLUELED" << QColor(0, 0, 255) << "blue";
        QTest::newRow("dark blue") << lcDarkBlue << "DARKBLUELED" << QColor(0, 0, 128) << "dark blue";
        QTest::newRow("purple") << lcPurple << "PURPLELED" << QColor(255, 0, 255) << "purple";
        QTest::newRow("dark purple") << lcDarkPurple << "DARKPURPLELED" << QColor(128, 0, 128) << "dark purple";
        QTest::newRow("cyan") << lcCyan << "CYANLED" << QColor(0, 255, 255) << "cyan";
        QTest::newRow("dark cyan") << lcDarkCyan << "DARKCYANLED" << QColor(0, 128, 128) << "dark cyan";
    }
    void eachColourShowsItsBitmap()
    {
        QFETCH(TLedLittleColor, color);
        QFETCH(QString, bitmap);
        QFETCH(QColor, lamp);
        QFETCH(QString, spokenName);

        const QImage resource(QStringLiteral(":/leds/") + bitmap);
        QCOMPARE(resource.colorCount(), 16);
        QCOMPARE(resource.convertToFormat(QImage::Format_RGB32), expectedTile(lamp));

        TLedLittle led;
        led.setLedColor(color);
        QCOMPARE(rendered(led), expectedTile(lamp));
        QCOMPARE(led.accessibleDescription(), spokenName);
    }

    void sameColourDoesNotRepaint()
    {
        TLedLittle led;
        led.setLedColor(lcGreen);
        led.show();
        QVERIFY(QTest::qWaitForWindowExposed(&led));
        QCoreApplication::processEvents();
        PaintCounter counter;
        led.installEventFilter(&counter);

        led.setLedColor(lcGreen);
        led.setClicLedColor(lcRed);
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 0);

        led.setLedColor(lcRed);
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 1);
    }

    void pressShowsClicLedColorUntilLastRelease()
    {
        TLedLittle led;
        led.setLedColor(lcGreen);
        led.setClicLedColor(lcRed);
        QTest::mousePress(&led, Qt::LeftButton);
        QCOMPARE(led.LedColor(), lcRed);
        QTest::mousePress(&led, Qt::RightButton);
        QTest::mouseRelease(&led, Qt::LeftButton);
        QCOMPARE(led.LedColor(), lcRed);
        QTest::mouseRelease(&led, Qt::RightButton);
        QCOMPARE(led.LedColor(), lcGreen);
    }

    void blinkingOverridesPressColour()
    {
        TLedLittle led;
        led.setLedColor(lcGreen);
        led.setClicLedColor(lcDarkGreen);
        QTest::mousePress(&led, Qt::LeftButton);
        led.setBlink(true);
        QCOMPARE(led.LedColor(), lcGreen);
        QTest::mouseRelease(&led, Qt::LeftButton);
        QCOMPARE(led.LedColor(), lcGreen);

        QTest::mousePress(&led, Qt::LeftButton);
        QCOMPARE(led.LedColor(), lcGreen);
        led.setBlink(false);
        QTest::mouseRelease(&led, Qt::LeftButton);
        QCOMPARE(led.LedColor(), lcGreen);
    }

    void blinkAlternatesAndRaisesOnBlink()
    {
        TLedLittle led;
        startGreenBlinking(led);
        QCOMPARE(blinkPeriod(led), 250);
        QSignalSpy spy(&led, &TLedLittle::OnBlink);
        for (int step = 1; step <= 4; ++step) {
            QVERIFY(blinkStep(led));
            QCOMPARE(led.LedColor(), step % 2 ? lcDarkGreen : lcGreen);
            QCOMPARE(spy.count(), step);
        }
    }

    void stoppingShowsNormalColourAtOnce_data()
    {
        QTest::addColumn<bool>("blinkOff");
        QTest::addColumn<int>("newInterval");
        QTest::addColumn<int>("steps");
        for (int steps : {1, 2}) {
            const QByteArray phase = steps == 1 ? " in second colour" : " in normal colour";
            QTest::newRow("Blink off" + phase) << true << 250 << steps;
            QTest::newRow("Interval 0" + phase) << false << 0 << steps;
            QTest::newRow("Interval 500 restarts" + phase) << false << 500 << steps;
        }
    }
    void stoppingShowsNormalColourAtOnce()
    {
        QFETCH(bool, blinkOff);
        QFETCH(int, newInterval);
        QFETCH(int, steps);
        TLedLittle led;
        startGreenBlinking(led);
        for (int i = 0; i < steps; ++i)
            QVERIFY(blinkStep(led));

        if (blinkOff)
            led.setBlink(false);
        else
            led.setInterval(newInterval);
        QCOMPARE(led.LedColor(), lcGreen);
        QCOMPARE(rendered(led), expectedTile(QColor(0, 255, 0)));

        const bool restarted = !blinkOff && newInterval > 0;
        QCOMPARE(blinkPeriod(led), restarted ? newInterval : 0);
        QCOMPARE(blinkStep(led), restarted);
        QCOMPARE(led.LedColor(), restarted ? lcDarkGreen : lcGreen);
    }

    void zeroIntervalDoesNotBlinkUntilPositive()
    {
        TLedLittle led;
        led.setInterval(0);
        startGreenBlinking(led);
        QCOMPARE(blinkPeriod(led), 0);

        led.setInterval(100);
        QCOMPARE(blinkPeriod(led), 100);
        QVERIFY(blinkStep(led));
        QCOMPARE(led.LedColor(), lcDarkGreen);
    }

    void colourSetInSecondPhaseIsUndoneByNextStep()
    {
        TLedLittle led;
        startGreenBlinking(led);
        QVERIFY(blinkStep(led));
        led.setLedColor(lcRed);
        QCOMPARE(led.LedColor(), lcRed);
        QVERIFY(blinkStep(led));
        QCOMPARE(led.LedColor(), lcGreen);
    }
};

QTEST_MAIN(TestLedLittle)
#include "test_ledlittle.moc"
