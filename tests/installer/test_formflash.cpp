// The installer window against the simulated unit's boot loader: flashing,
// its failures, EEPROM clearing and the window's guards.

#include "firmwarefiles.h"
#include "installerkit.h"
#include "tests/accessiblereading.h"
#include "tests/layoutfaults.h"

#include "installer/bootlink.h"
#include "installer/formflash.h"
#include "serial/comm32.h"
#include "toolkit/statictext.h"

#include <QTest>

using karvsim::BootFaults;

namespace {

const QString kSuccessful = QStringLiteral("Successful!");

// The 'A' and 'm' requests the unit took, as "A0080" and "m".
QStringList pageRequests(const std::vector<karvsim::BootLoaderRequest> &requests)
{
    QStringList taken;
    for (const karvsim::BootLoaderRequest &request : requests) {
        if (request.letter == 'A')
            taken << QStringLiteral("A%1").arg(request.arguments[0] << 8 | request.arguments[1], 4, 16,
                                               QLatin1Char('0'));
        else if (request.letter == 'm')
            taken << QStringLiteral("m");
    }
    return taken;
}

BootFaults unanswered(std::size_t request)
{
    BootFaults faults;
    faults.unansweredRequest = request;
    return faults;
}

} // namespace

Q_DECLARE_METATYPE(BootFaults)
Q_DECLARE_METATYPE(std::string)

class TestFormFlash : public QObject
{
    Q_OBJECT

private slots:
    void flashesWholeImage_data();
    void flashesWholeImage();
    void failuresEndTheOperation_data();
    void failuresEndTheOperation();
    void entersBootLoaderAtTheUnitsRate_data();
    void entersBootLoaderAtTheUnitsRate();
    void portThatCannotOpen();
    void clearsEeprom_data();
    void clearsEeprom();
    void eepromFailures_data();
    void eepromFailures();
    void secondOperation_data();
    void secondOperation();
    void closeWaitsForTheOperation();
    void deviceAnswers_data();
    void deviceAnswers();
    void loadOutcomes();
    void fileNamesShowAsTheyAre_data();
    void fileNamesShowAsTheyAre();
    void checksumAsShown();
    void cancelledDialogChangesNothing();
};

// The flash holds the image, the marker ends the last application page,
// the boot loader's area is untouched; pages are committed as they fill.
void TestFormFlash::flashesWholeImage_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QStringList>("pages");

    const QStringList lastPage{QStringLiteral("A7b80"), QStringLiteral("A7b80"), QStringLiteral("m")};
    QTest::newRow("600 bytes: a partly filled page")
        << 600
        << QStringList{"A0000", "A0000", "A0000", "m", "A0080", "A0080", "m", "A0100", "A0100", "m"} + lastPage
               + QStringList{"A0000"};
    QTest::newRow("512 bytes end on a page boundary")
        << 512 << QStringList{"A0000", "A0000", "A0000", "m", "A0080", "A0080", "m", "A0100"} + lastPage
               + QStringList{"A0000"};
    QTest::newRow("odd size: the last byte is written too") << 601 << QStringList();
}

void TestFormFlash::flashesWholeImage()
{
    QFETCH(int, size);
    QFETCH(QStringList, pages);

    InstallerKit kit;
    kit.openWindow();
    const QByteArray image = FirmwareFiles::taggedImage(size);
    kit.load(FirmwareFiles::hexFile(image));
    const std::vector<std::uint8_t> before = kit.unit().flash();
    kit.click("BtnProgramme");

    QCOMPARE(kit.takeBoxes(), QStringList());
    QCOMPARE(kit.text("StaticProgress"), kSuccessful);
    QCOMPARE(kit.text("StaticDeviceType"), QStringLiteral("Karvel 2"));
    QCOMPARE(kit.barPosition(), size - 1);
    QVERIFY(!kit.window().link().comm32()->IsOpen());
    const std::vector<std::uint8_t> flash = kit.unit().flash();
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(flash.data()), size), image);
    QCOMPARE(flash[0xF7FE], 0x12);
    QCOMPARE(flash[0xF7FF], 0x34);
    QCOMPARE(flash[0xF700], 0x00);
    QVERIFY(std::equal(flash.begin() + 0xF800, flash.end(), before.begin() + 0xF800));
    if (!pages.isEmpty())
        QCOMPARE(pageRequests(kit.unit().bootRequests()), pages);
    QCOMPARE(kit.unit().bootRequests().back().letter, 'x');
}

