// The template digest and the QR text with its signature, against values
// worked out independently with Python's hashlib and hmac.
#include "records/reportinfo.h"
#include "reports/print/sheetintegrity.h"
#include "tests/support/testmain.h"

#include <QCoreApplication>

namespace {

const QByteArray SALT =
    "4e7a1c9d0b3f6e2a8d5c1f7b3a9e0d6c2f8b4a1e7c0d5b9f1e6a3c8d5b2f9e0a9d4c7a1f6e0b3d8c0a7f2e5b8c1d6a3e3f9b0c7d5a2e8f1c7d6b4e0a1c8f3a9e";
const QByteArray KEY = "6d0f3a8c5e2b71d94f0a6c3e8b5d27f1a9";

ReportInfo candidate(int score, bool resultValid, const QString &result = "DAT")
{
    ReportInfo info;
    info.setName(QString::fromUtf8("Trần Văn Bình"));
    info.setDateOfBirth("01.02.1990");
    info.setId("079090001234");
    info.setPlace(QString::fromUtf8("Trung tâm sát hạch Số 1"));
    info.setCourse("K05");
    info.setContestDate("10.12.2026");
    info.setRank("B2");
    info.setOrderNumber("17");
    info.setScore(score);
    info.setResult(result);
    info.setResultValid(resultValid);
    info.setAttemptCount(2);
    return info;
}

const char *FIXED_LINES = "Trần Văn Bình\n01.02.1990\n079090001234\nTrung tâm sát hạch Số 1\nKhóa thi: K05\n"
                          "Ngày sát hạch: 10.12.2026\nHạng: B2\nSBD: 17\n";

} // namespace

class TestSheetIntegrity : public QObject
{
    Q_OBJECT

private slots:
    void templateDigest_data()
    {
        QTest::addColumn<QByteArray>("salt");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("digest");
        QTest::newRow("empty template: the salt alone") << SALT << QByteArray() << "8f600308864816a9b59824cfd5cbe276";
        QTest::newRow("salt then the bytes") << SALT << QByteArray("abc") << "51b2474f2ea1d55cc20dd23acdba4c92";
        QTest::newRow("a hex-decoded salt differs")
            << QByteArray::fromHex(SALT) << QByteArray("abc") << "acdf82141424e4307a8ad06068ff40ab";
    }
    void templateDigest()
    {
        QFETCH(QByteArray, salt);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, digest);
        QCOMPARE(::templateDigest(salt, bytes), digest);
    }

    void qrText_data()
    {
        QTest::addColumn<int>("score");
        QTest::addColumn<bool>("resultValid");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("tail");
        QTest::newRow("valid result: score and result lines")
            << 42 << true << "DAT" << QString::fromUtf8("Điểm: 42\nKết quả: Đạt\nSố lượt thi: 2\n");
        QTest::newRow("failed result") << 20 << true << "KHONG DAT"
                                       << QString::fromUtf8("Điểm: 20\nKết quả: Không đạt\nSố lượt thi: 2\n");
        QTest::newRow("unknown result code: empty label")
            << 20 << true << "dat" << QString::fromUtf8("Điểm: 20\nKết quả: \nSố lượt thi: 2\n");
        QTest::newRow("not examined, whatever the checksum")
            << -1 << true << "" << QString::fromUtf8("Thí sinh chưa thi\nSố lượt thi: 2\n");
        QTest::newRow("not examined, checksum failed")
            << -1 << false << "" << QString::fromUtf8("Thí sinh chưa thi\nSố lượt thi: 2\n");
        QTest::newRow("checksum failed") << 42 << false << "DAT"
                                         << QString::fromUtf8("Kết quả thi đã bị thay đổi\nSố lượt thi: 2\n");
    }
    void qrText()
    {
        QFETCH(int, score);
        QFETCH(bool, resultValid);
        QFETCH(QString, result);
        QFETCH(QString, tail);
        QCOMPARE(resultSheetQrText(candidate(score, resultValid, result)), QString::fromUtf8(FIXED_LINES) + tail);
    }

    void signature_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QString>("signature");
        QTest::newRow("Vietnamese text, over its local 8-bit (UTF-8) bytes")
            << QString::fromUtf8(FIXED_LINES) + QString::fromUtf8("Điểm: 42\nKết quả: Đạt\nSố lượt thi: 2\n")
            << KEY << "bpkBUuBZuWFZ2z97W47cEzSH8tVgvoApuAeFxmK4E0Q=";
        QTest::newRow("ascii") << "abc\n" << KEY << "3lrndk7T46YWT4nIgHLNB7lWBOEJgzwCdEuGM8HcTFI=";
        QTest::newRow("empty text") << "" << KEY << "hWEzOQA/Ug6jOLozdxkSktNT19hAzJafwflRjS69wzw=";
        QTest::newRow("a hex-decoded key differs")
            << "abc\n" << QByteArray::fromHex(KEY) << "JObkSFENFAaHc5yZgLTFOh46K5hlSdwBp9b+d5rDk7k=";
    }
    void signature()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, key);
        QFETCH(QString, signature);
        // The signature line is appended, not signed, and ends the text.
        QCOMPARE(signQrText(text, key), text + "Signature: " + signature + "\n");
    }

    void lineCounts()
    {
        QCOMPARE(signQrText(resultSheetQrText(candidate(-1, false)), KEY).count('\n'), 11);
        QCOMPARE(signQrText(resultSheetQrText(candidate(42, true)), KEY).count('\n'), 12);
    }
};

ORV_TEST_MAIN_CORE(TestSheetIntegrity)
#include "tst_sheetintegrity.moc"
