// Loading HEX text into an image: record grammar, limits, line ends, the
// version tag and how a long path is shown.

#include "installer/displaypath.h"
#include "installer/hexerrors.h"
#include "installer/hexloader.h"
#include "installer/versiontag.h"
#include "util/convert_error.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>

using namespace Installer;

namespace {

quint16 sumOf(const QByteArray &bytes)
{
    quint16 sum = 0;
    for (const char b : bytes)
        sum += quint8(b);
    return sum;
}

// One Intel HEX record with a correct checksum, without line end.
QByteArray record(int type, int address, const QByteArray &data)
{
    QByteArray bytes;
    bytes.append(char(data.size())).append(char(address >> 8)).append(char(address)).append(char(type));
    bytes.append(data);
    bytes.append(char(-int(sumOf(bytes))));
    return ':' + bytes.toHex().toUpper();
}

const QByteArray End = ":00000001FF";
const QByteArray Tag = "KV2V1.07";
const QByteArray Tagged = record(0, 1, Tag);
const quint16 TagSum = sumOf(Tag);

QByteArray lines(const QList<QByteArray> &records)
{
    return records.join("\r\n") + "\r\n";
}

// How a load ended: "" accepted, "check" no tag, "convert" a field that is
// not a number, else the reason of the EHexLoadError.
struct Outcome
{
    QString error;
    qint64 line = 0;
    quint32 imageLast = 0;
    quint16 imageSum = 0;
    QString version;
};

Outcome loadInChunks(const QByteArray &text, qsizetype chunkSize, HexImage &image)
{
    Outcome outcome;
    try {
        HexLoader loader(image);
        for (qsizetype at = 0; at < text.size(); at += chunkSize)
            loader.feed(QByteArrayView(text).sliced(at, qMin(chunkSize, text.size() - at)));
        loader.finish();
        image.VersionText = FindVersionText(image.Image);
    } catch (const EHexLoadError &e) {
        outcome.error = QString::fromLatin1(e.what());
        outcome.line = e.lineNumber();
    } catch (const EHexCheckError &) {
        outcome.error = QStringLiteral("check");
    } catch (const EConvertError &) {
        outcome.error = QStringLiteral("convert");
    }
    outcome.imageLast = image.ImageLast;
    outcome.imageSum = image.ImageSum;
    outcome.version = image.VersionText;
    return outcome;
}

} // namespace

class TestHexLoader : public QObject
{
    Q_OBJECT

private slots:
    // imageSum and version are compared for loads that got through the
    // records only.
    void load_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::addColumn<qint64>("line");
        QTest::addColumn<quint32>("imageLast");
        QTest::addColumn<quint16>("imageSum");
        QTest::addColumn<QString>("version");
        const QString karvel = QStringLiteral("Karvel-2 V1.07");
        const quint32 none = 0xFFFFFFFF;

