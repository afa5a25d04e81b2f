// The installer's bar pacing, without a bar: which positions reach it.

#include "installer/progresspacer.h"
#include "toolkit/ticks.h"

#include <QTest>

class TestProgressPacer : public QObject
{
    Q_OBJECT

private slots:
    void pacesAndEndsExactly_data();
    void pacesAndEndsExactly();
    void restartFromZero();
};

// A run of positions, one every msPerStep: what reaches the bar has moved
// it by a pixel, is an interval after the one before, and flush() ends on
// the last position given.
void TestProgressPacer::pacesAndEndsExactly_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("msPerStep");
    QTest::addColumn<int>("mostShown");

    // 16,384 words of a full image, 4 ms each at 9600 baud: the bar's
    // 265 pixels bound it.
    QTest::newRow("full image on a slow line") << 32766 << 16384 << 4 << 265;
    // As fast as the simulated unit answers: the interval bounds it.
    QTest::newRow("fast line") << 32766 << 16384 << 0 << 1;
    QTest::newRow("fewer steps than pixels") << 100 << 100 << 50 << 100;
    // A failure early on: the position is not a pixel further, yet flush
    // shows it.
    QTest::newRow("stopped within the first pixel") << 32766 << 30 << 10 << 0;
}

void TestProgressPacer::pacesAndEndsExactly()
{
    QFETCH(int, maximum);
    QFETCH(int, steps);
    QFETCH(int, msPerStep);
    QFETCH(int, mostShown);

    FakeTicks ticks(0xFFFFF000u); // wraps during the run
    QList<std::pair<int, quint32>> shown;
    ProgressPacer pacer([&](int position) { shown.append({position, Toolkit::Ticks()}); }, 40);
    pacer.setScale(maximum, 265);
    int last = 0;
    for (int step = 1; step <= steps; ++step) {
        ticks.advance(quint32(msPerStep));
        last = qMin(step * 2, maximum);
        pacer.setPosition(last);
    }
    QVERIFY2(shown.size() <= mostShown, qPrintable(QString::number(shown.size())));
    for (qsizetype i = 1; i < shown.size(); ++i) {
        QVERIFY(shown[i].second - shown[i - 1].second >= 40);
        QVERIFY(qint64(shown[i].first) * 265 / maximum != qint64(shown[i - 1].first) * 265 / maximum);
    }
    pacer.flush();
    QCOMPARE(shown.last().first, last);
    const qsizetype count = shown.size();
    pacer.flush();
    QCOMPARE(shown.size(), count);
}

// The next operation starts the bar at 0 again at once after flush, even
// with no time between.
void TestProgressPacer::restartFromZero()
{
    FakeTicks ticks(1000);
    QList<int> shown;
    ProgressPacer pacer([&](int position) { shown.append(position); }, 40);
    pacer.setScale(498, 265);
    pacer.setPosition(498);
    QCOMPARE(shown, QList<int>{498});
    pacer.setPosition(0);
    QCOMPARE(shown, QList<int>{498});
    pacer.flush();
    QCOMPARE(shown, (QList<int>{498, 0}));
}

QTEST_GUILESS_MAIN(TestProgressPacer)
#include "test_progresspacer.moc"