// Request numbers for a 600-byte image in 256-byte pages: S a p A e A, 128
// words, page 1 (A m A), 128 words, page 2, 44 words, the partly filled page
// (A m), the last application page (A, 128 words, A m), then A and R...
void TestFormFlash::failuresEndTheOperation_data()
{
    QTest::addColumn<BootFaults>("faults");
    QTest::addColumn<QString>("message");

    const std::pair<std::size_t, const char *> steps[] = {
        {1, "No Karvel 2 in boot mode connected!"}, {2, "Could not detect the device type!"},
        {3, "Could not read the page size!"},       {4, "Erase unsuccessful!"},
        {5, "Erase unsuccessful!"},                 {6, "Programming error (1)!"},
        {7, "Programming error (2)!"},              {135, "Programming error (3)!"},
        {136, "Programming error (4)!"},            {137, "Programming error (5)!"},
        {313, "Programming error (6)!"},            {314, "Programming error (7)!"},
        {315, "Programming error (8)!"},            {316, "Programming error (9)!"},
        {444, "Programming error (10)!"},           {445, "Programming error (11)!"},
        {446, "Verify error (1)"},                  {447, "Verify error (2)!"},
    };
    for (const auto &[request, message] : steps)
        QTest::addRow("request %zu unanswered", request) << unanswered(request) << QString::fromLatin1(message);

    BootFaults late = unanswered(0);
    late.unansweredRequest.reset();
    late.lateRequest = 2;
    QTest::newRow("late reply") << late << QStringLiteral("Could not detect the device type!");
    BootFaults corrupt;
    corrupt.corruptedByte = 3;
    QTest::newRow("read back differs") << corrupt << QStringLiteral("Verify error (3)!2");
}

void TestFormFlash::failuresEndTheOperation()
{
    QFETCH(BootFaults, faults);
    QFETCH(QString, message);

    InstallerKit kit;
    kit.unit().setBootFaults(faults);
    kit.openWindow();
    kit.load(FirmwareFiles::hexFile(FirmwareFiles::taggedImage(600)));
    kit.click("BtnProgramme");

    QCOMPARE(kit.takeBoxes(), QStringList{message});
    QCOMPARE(kit.text("StaticProgress"), message);
    QVERIFY(!kit.window().link().comm32()->IsOpen());
    QVERIFY(kit.unit().bootRequests().back().letter != 'x');
    QVERIFY(kit.enabled("BtnProgramme") && kit.enabled("BtnLoad") && kit.enabled("BtnClearEEPROM"));
}

// The boot-entry frame goes out at the unit's rate; 57600 has none of its
// own, so it leaves at 9600; a unit already in its boot loader needs none.
void TestFormFlash::entersBootLoaderAtTheUnitsRate_data()
{
    QTest::addColumn<int>("unitRate");
    QTest::addColumn<int>("portBaud");
    QTest::addColumn<bool>("inBootLoader");
    QTest::addColumn<QString>("progress");

    QTest::newRow("2400") << 2400 << 2400 << false << kSuccessful;
    QTest::newRow("57600 enters at 9600") << 9600 << 57600 << false << kSuccessful;
    QTest::newRow("unit at 57600 is not reached") << 57600 << 57600 << false
                                                  << QStringLiteral("No Karvel 2 in boot mode connected!");
    QTest::newRow("already in the boot loader") << 19200 << 38400 << true << kSuccessful;
}

void TestFormFlash::entersBootLoaderAtTheUnitsRate()
{
    QFETCH(int, unitRate);
    QFETCH(int, portBaud);
    QFETCH(bool, inBootLoader);
    QFETCH(QString, progress);

    karvsim::SimulatedUnit::Options options;
    options.baudRate = unitRate;
    options.inBootLoader = inBootLoader;
    InstallerKit kit(options);
    kit.openWindow(portBaud);
    kit.load(FirmwareFiles::hexFile(FirmwareFiles::taggedImage(64)));
    kit.click("BtnProgramme");
    QCOMPARE(kit.text("StaticProgress"), progress);
}

// No frame, no pause: the message names the port as handed over.
void TestFormFlash::portThatCannotOpen()
{
    InstallerKit kit;
    kit.openWindow();
    kit.window().SetPortName(QStringLiteral("COM7"));
    kit.window().SetPortDevice(QStringLiteral("/dev/karvel-no-such-port"));
    kit.load(FirmwareFiles::hexFile(FirmwareFiles::taggedImage(64)));
    kit.click("BtnProgramme");
    QCOMPARE(kit.takeBoxes(), QStringList{QStringLiteral("The port COM7 could not be opened!")});
    QCOMPARE(kit.text("StaticProgress"), QStringLiteral("Trying to enter boot mode..."));
    QCOMPARE(kit.unit().bytesReceived(), std::size_t(0));
}

