// The helpers behind result labels, licence-class numbers sent to terminals,
// course-state labels and examination time stamps.

#include "records/coursestatuslabels.h"
#include "records/utility.h"
#include "tests/support/testmain.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QThread>

#include <atomic>
#include <memory>

class TestUtility : public QObject
{
    Q_OBJECT

private slots:
    // Must run first: it needs the process's very first calls.
    void firstCallsFromTwoThreads();
    void resultLabel_data();
    void resultLabel();
    void indexOfLicenceClass_data();
    void indexOfLicenceClass();
    void courseStateLabel_data();
    void courseStateLabel();
    void currentDateTimeText();
    void logText_data();
    void logText();
};

void TestUtility::firstCallsFromTwoThreads()
{
    // Both threads are released together so their first calls meet; each
    // singleton must still be created once.
    std::atomic<bool> go{false};
    Utility *utility[2] = {nullptr, nullptr};
    CourseStatusLabels *labels[2] = {nullptr, nullptr};
    std::unique_ptr<QThread> threads[2];
    for (int i = 0; i < 2; ++i) {
        threads[i].reset(QThread::create([&go, &utility, &labels, i] {
            while (!go.load())
                ;
            utility[i] = Utility::getInstance();
            labels[i] = CourseStatusLabels::getInstance();
        }));
        threads[i]->start();
    }
    go.store(true);
    for (auto &thread : threads)
        QVERIFY(thread->wait(10000));

    QVERIFY(utility[0] != nullptr);
    QCOMPARE(utility[0], utility[1]);
    QCOMPARE(utility[0], Utility::getInstance());
    QVERIFY(labels[0] != nullptr);
    QCOMPARE(labels[0], labels[1]);
    QCOMPARE(labels[0], CourseStatusLabels::getInstance());
}

void TestUtility::resultLabel_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("label");
    QTest::newRow("pass") << "DAT" << "Đạt";
    QTest::newRow("fail") << "KHONG DAT" << "Không đạt";
    // Absent candidates show nothing in the result column.
    QTest::newRow("absent") << "VANG" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("null") << QString() << "";
    QTest::newRow("lower case") << "dat" << "";
    QTest::newRow("accented pass") << "ĐẠT" << "";
    QTest::newRow("trailing blank") << "DAT " << "";
}

void TestUtility::resultLabel()
{
    QFETCH(QString, code);
    QFETCH(QString, label);
    QCOMPARE(Utility::getInstance()->resultLabel(code), label);
}

void TestUtility::indexOfLicenceClass_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::newRow("exact") << "B2" << 2;
    QTest::newRow("lower case") << "b2" << 2;
    QTest::newRow("first") << "B11" << 0;
    // "B1" matches "B11" only in part: the whole class must match.
    QTest::newRow("B1 is not B11") << "B1" << 1;
    QTest::newRow("last") << "fe" << 9;
    QTest::newRow("star") << "B*" << 0;
    QTest::newRow("star alone") << "*" << 0;
    QTest::newRow("question mark") << "F?" << 7;
    QTest::newRow("two question marks") << "F??" << 6;
    QTest::newRow("set") << "[DE]" << 4;
    QTest::newRow("prefix only") << "B" << -1;
    QTest::newRow("trailing blank") << "B2 " << -1;
    QTest::newRow("unknown") << "A1" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestUtility::indexOfLicenceClass()
{
    QFETCH(QString, text);
    QFETCH(int, index);
    QCOMPARE(Utility::getInstance()->indexOfLicenceClass(text), index);
}

void TestUtility::courseStateLabel_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("label");
    QTest::newRow("1") << 1 << "Chưa thi";
    QTest::newRow("2") << 2 << "Đang thi";
    QTest::newRow("3") << 3 << "Đã thi";
    // A NULL state column reads 0.
    QTest::newRow("0") << 0 << "Chưa thi";
    QTest::newRow("4") << 4 << "Chưa thi";
    QTest::newRow("7") << 7 << "Chưa thi";
    QTest::newRow("-1") << -1 << "Chưa thi";
}

void TestUtility::courseStateLabel()
{
    QFETCH(int, state);
    QFETCH(QString, label);
    QCOMPARE(CourseStatusLabels::getInstance()->labelOf(state), label);
}

void TestUtility::currentDateTimeText()
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QString text = Utility::getInstance()->currentDateTimeText();
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    QCOMPARE(text.size(), 19);
    QVERIFY2(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d [0-2]\\d:[0-5]\\d:[0-5]\\d$").match(text).hasMatch(),
             qPrintable(text));
    // Reading it back proves a 24-hour clock and local time.
    const QDateTime parsed = QDateTime::fromString(text, "yyyy-MM-dd hh:mm:ss");
    QVERIFY(parsed.isValid());
    QVERIFY(parsed >= before.addMSecs(-before.time().msec()));
    QVERIFY(parsed <= after);
}

void TestUtility::logText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("logged");
    QTest::newRow("plain") << "C1" << "\"C1\"";
    QTest::newRow("Vietnamese kept") << "Khóa một" << "\"Khóa một\"";
    QTest::newRow("4-byte character kept") << QString::fromUtf8("7\xF0\x9F\x98\x80") << QString::fromUtf8("\"7\xF0\x9F\x98\x80\"");
    QTest::newRow("quote and backslash") << "a\"b\\c" << "\"a\\\"b\\\\c\"";
    QTest::newRow("line ends") << "13\r\n2026-01-01 forged" << "\"13\\r\\n2026-01-01 forged\"";
    QTest::newRow("tab, NUL and escape") << QString("a\tb") + QChar(0) + QChar(0x1B) << "\"a\\tb\\u0000\\u001b\"";
    QTest::newRow("next line and line separator") << QString("a") + QChar(0x85) + QChar(0x2028) << "\"a\\u0085\\u2028\"";
    QTest::newRow("lone surrogate") << QString("a") + QChar(0xD800) << "\"a\\ud800\"";
    QTest::newRow("long") << QString(65536, QChar('7'))
                          << "\"" + QString(Utility::LOG_TEXT_CHARS, QChar('7')) + "\"... (65536 characters)";
}

void TestUtility::logText()
{
    QFETCH(QString, text);
    QTEST(Utility::getInstance()->logText(text), "logged");
}

ORV_TEST_MAIN_CORE(TestUtility)
#include "tst_utility.moc"
