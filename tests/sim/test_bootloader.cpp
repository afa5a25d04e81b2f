// The unit's boot loader on its own: requests in, replies out.

#include "sim/bootloader.h"

#include <QTest>

using namespace karvsim;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(karvsim::BootFaults)

namespace {

const std::array<std::uint8_t, 2> kKarvel{'K', 'V'};

BootLoader entered(std::size_t pageSize = 256)
{
    BootLoader loader(kKarvel, pageSize);
    loader.enter();
    return loader;
}

// Feeds `bytes` and returns the replies, one entry per finished request.
QList<QByteArray> feed(BootLoader &loader, const QByteArray &bytes)
{
    QList<QByteArray> replies;
    for (const char byte : bytes) {
        if (const auto answer = loader.push(std::uint8_t(byte)))
            replies << QByteArray(reinterpret_cast<const char *>(answer->reply.data()),
                                  qsizetype(answer->reply.size()));
    }
    return replies;
}

QByteArray joined(const QList<QByteArray> &replies)
{
    return replies.join();
}

QByteArray word(std::uint16_t address) // 'A' with a word address
{
    return QByteArray("A") + char(address >> 8) + char(address & 0xFF);
}

QByteArray flashBytes(const BootLoader &loader, std::size_t at, std::size_t count)
{
    return QByteArray(reinterpret_cast<const char *>(loader.flash().data() + at), qsizetype(count));
}

} // namespace

class TestBootLoader : public QObject
{
    Q_OBJECT

private slots:
    void answersEachRequest_data()
    {
        QTest::addColumn<QByteArray>("requests");
        QTest::addColumn<QByteArray>("replies");
        QTest::newRow("device type") << QByteArray("a") << QByteArray("KV");
        QTest::newRow("page size") << QByteArray("p") << QByteArray("256\r");
        QTest::newRow("address, erase, page write, leave")
            << word(0x1234) + "emx" << QByteArray("\r\r\r\r");
        QTest::newRow("bytes that start no request") << QByteArray("\x01\xf2;nW\x72\x00p", 8)
                                                     << QByteArray("256\r");
        QTest::newRow("erased word") << word(0) + "R" << QByteArray("\r\xff\xff");
        QTest::newRow("boot area, high byte first") << word(0x7C00) + "RR" << QByteArray("\rLHMX");
        QTest::newRow("stored, written and read back")
            << word(0) + "C\x12\x34" "C\x56\x78" + word(0) + "m" + word(0) + "RR"
            << QByteArray("\r\r\r\r\r\r\x34\x12\x78\x56");
        // Flash writes clear bits only: what was written stays until an erase.
        const QByteArray twice = word(0) + "C\x0f\xf0" + word(0) + "m";
        const QByteArray second = word(0) + "C\xf0\x0f" + word(0) + "m" + word(0) + "R";
        QTest::newRow("written over without erase: old AND new")
            << twice + second << QByteArray(9, '\r') + QByteArray(2, '\0');
        QTest::newRow("erased between the writes") << twice + "e" + second
                                                   << QByteArray(10, '\r') + "\x0f\xf0";
        QTest::newRow("write into the boot area refused")
            << word(0x7C00) + QByteArray("C\0\0", 3) + word(0x7C00) + "m" + word(0x7C00) + "R"
            << QByteArray("\r\r\r\r\rLH");
        QTest::newRow("address wraps past the flash") << word(0xFFFF) + "RR"
                                                      << QByteArray("\rTO\xff\xff");
    }
    void answersEachRequest()
    {
        QFETCH(QByteArray, requests);
        QFETCH(QByteArray, replies);
        BootLoader loader = entered();
        QCOMPARE(joined(feed(loader, requests)), replies);
    }

    void identifiesItselfInOneLine()
    {
        BootLoader loader = entered();
        const QByteArray line = joined(feed(loader, "S"));
        QVERIFY(line.contains("HLXMBOOT"));
        QCOMPARE(line.indexOf('\r'), line.size() - 1);
    }

    // Only words stored since the last 'm' are written, into the page that holds
    // the address 'A' set last, at their place within the page.
    void pageBufferWritesOnlyStoredWords()
    {
        BootLoader loader = entered(8); // four words a page
        feed(loader, word(4) + "C\x11\x11" + word(4) + "m");
        feed(loader, word(1) + "C\x22\x22" + word(7) + "m"); // offset 1 of the page at word 4
        feed(loader, word(8) + "m");                         // the buffer was emptied
        QCOMPARE(flashBytes(loader, 8, 10), QByteArray("\x11\x11\x22\x22\xff\xff\xff\xff\xff\xff"));
        QCOMPARE(flashBytes(loader, 16, 8), QByteArray(8, '\xff'));

        feed(loader, "e");
        QCOMPARE(flashBytes(loader, 8, 4), QByteArray(4, '\xff'));
        QCOMPARE(flashBytes(loader, kBootLoaderStart, 8), QByteArray("HLXMBOOT"));
    }