void TestFormFlash::clearsEeprom_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QString>("shown");

    QTest::newRow("610") << QByteArray("\x62\x02", 2) << QStringLiteral("HLXM-610");
    QTest::newRow("611") << QByteArray("\x63\x02", 2) << QStringLiteral("HLXM-611");
    QTest::newRow("612") << QByteArray("\x64\x02", 2) << QStringLiteral("HLXM-612");
    QTest::newRow("613") << QByteArray("\x65\x02", 2) << QStringLiteral("HLXM-613");
    QTest::newRow("410") << QByteArray("\x9A\x01", 2) << QStringLiteral("HLXM-410");
    QTest::newRow("10000") << QByteArray("\x10\x27", 2) << QString();
    QTest::newRow("Karvel 2") << QByteArray("KV") << QString();
}

// Works without a file; No changes nothing, Yes zeroes 1024 bytes.
void TestFormFlash::clearsEeprom()
{
    QFETCH(QByteArray, type);
    QFETCH(QString, shown);

    karvsim::SimulatedUnit::Options options;
    options.deviceType = {std::uint8_t(type[0]), std::uint8_t(type[1])};
    InstallerKit kit(options);
    kit.openWindow();
    const std::vector<std::uint8_t> before = kit.unit().eeprom();

    kit.dialogs().setAnswer(false);
    kit.click("BtnClearEEPROM");
    QCOMPARE(kit.unit().bytesReceived(), std::size_t(0));
    QCOMPARE(kit.text("StaticProgress"), QString());

    kit.dialogs().setAnswer(true);
    kit.click("BtnClearEEPROM");
    QCOMPARE(kit.takeBoxes().size(), 2); // the two questions
    QCOMPARE(kit.text("StaticProgress"), kSuccessful);
    QCOMPARE(kit.text("StaticDeviceType"), shown);
    QCOMPARE(kit.barMaximum(), 1023);
    QCOMPARE(kit.barPosition(), 1023);
    const std::vector<std::uint8_t> eeprom = kit.unit().eeprom();
    QVERIFY(std::all_of(eeprom.begin(), eeprom.begin() + 1024, [](std::uint8_t b) { return b == 0; }));
    QVERIFY(std::equal(eeprom.begin() + 1024, eeprom.end(), before.begin() + 1024));
}

// Requests S a A, then 'D' number n is request n + 3. The bar keeps the
// position of the last byte cleared.
void TestFormFlash::eepromFailures_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("bar");

    QTest::newRow("S") << 1 << "No HLXM module in boot mode connected!" << 0;
    QTest::newRow("a") << 2 << "Could not detect the device type!" << 0;
    QTest::newRow("A") << 3 << "EEPROM write error (1)!" << 0;
    QTest::newRow("first D") << 4 << "EEPROM write error (2)!" << 0;
    QTest::newRow("D number 500") << 503 << "EEPROM write error (2)!" << 498;
}

void TestFormFlash::eepromFailures()
{
    QFETCH(int, request);
    QFETCH(QString, message);
    QFETCH(int, bar);

    InstallerKit kit;
    kit.unit().setBootFaults(unanswered(std::size_t(request)));
    kit.openWindow();
    kit.click("BtnClearEEPROM");
    QCOMPARE(kit.takeBoxes().last(), message);
    QCOMPARE(kit.text("StaticProgress"), message);
    QCOMPARE(kit.barMaximum(), 1023);
    QCOMPARE(kit.barPosition(), bar);
    QVERIFY(!kit.window().link().comm32()->IsOpen());
}

// The window serves one operation after another; the device type of the
// last one is gone as soon as the next begins (at the boot loader's first
// reply, before it is asked again).
void TestFormFlash::secondOperation_data()
{
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<int>("barMaximum");

    QTest::newRow("Start again") << QByteArray("BtnProgramme") << 599;
    QTest::newRow("then Clear EEPROM") << QByteArray("BtnClearEEPROM") << 1023;
}

