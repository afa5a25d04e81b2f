// Read, Write and Compare end to end against simulated units on ptys.

#include "config/configfile.h"
#include "config/configoperations.h"
#include "protocol/commandcatalogue.h"
#include "../fastticks.h"
#include "unitlink.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using karvsim::Bank;
using Result = ConfigOperations::Result;
using Outcome = ConfigOperations::Outcome;

namespace {

// A tuned unit: currents, ramps, PID coefficients and CAN IDs of its own.
void tune(karvsim::SimulatedUnit &unit)
{
    unit.setParameter(0x11, Bank::Stored, {30, 90, 120});
    unit.setParameter(0x14, Bank::Stored, {0x00, 0x08, 0x00, 0x10});
    unit.setParameter(0x6B, Bank::Stored, {200, 7, 100, 15, 50, 3});
    unit.setParameter(0x55, Bank::Stored, {0x78, 0x56, 0x34, 0x12});
}

QString codes(const QList<ConfigOperations::Written> &written)
{
    QStringList list;
    for (const auto &w : written)
        list.append(QString::number(w.code, 16).toUpper());
    return list.join(u' ');
}

} // namespace

class TestConfigOperations : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_state.isValid());
        qputenv("XDG_STATE_HOME", m_state.path().toUtf8());
        m_ticks = std::make_unique<FastTicks>();
    }
    void cleanup() { m_ticks.reset(); }

    void cloneIntoASecondUnit();
    void compareFindsAChangedField();
    void unitThatStopsAnsweringNamesWhatWasWritten();
    void setTemporarilyLeavesTheEepromAlone();
    void identityIsWrittenLastWhenAskedFor();

private:
    QTemporaryDir m_state;
    std::unique_ptr<FastTicks> m_ticks;
};

void TestConfigOperations::cloneIntoASecondUnit()
{
    UnitLink source;
    tune(source.unit);
    ConfigOperations reading(*source.channel, 0x01, u"/dev/ttyS0"_s);
    QSignalSpy progress(&reading, &ConfigOperations::progress);
    const Result read = reading.read();
    QVERIFY2(read.complete, qPrintable(read.failure));
    QCOMPARE(read.unit.entries().size(), 22);
    QCOMPARE(progress.last().at(0).toInt(), 23);
    QCOMPARE(read.unit.header.serialNumber, u"4711"_s);
    QCOMPARE(read.unit.header.firmware, u"1.23"_s);
    QCOMPARE(*read.unit.find(0x6B), (ConfigFields::ParameterBytes{200, 7, 100, 15, 50, 3}));

    // Through the file, as an operator would carry it to the next unit.
    const ConfigFile::Loaded file = ConfigFile::parse(ConfigFile::render(read.unit));
    QVERIFY(file.problems.isEmpty());

    UnitLink target;
    target.unit.setParameter(0x12, Bank::Stored, {9});
    target.unit.setParameter(0x55, Bank::Stored, {0x01});
    const ConfigFields::ParameterBytes targetLink = target.unit.parameter(0xC1, Bank::Stored);
    ConfigOperations writing(*target.channel, 0x01, u"/dev/ttyS1"_s);
    const Result written = writing.write(file.configuration, {});
    QVERIFY2(written.complete, qPrintable(ConfigOperations::describe(written)));
    QCOMPARE(written.written.size(), 19); // 22 less $C1, $55, $56
    QVERIFY(std::ranges::all_of(written.written, [](const auto &w) { return w.outcome == Outcome::Verified; }));
    QCOMPARE(target.unit.parameter(0x12, Bank::Stored), read.unit.find(0x12) ? *read.unit.find(0x12) : ConfigFields::ParameterBytes{});
    QCOMPARE(target.unit.parameter(0x55, Bank::Stored), (karvsim::ParameterBytes{0x01}));
    QCOMPARE(target.unit.parameter(0xC1, Bank::Stored), targetLink);

    // The backup holds the target's earlier configuration.
    QVERIFY(written.backupPath.startsWith(m_state.path() + u"/KarvControl/backups/4711-"_s));
    const ConfigFile::Loaded backup = ConfigFile::load(written.backupPath);
    QVERIFY2(backup.problems.isEmpty(), qPrintable(ConfigFile::problemText(backup.problems)));
    QCOMPARE(*backup.configuration.find(0x12), (ConfigFields::ParameterBytes{9}));

    ConfigOperations comparing(*target.channel, 0x01, u"/dev/ttyS1"_s);
    const Result compared = comparing.compare(file.configuration);
    QVERIFY(compared.complete);
    QVERIFY(!ConfigDiff::differs(compared.differences, false));
    // The CAN receive ID was left as the target had it: an identity difference only.
    QVERIFY(ConfigDiff::differs(compared.differences, true));
    QVERIFY(ConfigOperations::describe(compared).startsWith(u"No setting differs.\nIdentity and link settings"_s));
}

