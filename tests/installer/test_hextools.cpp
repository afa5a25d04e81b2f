// HEX files written by common tools from binary images load back into the
// same image. The tools are run at test time; a missing one skips its rows.

#include "installer/hexerrors.h"
#include "installer/hexloader.h"
#include "tests/testfiles.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <numeric>

using namespace Installer;

namespace {

// Bytes of the binary image placed at an address.
struct Piece
{
    int address;
    QByteArray bytes;
};

QByteArray randomBytes(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (char &b : bytes)
        b = char(generator.bounded(256));
    return bytes;
}

QByteArray tagged(int size, int tagAt, quint32 seed)
{
    return randomBytes(size, seed).replace(tagAt, 8, "KV2V3.41");
}

} // namespace

Q_DECLARE_METATYPE(Piece)

class TestHexTools : public QObject
{
    Q_OBJECT

private slots:
    // args name the piece files {0}, {1}, … and the HEX file {out}. error is
    // "" for an accepted file, "check" for one without tag, else the reason
    // of the EHexLoadError.
    void loadsWhatToolsWrite_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QList<Piece>>("pieces");
        QTest::addColumn<QString>("error");

        const QStringList objcopy{"-I", "binary", "-O", "ihex", "{0}", "{out}"};
        const QList<Piece> small{{0, tagged(300, 40, 1)}};
        QTest::newRow("objcopy, 16-byte records") << "objcopy" << objcopy << small << "";
        QTest::newRow("objcopy, no tag") << "objcopy" << objcopy << QList<Piece>{{0, randomBytes(300, 2)}} << "check";
        QTest::newRow("objcopy, largest image") << "objcopy" << objcopy
                                                << QList<Piece>{{0, tagged(0x7FFF, 0x7FF7, 3)}} << "";
        QTest::newRow("objcopy, one byte too many") << "objcopy" << objcopy
                                                    << QList<Piece>{{0, tagged(0x8000, 1, 4)}} << "HEX file too large";
        QTest::newRow("objcopy, leading gap")
            << "objcopy" << QStringList{"-I", "binary", "-O", "ihex", "--change-section-address", ".data=0x1000", "{0}", "{out}"}
            << QList<Piece>{{0x1000, tagged(100, 1, 5)}} << "";
        QTest::newRow("objcopy, start address record refused")
            << "objcopy" << QStringList{"-I", "binary", "-O", "ihex", "--change-addresses", "0x1000", "{0}", "{out}"}
            << QList<Piece>{{0x1000, tagged(100, 1, 6)}} << "Record type not supported";

        const QStringList srecPieces{"{0}", "-binary", "{1}", "-binary", "-offset", "0x6000"};
        const QList<Piece> gapped{{0, tagged(500, 10, 7)}, {0x6000, randomBytes(0x1FFF, 8)}};
        QTest::newRow("srec_cat, 32-byte records with a gap")
            << "srec_cat" << srecPieces + QStringList{"-o", "{out}", "-intel", "--address-length=2"} << gapped << "";
        QTest::newRow("srec_cat, 16-byte records with a gap")
            << "srec_cat"
            << srecPieces + QStringList{"-o", "{out}", "-intel", "--address-length=2", "-Output_Block_Size=16"}
            << gapped << "";
        QTest::newRow("srec_cat, 32-bit addresses refused")
            << "srec_cat" << srecPieces + QStringList{"-o", "{out}", "-intel"} << gapped << "Record type not supported";
    }
    void loadsWhatToolsWrite()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, args);
        QFETCH(QList<Piece>, pieces);
        QFETCH(QString, error);
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            QSKIP(qPrintable(tool + " is not installed"));

        QTemporaryDir dir;
        const QString hexPath = dir.filePath(QStringLiteral("out.hex"));
        auto expected = std::make_unique<HexImage>();
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            const QString binPath = dir.filePath(QString::number(i) + QStringLiteral(".bin"));
            QVERIFY(TestFiles::write(binPath, pieces[i].bytes));
            args.replaceInStrings(QStringLiteral("{%1}").arg(i), binPath);
            std::copy(pieces[i].bytes.cbegin(), pieces[i].bytes.cend(), expected->Image.begin() + pieces[i].address);
            expected->ImageLast = quint32(pieces[i].address + pieces[i].bytes.size() - 1);
        }
        args.replaceInStrings(QStringLiteral("{out}"), hexPath);
        QProcess process;
        process.start(program, args);
        QVERIFY(process.waitForFinished());
        QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());

        auto image = std::make_unique<HexImage>();
        try {
            LoadHexFile(hexPath, *image);
            QCOMPARE(QString(), error);
            QCOMPARE(image->VersionText, QStringLiteral("Karvel-2 V3.41"));
        } catch (const EHexCheckError &) {
            QCOMPARE(QStringLiteral("check"), error);
        } catch (const EHexLoadError &e) {
            QCOMPARE(QString::fromLatin1(e.what()), error);
            return;
        }
        QCOMPARE(image->ImageLast, expected->ImageLast);
        QVERIFY(image->Image == expected->Image);
        const auto end = expected->Image.cbegin() + expected->ImageLast + 1;
        QCOMPARE(image->ImageSum, quint16(std::accumulate(expected->Image.cbegin(), end, 0u)));
    }
};

QTEST_APPLESS_MAIN(TestHexTools)
#include "test_hextools.moc"
