#include "util/karvutils.h"
#include "tests/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

class TestKarvUtils : public QObject
{
    Q_OBJECT

private slots:
    void shortVersion_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("expected");
        QTest::newRow("release") << "2.1.6.0" << "2.16";
        QTest::newRow("zero build") << "2.1.0.0" << "2.10";
        QTest::newRow("two-digit build") << "3.0.12.1" << "3.012";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("last character never appended") << "2.1.6" << "2.10";
        QTest::newRow("no point: three characters get a zero") << "216" << "2160";
    }
    void shortVersion()
    {
        QFETCH(QString, version);
        QFETCH(QString, expected);
        QCOMPARE(KarvUtils::ShortVersion(version), expected);
    }

    void compiledInRecordGivesProjectVersion()
    {
        QCOMPARE(KarvUtils::FileVersion(), QStringLiteral("2.1.6.0"));
    }

    void brokenRecordsGiveEmptyText_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("no translation") << QByteArray("\\StringFileInfo\\040704E4\\FileVersion=1.0.0.0\n");
        QTest::newRow("translation not a number") << QByteArray("\\VarFileInfo\\Translation=xyz\n");
        QTest::newRow("other language") << QByteArray(
            "\\VarFileInfo\\Translation=0x04B00409\n\\StringFileInfo\\040704E4\\FileVersion=1.0.0.0\n");
    }
    void brokenRecordsGiveEmptyText()
    {
        QFETCH(QByteArray, record);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("record"));
        QVERIFY(TestFiles::write(path, record));
        QCOMPARE(KarvUtils::FileVersion(path), QString());
    }

    void missingRecordGivesEmptyText()
    {
        QCOMPARE(KarvUtils::FileVersion(QStringLiteral(":/no/such/record")), QString());
    }
};

QTEST_GUILESS_MAIN(TestKarvUtils)
#include "test_karvutils.moc"