void TestFormFlash::secondOperation()
{
    QFETCH(QByteArray, second);
    QFETCH(int, barMaximum);

    InstallerKit kit;
    kit.openWindow();
    kit.load(FirmwareFiles::hexFile(FirmwareFiles::taggedImage(600)));
    kit.click("BtnProgramme");
    QCOMPARE(kit.text("StaticDeviceType"), QStringLiteral("Karvel 2"));

    QStringList typeAtFirstReply;
    QObject::connect(kit.window().link().comm32(), &TComm32::OnRxChar, &kit.window(), [&] {
        if (typeAtFirstReply.isEmpty())
            typeAtFirstReply << kit.text("StaticDeviceType");
    });
    const std::size_t before = kit.unit().bootRequestsReceived();
    kit.click(second.constData());
    QCOMPARE(typeAtFirstReply, QStringList{QString()});
    QCOMPARE(kit.takeBoxes().size(), second == "BtnClearEEPROM" ? 1 : 0); // its question
    QCOMPARE(kit.text("StaticProgress"), kSuccessful);
    QCOMPARE(kit.text("StaticDeviceType"), second == "BtnClearEEPROM" ? QString() : QStringLiteral("Karvel 2"));
    QCOMPARE(kit.barMaximum(), barMaximum);
    QCOMPARE(kit.barPosition(), barMaximum);
    QVERIFY(kit.unit().bootRequestsReceived() > before);
    QCOMPARE(kit.unit().bootRequests().back().letter, 'x');
}

// A close during an operation takes effect when it has ended, with its port
// closed; meanwhile nothing else can start.
void TestFormFlash::closeWaitsForTheOperation()
{
    InstallerKit kit;
    kit.openWindow();
    kit.load(FirmwareFiles::hexFile(FirmwareFiles::taggedImage(600)));
    bool closedDuringOperation = true;
    bool guarded = false;
    QObject::connect(kit.window().link().comm32(), &TComm32::OnRxChar, &kit.window(), [&] {
        if (guarded)
            return;
        guarded = !kit.enabled("BtnProgramme") && !kit.enabled("BtnLoad") && !kit.enabled("BtnClearEEPROM");
        kit.window().close();
        kit.window().reject();
        closedDuringOperation = !kit.window().isVisible();
    });
    kit.click("BtnProgramme");
    QVERIFY(guarded);
    QVERIFY(!closedDuringOperation);
    QCOMPARE(kit.text("StaticProgress"), kSuccessful);
    QVERIFY(!kit.window().isVisible());
    QCOMPARE(kit.window().result(), int(QDialog::Rejected));
}

void TestFormFlash::deviceAnswers_data()
{
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<std::string>("pageSizeTrailer");
    QTest::addColumn<QString>("progress");
    QTest::addColumn<QString>("deviceType");

    QTest::newRow("another module") << QByteArray("\x64\x02", 2) << std::string()
                                    << QStringLiteral("The connected device is not a Karvel 2!") << QString();
    QTest::newRow("page size with a trailer") << QByteArray("KV") << std::string("JUNK\r") << kSuccessful
                                              << QStringLiteral("Karvel 2");
}

void TestFormFlash::deviceAnswers()
{
    QFETCH(QByteArray, type);
    QFETCH(std::string, pageSizeTrailer);
    QFETCH(QString, progress);
    QFETCH(QString, deviceType);

    karvsim::SimulatedUnit::Options options;
    options.deviceType = {std::uint8_t(type[0]), std::uint8_t(type[1])};
    InstallerKit kit(options);
    BootFaults faults;
    faults.pageSizeTrailer = pageSizeTrailer;
    kit.unit().setBootFaults(faults);
    kit.openWindow();
    kit.load(FirmwareFiles::hexFile(FirmwareFiles::taggedImage(64)));
    kit.click("BtnProgramme");
    QCOMPARE(kit.text("StaticProgress"), progress);
    QCOMPARE(kit.text("StaticDeviceType"), deviceType);
}