        QTest::newRow("end record only") << lines({End}) << "check" << 0ll << none << quint16(0) << "";
        QTest::newRow("empty file") << QByteArray() << "check" << 0ll << none << quint16(0) << "";
        QTest::newRow("tag") << lines({Tagged, End}) << "" << 0ll << 8u << TagSum << karvel;
        QTest::newRow("other tag") << lines({record(0, 1, "K2TV2.10"), End}) << "" << 0ll << 8u
                                   << sumOf("K2TV2.10") << "HLXL V2.10";
        QTest::newRow("both tags: own product wins")
            << lines({record(0, 0x100, "K2TV2.10"), record(0, 0x200, Tag), End}) << "" << 0ll << 0x207u
            << quint16(sumOf("K2TV2.10") + TagSum) << karvel;
        QTest::newRow("tag at address 0 is no tag") << lines({record(0, 0, Tag)}) << "check" << 0ll << 7u << TagSum << "";
        QTest::newRow("lower-case digits") << lines({Tagged.toLower(), End}) << "" << 0ll << 8u
                                           << TagSum << karvel;
        QTest::newRow("later record overwrites")
            << lines({Tagged, record(0, 0x20, "\x05\x06"), record(0, 0x20, "\x01")}) << "" << 0ll << 0x21u
            << quint16(TagSum + 1 + 6) << karvel;
        QTest::newRow("empty data record") << lines({Tagged, record(0, 0x7FFF, {}), End}) << "" << 0ll << 8u
                                           << TagSum << karvel;
        QTest::newRow("highest address") << lines({Tagged, record(0, 0x7FFE, "\xFF"), End}) << "" << 0ll << 0x7FFEu
                                         << quint16(TagSum + 0xFF) << karvel;
        QTest::newRow("byte at 0x7FFF") << lines({Tagged, record(0, 0x7FFF, "\xFF")}) << "HEX file too large" << 2ll
                                        << 0x8000u << quint16(0) << "";
        QTest::newRow("record crossing 0x7FFF") << lines({record(0, 0x7FF0, QByteArray(16, 'x'))})
                                                << "HEX file too large" << 1ll << 0x8000u << quint16(0) << "";
        QTest::newRow("byte at 0xFFFF") << lines({record(0, 0xFFFF, "\xFF\xFF")}) << "HEX file too large" << 1ll
                                        << 0x10000u << quint16(0) << "";
        QByteArray badSum = record(0, 0x10, "\x01\x02");
        badSum.back() = badSum.back() + 1;
        QTest::newRow("checksum one too high") << lines({Tagged, Tagged, badSum}) << "Record checksum error" << 3ll
                                               << 0x12u << quint16(0) << "";
        QTest::newRow("end record checksum ignored") << lines({Tagged, ":0000000100"}) << "" << 0ll << 8u << TagSum
                                                     << karvel;
        QTest::newRow("end record checksum field missing") << lines({":02000001FF"}) << "convert" << 0ll << 0u
                                                           << quint16(0) << "";
        QTest::newRow("extended linear address") << lines({Tagged, ":020000040000FA"}) << "Record type not supported"
                                                 << 2ll << 9u << quint16(0) << "";
        QTest::newRow("start address") << lines({":0400000300001000E9"}) << "Record type not supported" << 1ll << 0u
                                       << quint16(0) << "";
        QTest::newRow("lines after the end ignored") << lines({Tagged, End, "junk", record(0, 0x7FFF, "x")}) << ""
                                                     << 0ll << 8u << TagSum << karvel;
        QTest::newRow("ten characters") << lines({Tagged, ":000000010"}) << "Line too short" << 2ll << 9u
                                        << quint16(0) << "";
        QTest::newRow("empty line") << lines({Tagged, "", End}) << "Line too short" << 2ll << 9u << quint16(0) << "";
        QTest::newRow("semicolon") << lines({";00000001FF"}) << "Improper record format" << 1ll << 0u << quint16(0)
                                   << "";
        QTest::newRow("binary junk") << QByteArray("\x00\x01\xFF\x80\x1A:0000000000", 16) << "Improper record format"
                                     << 1ll << 0u << quint16(0) << "";
        QTest::newRow("data field not hexadecimal") << lines({":01000000G0FF"}) << "convert" << 0ll << 0u
                                                    << quint16(0) << "";
        QTest::newRow("data record shorter than its count") << lines({":0200000001FD"}) << "convert" << 0ll << 0u
                                                            << quint16(0) << "";
        QTest::newRow("checksum cut short reads its one digit")
            << lines({Tagged, ":01000000F1E"}) << "" << 0ll << 8u << quint16(TagSum + 0xF1) << karvel;
        QTest::newRow("Ctrl-Z ends the text") << Tagged + "\n\x1A" + "junk" << "" << 0ll << 8u << TagSum << karvel;
        QTest::newRow("Ctrl-Z inside a line is a character") << Tagged + "\x1A\n" + End << "" << 0ll << 8u << TagSum
                                                             << karvel;
        QTest::newRow("LF, lone CR and CRLF count one line each")
            << Tagged + "\n" + Tagged + "\r" + Tagged + "\r\n" + ";00000001FF" << "Improper record format" << 4ll << 9u
            << quint16(0) << "";
        QTest::newRow("last line without line end") << Tagged << "" << 0ll << 8u << TagSum << karvel;
        QTest::newRow("characters after the checksum ignored")
            << Tagged + QByteArray(100000, 'z') + "\n" + End << "" << 0ll << 8u << TagSum << karvel;
        QTest::newRow("end record with a line that never ends")
            << End + QByteArray(100000, '0') << "check" << 0ll << 0xFFFFFFFFu << quint16(0) << "";
    }
    // Fed whole and byte by byte: line ends split across chunks change nothing.
    void load()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        QFETCH(qint64, line);
        QFETCH(quint32, imageLast);
        QFETCH(quint16, imageSum);
        QFETCH(QString, version);
        auto image = std::make_unique<HexImage>();
        for (const qsizetype chunkSize : {qMax(text.size(), qsizetype(1)), qsizetype(1)}) {
            const Outcome outcome = loadInChunks(text, chunkSize, *image);
            QCOMPARE(outcome.error, error);
            QCOMPARE(outcome.line, line);
            QCOMPARE(outcome.imageLast, imageLast);
            if (error.isEmpty() || error == QLatin1String("check")) {
                QCOMPARE(outcome.imageSum, imageSum);
                QCOMPARE(outcome.version, version);
            }
        }
    }

    void loadClearsTheEarlierImage()
    {
        auto image = std::make_unique<HexImage>();
        image->Image.fill(0xAA);
        LoadHexData(lines({record(0, 0x10, "\x01"), Tagged}), *image);
        QCOMPARE(image->Image[0], 0);
        QCOMPARE(image->Image[0x0F], 0);
        QCOMPARE(image->Image[0x10], 1);
        QCOMPARE(image->Image[0xF7FE], 0);
        QCOMPARE(image->ImageSum, quint16(TagSum + 1));
    }

    void unreadableFileIsAFileError_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "missing.hex";
        QTest::newRow("directory") << ".";
        // Opening it would wait for a writer, with the window frozen.
        QTest::newRow("FIFO") << "fifo.hex";
    }
    void unreadableFileIsAFileError()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo.hex")).constData(), 0600) == 0);
        auto image = std::make_unique<HexImage>();
        QVERIFY_THROWS_EXCEPTION(EFileReadError, LoadHexFile(dir.filePath(name), *image));
    }

    void findTag_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("found");
        QTest::newRow("at address 1") << 1 << Tag << "KV2V1.07";
        QTest::newRow("at address 0: never a start") << 0 << Tag << "";
        QTest::newRow("at the last start 0x7FF7") << 0x7FF7 << Tag << "KV2V1.07";
        QTest::newRow("at 0x7FF8: beyond the starts") << 0x7FF8 << Tag << "";
        QTest::newRow("pattern text literally") << 5 << QByteArray("KV2V#.##") << "KV2V#.##";
        QTest::newRow("letters for digits") << 5 << QByteArray("KV2Va.bc") << "";
        QTest::newRow("lower case") << 5 << QByteArray("kv2v1.07") << "";
        QTest::newRow("restarts after a partial match") << 5 << QByteArray("KV2KV2V1.07") << "KV2V1.07";
    }
    void findTag()
    {
        QFETCH(int, address);
        QFETCH(QByteArray, stored);
        QFETCH(QString, found);
        auto image = std::make_unique<HexImage>();
        std::copy(stored.cbegin(), stored.cend(), image->Image.begin() + address);
        QString text = QStringLiteral("stale");
        QCOMPARE(FindTag(image->Image, u"KV2V#.##", text), !found.isEmpty());
        QCOMPARE(text, found);
    }

    void displayPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shown");
        const QString forty = QStringLiteral("/home/operator/firmware/kv2/firmware.hex");
        QTest::newRow("40 characters whole") << forty << forty;
        QTest::newRow("41 characters shortened") << "/" + forty << "/.../firmware.hex";
    }
    void displayPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, shown);
        QCOMPARE(DisplayPath(path), shown);
    }
};

QTEST_APPLESS_MAIN(TestHexLoader)
#include "test_hexloader.moc"