void TestConfigOperations::compareFindsAChangedField()
{
    UnitLink link;
    ConfigOperations operations(*link.channel, 0x01, {});
    const Result read = operations.read();
    QVERIFY(read.complete);
    link.unit.setParameter(0x11, Bank::Stored, {20, 81, 100});
    const Result compared = operations.compare(read.unit);
    QCOMPARE(compared.differences.size(), 1);
    QCOMPARE(compared.differences.first().field, u"Running"_s);
    QVERIFY(ConfigDiff::differs(compared.differences, false));
    QCOMPARE(ConfigOperations::describe(compared),
             u"[$11: Current Control] Running: 80 in the file, 81 in the unit"_s);
}

// The 23 reads of the backup, then each write and its read-back: the 7th
// command's read-back is read 23 + 7 = 30.
void TestConfigOperations::unitThatStopsAnsweringNamesWhatWasWritten()
{
    UnitLink link;
    ConfigOperations operations(*link.channel, 0x01, {});
    const Result read = operations.read();
    karvsim::LineFaults faults;
    faults.unansweredRead = 22 + 7;
    link.unit.setFaults(faults);
    const Result written = operations.write(read.unit, {});
    QVERIFY(!written.complete);
    QCOMPARE(codes(written.written), u"11 14 63 12 17 54 57"_s);
    QCOMPARE(written.written.last().outcome, Outcome::Unconfirmed);
    QCOMPARE(written.notWritten.size(), 12);
    const QString text = ConfigOperations::describe(written);
    QCOMPARE(text.count(u"No reply from Karvel."_s), 1);
    QVERIFY(text.contains(u"$57: Stop Switch Decel.: written, but its read-back got no reply"_s));
    QVERIFY(text.contains(u"Not written: $16: Reference Search Vel., "_s));
    QVERIFY(text.endsWith(u"No reply from Karvel.\nPlease check the connection\nand the addresses!"_s));
}

void TestConfigOperations::setTemporarilyLeavesTheEepromAlone()
{
    UnitLink link;
    Configuration configuration;
    configuration.set(0x11, {1, 2, 3});
    configuration.set(0x6F, {1});
    ConfigOperations operations(*link.channel, 0x01, {});
    const Result written = operations.write(configuration, {.temporarily = true});
    QVERIFY(written.complete);
    QCOMPARE(written.written.first().outcome, Outcome::Verified);
    QCOMPARE(written.written.last().outcome, Outcome::NotVerifiable);
    QCOMPARE(link.unit.parameter(0x11, Bank::Actual), (karvsim::ParameterBytes{1, 2, 3}));
    QCOMPARE(link.unit.parameter(0x11, Bank::Stored), (karvsim::ParameterBytes{20, 80, 100}));
    QVERIFY(ConfigOperations::describe(written).contains(u"$6F: PID Enable: written but not verifiable"_s));
}

void TestConfigOperations::identityIsWrittenLastWhenAskedFor()
{
    UnitLink link;
    ConfigFields::ParameterBytes serialLink = link.unit.parameter(0xC1, Bank::Stored);
    serialLink[1] = 0x07; // a new address at the same speed
    Configuration configuration;
    configuration.set(0xC1, serialLink);
    configuration.set(0x55, {0x11, 0x22});
    configuration.set(0x10, {2});
    ConfigOperations operations(*link.channel, 0x01, {});
    const Result written = operations.write(configuration, {.includeIdentity = true});
    QVERIFY2(written.complete, qPrintable(ConfigOperations::describe(written)));
    QCOMPARE(codes(written.written), u"55 10 C1"_s);
    QCOMPARE(written.linkNote, u"The unit now answers at address 07, 19200 baud (verified there)."_s);
}

QTEST_GUILESS_MAIN(TestConfigOperations)
#include "test_configoperations.moc"
