// Names and codes made file names (cleaned, cut to 255 bytes of UTF-8 on a
// character boundary with the tail and, when cut, the code kept) and texts
// with their control characters shown as spaces.

#include "records/safetext.h"
#include "tests/support/testmain.h"

class TestSafeText : public QObject
{
    Q_OBJECT

private slots:
    void fileName_data();
    void fileName();
    void withoutControls_data();
    void withoutControls();
};

void TestSafeText::fileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<QString>("expected");

    const QString a250(250, QLatin1Char('a'));
    QTest::newRow("short, as it is") << "Khóa 12" << "K12" << "_7.pdf" << "Khóa 12_7.pdf";
    QTest::newRow("code as the name") << "K02/2026" << "" << "_BaoCaoTongHop.xlsx" << "K02_2026_BaoCaoTongHop.xlsx";
    QTest::newRow("reserved and control") << "K03:*?\"<>|&'\x01" << "" << ".xml" << "K03_______&'_.xml";
    QTest::newRow("255 bytes fit") << a250 << "K1" << "_.pdf" << a250 + "_.pdf";
    QTest::newRow("256 bytes: cut, code kept")
        << a250 + "b" << "K/1" << "_.pdf" << QString(246, QLatin1Char('a')) + "_K_1_.pdf";
    QTest::newRow("no code: cut only") << a250 + "b" << "" << "_.pdf" << a250 + "_.pdf";
    // "ế" written as e, a circumflex and an acute (5 bytes): never split.
    const QString decomposed = QString::fromUtf8("e\xcc\x82\xcc\x81");
    QTest::newRow("letter with its marks") << QString(243, QLatin1Char('a')) + decomposed + "zzz" << "K1"
                                           << "_1.pdf" << QString(243, QLatin1Char('a')) + "_K1_1.pdf";
    QTest::newRow("letter outside the BMP")
        << QString(244, QLatin1Char('a')) + QString::fromUtf8("\xf0\x9f\x9a\x97") + "zzz" << "K1" << "_1.pdf"
        << QString(244, QLatin1Char('a')) + "_K1_1.pdf";
    // A code too long itself: cut too, the tail whole.
    QTest::newRow("long code") << a250 + "b" << QString(300, QLatin1Char('c'))
                               << "_1.pdf" << "_" + QString(248, QLatin1Char('c')) + "_1.pdf";
}

void TestSafeText::fileName()
{
    QFETCH(QString, name);
    QFETCH(QString, code);
    QFETCH(QString, tail);
    QFETCH(QString, expected);
    const QString file = SafeText::fileName(name, code, tail);
    QCOMPARE(file, expected);
    QVERIFY(file.toUtf8().size() <= SafeText::MAX_FILE_NAME_BYTES);
}

void TestSafeText::withoutControls_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "Nguyễn Văn A" << "Nguyễn Văn A";
    QTest::newRow("U+0001") << QString("Nguyễn\x01Văn") << "Nguyễn Văn";
    QTest::newRow("line breaks and tab") << "A\nB\r\nC\tD" << "A B  C D";
    QTest::newRow("U+0000 and U+001F") << QString("A") + QChar(0) + QChar(0x1f) + "B" << "A  B";
    QTest::newRow("U+007F is no C0 control") << QString("A") + QChar(0x7f) << QString("A") + QChar(0x7f);
}

void TestSafeText::withoutControls()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(SafeText::withoutControls(text), expected);
    QCOMPARE(SafeText::hasControls(text), text != expected);
    QVERIFY(SafeText::withoutControls(QString()).isNull());
}

ORV_TEST_MAIN_CORE(TestSafeText)
#include "tst_safetext.moc"
