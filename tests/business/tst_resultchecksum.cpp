// The stored result checksum: known answers computed with an independent
// HMAC implementation, the cut-over, and tampering.

#include "server/business/resultchecksum.h"
#include "tests/support/testmain.h"

#include <QLocale>
#include <QScopeGuard>

namespace {

const QByteArray Salt = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");
const QString Unsalted = "0d5347855cc9338cc37b084fda5a980f658cb8d5982e7b312b041cf86d6180e2";
const QString Salted = "000102030405060708090a0b0c0d0e0f"
                       "97c900401f2c6b31e5ae2a800d33dfa82919c49099ac0113c776969c2aad6ebb";

ContestantResultInfo sample()
{
    ContestantResultInfo r;
    r.setSoCMT("012345678901");
    r.setHoTen(QString::fromUtf8("Nguyễn Văn A"));
    r.setNgaySinh("1990-05-17");
    r.setSoBaoDanh("7");
    r.setThoiGianBatDauThi("2024-03-05 hh:mm:ss");
    r.setThoiGianKetThucThi("2024-03-05 hh:mm:ss");
    r.setKetQuaMoPhong("DAT");
    r.setTraLoiMoPhong("1A2B3C");
    r.setDiemMoPhong("42");
    r.setChiTietThi("1");
    return r;
}

QDateTime at(const QString &text)
{
    return QDateTime::fromString(text, "dd/MM/yyyy hh:mm:ss");
}

} // namespace

class TestResultChecksum : public QObject
{
    Q_OBJECT

private slots:
    void knownAnswers_data();
    void knownAnswers();
    void verifyChoosesSchemeByStoredText_data();
    void verifyChoosesSchemeByStoredText();
    void tamperedFields_data();
    void tamperedFields();
    void saltIsRandom();
};

void TestResultChecksum::knownAnswers_data()
{
    QTest::addColumn<QDateTime>("storedAt");
    QTest::addColumn<QString>("expected");
    // The operator's desktop runs with the Vietnamese default locale: the
    // checksums must not change with it.
    QTest::addColumn<QString>("locale");
    for (const char *locale : {"C", "vi_VN"}) {
        QTest::addRow("at the cut-over: unsalted, %s", locale) << at("31/08/2022 23:59:59") << Unsalted << locale;
        QTest::addRow("long before: unsalted, %s", locale) << at("01/01/2020 08:00:00") << Unsalted << locale;
        QTest::addRow("a second after: salted, %s", locale) << at("01/09/2022 00:00:00") << Salted << locale;
        QTest::addRow("today: salted, %s", locale) << QDateTime::currentDateTime() << Salted << locale;
    }
}

void TestResultChecksum::knownAnswers()
{
    QFETCH(QDateTime, storedAt);
    QFETCH(QString, expected);
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    const auto restoreLocale = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
    QCOMPARE(ResultChecksum::make(sample(), storedAt, Salt), expected);
}

void TestResultChecksum::verifyChoosesSchemeByStoredText_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QDateTime>("examDate");
    QTest::addColumn<bool>("valid");
    const QDateTime before = at("31/08/2022 00:00:00");
    const QDateTime after = at("01/09/2022 00:00:00");
    QTest::newRow("salted, course after cut-over") << Salted << after << true;
    // A result stored after the cut-over for a course dated before it.
    QTest::newRow("salted, course before cut-over") << Salted << before << true;
    QTest::newRow("salted, course with no date") << Salted << QDateTime() << true;
    QTest::newRow("unsalted, course before cut-over") << Unsalted << before << true;
    QTest::newRow("unsalted, course after cut-over") << Unsalted << after << false;
    QTest::newRow("unsalted, course with no date") << Unsalted << QDateTime() << false;
    QTest::newRow("upper-case salted") << Salted.left(32) + Salted.mid(32).toUpper() << after << false;
    QTest::newRow("upper-case unsalted") << Unsalted.toUpper() << before << false;
    QTest::newRow("31 characters") << Salted.left(31) << after << false;
    QTest::newRow("salt alone") << Salted.left(32) << after << false;
    QTest::newRow("empty") << QString() << before << false;
    QTest::newRow("another salt")
        << "ff" + Salted.mid(2) << after << false;
}

void TestResultChecksum::verifyChoosesSchemeByStoredText()
{
    QFETCH(QString, stored);
    QFETCH(QDateTime, examDate);
    QFETCH(bool, valid);
    QCOMPARE(ResultChecksum::verify(stored, sample(), examDate), valid);
}

void TestResultChecksum::tamperedFields_data()
{
    // Each field changed by hand; the unsalted scheme never covered the score
    // and the number of stored results.
    QTest::addColumn<int>("field");
    QTest::addColumn<bool>("unsaltedStillValid");
    const char *names[] = {"SoCMT", "HoTen", "NgaySinh", "SoBaoDanh", "ThoiGianBatDauThi",
                           "ThoiGianKetThucThi", "KetQuaMoPhong", "TraLoiMoPhong", "DiemMoPhong",
                           "ChiTietThi"};
    for (int i = 0; i < 10; ++i)
        QTest::newRow(names[i]) << i << (i >= 8);
}

void TestResultChecksum::tamperedFields()
{
    QFETCH(int, field);
    QFETCH(bool, unsaltedStillValid);
    ContestantResultInfo r = sample();
    switch (field) {
    case 0: r.setSoCMT("012345678902"); break;
    case 1: r.setHoTen(QString::fromUtf8("Nguyễn Văn B")); break;
    case 2: r.setNgaySinh("1990-05-18"); break;
    case 3: r.setSoBaoDanh("8"); break;
    case 4: r.setThoiGianBatDauThi("2024-03-06 hh:mm:ss"); break;
    case 5: r.setThoiGianKetThucThi("2024-03-06 hh:mm:ss"); break;
    case 6: r.setKetQuaMoPhong("KHONG DAT"); break;
    case 7: r.setTraLoiMoPhong("1A2B3D"); break;
    case 8: r.setDiemMoPhong("50"); break;
    case 9: r.setChiTietThi("2"); break;
    }
    QVERIFY(!ResultChecksum::verify(Salted, r, at("01/09/2022 00:00:00")));
    QCOMPARE(ResultChecksum::verify(Unsalted, r, at("01/08/2022 00:00:00")), unsaltedStillValid);
}

void TestResultChecksum::saltIsRandom()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QString a = ResultChecksum::make(sample(), now);
    const QString b = ResultChecksum::make(sample(), now);
    QCOMPARE(a.size(), 96);
    QVERIFY(a.left(32) != b.left(32));
    QVERIFY(ResultChecksum::verify(a, sample(), now));
    QVERIFY(ResultChecksum::verify(b, sample(), now));
}

ORV_TEST_MAIN_CORE(TestResultChecksum)
#include "tst_resultchecksum.moc"