// What each kind of load leaves in the " File " group and Start. A file
// that fails to read past its first lines leaves the earlier texts but never
// lets Start flash the partly read image. Captions stay clear of the texts
// they name.
void TestFormFlash::loadOutcomes()
{
    InstallerKit kit;
    kit.openWindow();
    QByteArray good = FirmwareFiles::hexFile(FirmwareFiles::taggedImage(600));
    kit.load(good);
    const QStringList loaded{kit.text("StaticSize"), kit.text("StaticChecksum"), kit.text("StaticVersion")};
    QCOMPARE(loaded.mid(0, 1), QStringList{QStringLiteral("600 bytes")});
    QCOMPARE(loaded[2], QStringLiteral("Karvel-2 V1.07"));
    QVERIFY(kit.enabled("BtnProgramme") && !kit.text("StaticName").isEmpty());
    const QStringList faults = layoutFaults(&kit.window());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));

    QByteArray notHexadecimal = good;
    notHexadecimal.replace(":1000100", ":10G0100");
    kit.load(notHexadecimal, QStringLiteral("broken.hex"));
    QCOMPARE(kit.takeBoxes().size(), 1);
    QCOMPARE((QStringList{kit.text("StaticSize"), kit.text("StaticChecksum"), kit.text("StaticVersion")}), loaded);
    QVERIFY(kit.text("StaticName").endsWith(QStringLiteral("broken.hex")));
    QVERIFY(!kit.enabled("BtnProgramme"));

    QByteArray badChecksum = good;
    badChecksum[good.indexOf('\n') + 1 + 9] = badChecksum[good.indexOf('\n') + 1 + 9] == '0' ? '1' : '0';
    kit.load(badChecksum, QStringLiteral("bad.hex"));
    QCOMPARE(kit.takeBoxes(),
             QStringList{QStringLiteral("The file \"bad.hex\" is not a valid HEX file!\r(Record checksum error in line 2)")});
    QCOMPARE(kit.text("StaticName") + kit.text("StaticSize") + kit.text("StaticChecksum") + kit.text("StaticVersion"),
             QString());
    QVERIFY(!kit.enabled("BtnProgramme"));

    kit.load(FirmwareFiles::hexFile(QByteArray(64, 'x')), QStringLiteral("other.hex"));
    QCOMPARE(kit.takeBoxes(), QStringList{QStringLiteral("The file \"other.hex\" is not indended for use with a Karvel-2!")});
    QVERIFY(!kit.enabled("BtnProgramme"));
}

// A name is shown and reported as it is: no placeholder in it is filled,
// no markup in it is drawn.
void TestFormFlash::fileNamesShowAsTheyAre_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("placeholder") << QStringLiteral("fw%1.hex");
    QTest::newRow("markup") << QStringLiteral("<b>fw.hex");
}

void TestFormFlash::fileNamesShowAsTheyAre()
{
    QFETCH(QString, fileName);

    InstallerKit kit;
    kit.openWindow();
    QByteArray good = FirmwareFiles::hexFile(FirmwareFiles::taggedImage(64));
    kit.load(good, fileName);
    auto *name = kit.window().findChild<StaticText *>(QStringLiteral("StaticName"));
    QVERIFY(name->text().endsWith(fileName));
    QCOMPARE(name->textFormat(), Qt::PlainText);

    good[good.indexOf('\n') + 1 + 9] = good[good.indexOf('\n') + 1 + 9] == '0' ? '1' : '0';
    kit.load(good, fileName);
    QCOMPARE(kit.takeBoxes(), QStringList{QStringLiteral("The file \"") + fileName
                                          + QStringLiteral("\" is not a valid HEX file!\r(Record checksum error in line 2)")});
}

// Four upper-case digits, leading zero kept, as the operator and a screen
// reader get them. The image: 0xD5, the tag, eight 0xFF and a zero byte add
// up to 0x0ABC.
void TestFormFlash::checksumAsShown()
{
    QByteArray image(18, '\0');
    image[0] = char(0xD5);
    image.replace(1, 8, "KV2V1.07");
    image.replace(9, 8, QByteArray(8, char(0xFF)));
    InstallerKit kit;
    kit.openWindow();
    kit.load(FirmwareFiles::hexFile(image));
    QCOMPARE(kit.text("StaticChecksum"), QStringLiteral("0ABC"));
    QCOMPARE(AccessibleReading::of(kit.window().findChild<StaticText *>(QStringLiteral("StaticChecksum"))),
             QStringLiteral("Checksum|0ABC|0ABC"));
}

void TestFormFlash::cancelledDialogChangesNothing()
{
    InstallerKit kit;
    kit.openWindow();
    kit.load(FirmwareFiles::hexFile(FirmwareFiles::taggedImage(600)));
    const char *const names[] = {"StaticName", "StaticSize", "StaticChecksum", "StaticVersion"};
    QStringList loaded;
    for (const char *name : names)
        loaded << kit.text(name);
    kit.cancelLoad();
    QStringList after;
    for (const char *name : names)
        after << kit.text(name);
    QCOMPARE(after, loaded);
    QVERIFY(kit.enabled("BtnProgramme"));
    QCOMPARE(kit.takeBoxes(), QStringList());
    QCOMPARE(kit.window().image().ImageLast, 599u);
}

QTEST_MAIN(TestFormFlash)
#include "test_formflash.moc"