    void eepromTakesByteAddresses()
    {
        BootLoader loader = entered();
        QCOMPARE(joined(feed(loader, word(0) + QByteArray("D\0D\0D\x07", 6))), QByteArray("\r\r\r\r"));
        feed(loader, word(0x0FFF) + "D\x01" "D\x02"); // wraps within the 4 KiB
        const auto &eeprom = loader.eeprom();
        QCOMPARE(eeprom.size(), kEepromSize);
        QCOMPARE(QList<int>({eeprom[0], eeprom[1], eeprom[2], eeprom[3], eeprom[0xFFF]}),
                 QList<int>({2, 0, 7, 0xFF, 1}));

        const auto &log = loader.requests();
        QCOMPARE(log.size(), 7u);
        QCOMPARE(log[2].letter, 'D');
        QCOMPARE(log[2].argumentCount, 1u);
        QCOMPARE(log[2].address, 1);
        QCOMPARE(log[4].arguments, (std::array<std::uint8_t, 2>{0x0F, 0xFF}));
    }

    void lineGarbageDropsAPartialRequest()
    {
        BootLoader loader = entered();
        feed(loader, "A\x01");
        loader.resetParser();
        QCOMPARE(feed(loader, "a"), QList<QByteArray>{"KV"});
    }

    void leavesOnX()
    {
        BootLoader loader = entered();
        feed(loader, "S");
        QVERIFY(loader.active());
        feed(loader, "x");
        QVERIFY(!loader.active());
    }

    void faultsSpoilTheirRequest_data()
    {
        QTest::addColumn<BootFaults>("faults");
        QTest::addColumn<QList<QByteArray>>("replies"); // of "a", "p", "R" at word 0
        QTest::addColumn<int>("lateMs");                // of the reply to "p"
        const auto replies = [](const QByteArray &pageSize, const QByteArray &word) {
            return QList<QByteArray>{"KV", pageSize, word};
        };
        const QByteArray erased("\xff\xff");
        BootFaults lost;
        lost.unansweredRequest = 2;
        QTest::newRow("second unanswered") << lost << replies("", erased) << 0;
        BootFaults late;
        late.lateRequest = 2;
        QTest::newRow("second late") << late << replies("256\r", erased) << 5100;
        late.lateBy = 300ms;
        QTest::newRow("second late by 300 ms") << late << replies("256\r", erased) << 300;
        BootFaults trailer;
        trailer.pageSizeTrailer = "JUNK\r";
        QTest::newRow("page size trailer") << trailer << replies("256\rJUNK\r", erased) << 0;
        BootFaults odd;
        odd.corruptedByte = 1;
        QTest::newRow("odd byte corrupt") << odd << replies("256\r", QByteArray("\0\xff", 2)) << 0;
        BootFaults even;
        even.corruptedByte = 0;
        QTest::newRow("even byte corrupt") << even << replies("256\r", QByteArray("\xff\0", 2)) << 0;
    }
    void faultsSpoilTheirRequest()
    {
        QFETCH(BootFaults, faults);
        QFETCH(QList<QByteArray>, replies);
        QFETCH(int, lateMs);
        BootLoader loader(kKarvel, 256);
        loader.setFaults(faults);
        for (int session = 0; session < 2; ++session) { // request numbers restart on entry
            loader.enter();
            QList<QByteArray> got;
            for (const char *request : {"a", "p", "R"}) {
                const auto answer = loader.push(std::uint8_t(*request));
                QVERIFY(answer);
                got << QByteArray(reinterpret_cast<const char *>(answer->reply.data()),
                                  qsizetype(answer->reply.size()));
                if (*request == 'p')
                    QCOMPARE(answer->delay, std::chrono::milliseconds(lateMs));
            }
            QCOMPARE(got, replies);
        }
    }

    void otherDeviceTypeAndPageSize()
    {
        BootLoader loader({0x62, 0x02}, 128);
        loader.enter();
        QCOMPARE(joined(feed(loader, "ap")), QByteArray("\x62\x02" "128\r"));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, BootLoader(kKarvel, 255));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, BootLoader(kKarvel, 0));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, BootLoader(kKarvel, 4098));
    }

    void bootEntryNeedsCodeAndChecksum_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<bool>("enters");
        QTest::newRow("unit 01") << QByteArray("01f23b6e19c457a272") << true;
        QTest::newRow("unit 7f") << QByteArray("7ff23b6e19c457a2f0") << true;
        QTest::newRow("wrong checksum") << QByteArray("01f23b6e19c457a273") << false;
        QTest::newRow("wrong code byte") << QByteArray("01f23b6e19c457a371") << false;
        QTest::newRow("other command") << QByteArray("01f33b6e19c457a273") << false;
    }
    void bootEntryNeedsCodeAndChecksum()
    {
        QFETCH(QByteArray, frame);
        QFETCH(bool, enters);
        const QByteArray raw = QByteArray::fromHex(frame);
        CommandFrame command;
        std::copy(raw.begin(), raw.end(), command.begin());
        QCOMPARE(isBootEntry(command), enters);
    }
};

QTEST_GUILESS_MAIN(TestBootLoader)
#include "test_bootloader.moc"
