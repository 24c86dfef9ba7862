// The shared values whose bytes other programs, stored data or the terminals
// depend on.

#include "common/checksumkeys.h"
#include "common/constants.h"
#include "common/intlists.h"
#include "common/jp2signature.h"
#include "tests/support/testmain.h"

#include <QFile>
#include <QRegularExpression>

class TestConstants : public QObject
{
    Q_OBJECT

private slots:
    void checksumKeys_data();
    void checksumKeys();
    void licenceClasses();
    void resultCodesAndLabels();
    void lookupLists();
    void jp2Signature();
    void configurationFiles_data();
    void configurationFiles();
    void textLengths_data();
    void textLengths();
    void vietnameseTextsAreNfc();
    void hexKeys();
    void resourceIcons();
};

void TestConstants::checksumKeys_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("unsalted") << RESULT_CHECKSUM_KEY
                              << QByteArray("3f9a0c7e51d2b84f6a1e09c3d7b52e8f40a6c1d");
    QTest::newRow("salted suffix") << RESULT_CHECKSUM_KEY_SUFFIX
                                   << QByteArray("7c2e5b9d04a1f63e8b0d5c7a2f9e41b6d3a08e5");
}

void TestConstants::checksumKeys()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, expected);
    // The key material is the 39 ASCII characters themselves: a key decoded
    // from hexadecimal would invalidate every stored checksum.
    QCOMPARE(key.size(), 39);
    QCOMPARE(key, expected);
    QVERIFY(QRegularExpression("^[0-9a-f]{39}$").match(QString::fromLatin1(key)).hasMatch());
    QVERIFY(!key.contains('\0'));
}

void TestConstants::licenceClasses()
{
    // The index is the class number the terminals know.
    const QStringList expected = {"B11", "B1", "B2", "C", "D", "E", "FB2", "FC", "FD", "FE"};
    QCOMPARE(RANK_LIST, expected);
    QCOMPARE(RANK_INDEX_MAP.size(), RANK_LIST.size());
    for (int i = 0; i < RANK_LIST.size(); ++i)
        QCOMPARE(RANK_INDEX_MAP.value(RANK_LIST.at(i), -1), i);
    QCOMPARE(RANK_INDEX_MAP.firstKey(), QString("B1"));
    QCOMPARE(RANK_PASS_MARK_LIST, QList<int>({35, 35, 35, 35, 35, 35, 35, 35, 35, 35}));
    QCOMPARE(INT_LIST_A, QList<int>({2, 1, 2, 1, 2, 2}));
}

void TestConstants::resultCodesAndLabels()
{
    QCOMPARE(RESULT_PASS, QString("DAT"));
    QCOMPARE(RESULT_FAIL, QString("KHONG DAT"));
    QCOMPARE(RESULT_PASS_LABEL, QString::fromUtf8("\xc4\x90\xe1\xba\xa1t"));
    QCOMPARE(RESULT_FAIL_LABEL, QString::fromUtf8("Kh\xc3\xb4ng \xc4\x91\xe1\xba\xa1t"));
    QCOMPARE(PASS_RESULT_LIST, QStringList({"DAT", QString::fromUtf8("\xc4\x90\xe1\xba\xa0T")}));
    QCOMPARE(FAIL_RESULT_LIST,
             QStringList({"KHONG DAT", QString::fromUtf8("KH\xc3\x94NG \xc4\x90\xe1\xba\xa0T")}));
    QCOMPARE(RESULT_CODE_LIST, QStringList({"", "DAT", "KHONG DAT", "VANG"}));
    QVERIFY(RESULT_CODE_LIST.first().isEmpty());
}

void TestConstants::lookupLists()
{
    // The filter compares against these very elements.
    QCOMPARE(RESULT_FILTER_LIST.size(), 5);
    QCOMPARE(RESULT_FILTER_LIST.at(1), RESULT_PASS_LABEL);
    QCOMPARE(RESULT_FILTER_LIST.at(2), RESULT_FAIL_LABEL);
    QCOMPARE(RESULT_FILTER_LIST.at(4), COURSE_STATE_LIST.at(1));
    QCOMPARE(COURSE_STATE_LIST.size(), 3);
    QCOMPARE(GENDER_LIST, QStringList({"M", "F"}));
    QCOMPARE(NO_SIMULATION_CONTENT_LIST, QStringList({"5", "6", "7", "8"}));
    QCOMPARE(INVALID_ID, QString("-1"));
    QCOMPARE(AUTHORITY_NAME_LIST.size(), 1);
    QCOMPARE(EXAM_MODE_LIST.size(), 3);
    QCOMPARE(STUDY_MODE_LIST.size(), 2);
}

void TestConstants::jp2Signature()
{
    QCOMPARE(JP2_SIGNATURE.size(), 12);
    QCOMPARE(JP2_SIGNATURE, QByteArray("\x00\x00\x00\x0c" "jP  " "\x0d\x0a\x87\x0a", 12));
}

void TestConstants::configurationFiles_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("main connection file") << MYSQL_CONFIG_PATH << "./config/connection_mysql.csv";
    QTest::newRow("aux connection file") << AUX_MYSQL_CONFIG_PATH << "./config/aux_connection_mysql.csv";
    QTest::newRow("tcp file") << TCP_CONFIG_PATH << "./config/connection_tcp.csv";
    QTest::newRow("run mode file") << RUN_MODE_CONFIG_PATH << "./config/run_mode.csv";
    QTest::newRow("avatar file") << AVATAR_CONFIG_PATH << "./config/avatar_config.csv";
    QTest::newRow("exam content file") << NDSH_CONFIG_PATH << "./config/NDSH.json";
    QTest::newRow("video folder") << VIDEO_FOLDER << "./videos";
    QTest::newRow("pdf folder") << PDF_FOLDER << "./pdf";
    QTest::newRow("sqlite file") << SQLITE_DB_NAME << "orv.db";
    QTest::newRow("main connection") << MYSQL_CONNECTION_NAME << "contest";
    QTest::newRow("aux connection") << AUX_CONNECTION_NAME << "aux_db";
    QTest::newRow("sqlite connection") << SQLITE_CONNECTION_NAME << "orv-sqlite";
    QTest::newRow("host key") << HOST_NAME << "HOST_NAME";
    QTest::newRow("port key") << PORT_NUMBER << "PORT_NUMBER";
    QTest::newRow("db key") << MYSQL_DB_NAME << "MYSQL_DB_NAME";
    QTest::newRow("user key") << MYSQL_USERNAME << "MYSQL_USERNAME";
    QTest::newRow("password key") << MYSQL_PASS << "MYSQL_PASS";
    QTest::newRow("auto print key") << AUTO_PRINT << "AUTO_PRINT";
    QTest::newRow("refresh key") << AUTO_UPDATE_RESULT_OF_FRIEND_DB << "AUTO_UPDATE_RESULT_OF_FRIEND_DB";
    QTest::newRow("theory key") << CHECK_PASSING_THEORY << "CHECK_PASSING_THEORY";
    QTest::newRow("avatar key") << IMPORT_AVATAR_FOLDER_ON << "IMPORT_AVATAR_FOLDER_ON";
    QTest::newRow("th prefix") << TH_PREFIX << "TH ";
}

void TestConstants::configurationFiles()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(value, expected);
    // Folders end without "/": their readers add it.
    QVERIFY(!value.endsWith('/'));
}

void TestConstants::textLengths_data()
{
    // Characters as QString counts them, and bytes of the UTF-8 form: a text
    // built as Latin-1, or decomposed, gives other numbers.
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("characters");
    QTest::addColumn<int>("utf8Bytes");
    QTest::newRow("FORGOT_PASSWORD_LINK") << FORGOT_PASSWORD_LINK << 37 << 42;
    QTest::newRow("MSG_WRONG_ORDER_NUMBER") << MSG_WRONG_ORDER_NUMBER << 22 << 28;
    QTest::newRow("MSG_STUDENT_EXAMINED") << MSG_STUDENT_EXAMINED << 15 << 18;
    QTest::newRow("MSG_STUDENT_IN_EXAM") << MSG_STUDENT_IN_EXAM << 17 << 19;
    QTest::newRow("MSG_NO_SIMULATION_TEST") << MSG_NO_SIMULATION_TEST << 32 << 39;
    QTest::newRow("MSG_REVIEW_NOT_SUPPORTED") << MSG_REVIEW_NOT_SUPPORTED << 29 << 37;
    QTest::newRow("MSG_ERROR_TRY_AGAIN") << MSG_ERROR_TRY_AGAIN << 27 << 35;
    QTest::newRow("MSG_RESULT_CHANGED") << MSG_RESULT_CHANGED << 26 << 37;
    QTest::newRow("MSG_STUDENT_NOT_EXAMINED") << MSG_STUDENT_NOT_EXAMINED << 17 << 19;
    QTest::newRow("MSG_THEORY_NOT_PASSED") << MSG_THEORY_NOT_PASSED << 39 << 50;
    QTest::newRow("MSG_PLEASE_WAIT") << MSG_PLEASE_WAIT << 22 << 27;
    QTest::newRow("MSG_LOADING_EXAM") << MSG_LOADING_EXAM << 16 << 20;
    QTest::newRow("MSG_LOADING_LESSON") << MSG_LOADING_LESSON << 16 << 22;
    QTest::newRow("MSG_PROVINCE_IN_USE") << MSG_PROVINCE_IN_USE << 27 << 41;
    QTest::newRow("MSG_SQL_ERROR") << MSG_SQL_ERROR << 17 << 23;
    QTest::newRow("MSG_UNIT_IN_USE") << MSG_UNIT_IN_USE << 31 << 46;
    QTest::newRow("MSG_COURSE_IN_EXAM") << MSG_COURSE_IN_EXAM << 17 << 21;
}

void TestConstants::textLengths()
{
    QFETCH(QString, text);
    QFETCH(int, characters);
    QFETCH(int, utf8Bytes);
    QCOMPARE(text.size(), characters);
    QCOMPARE(text.toUtf8().size(), utf8Bytes);
}

void TestConstants::vietnameseTextsAreNfc()
{
    // Readers compare code units, so a decomposed letter would never match.
    QStringList texts = {RESULT_PASS_LABEL,        RESULT_FAIL_LABEL,      LEGAL_NOTICE,
                         FORGOT_PASSWORD_LINK,     MSG_WRONG_ORDER_NUMBER, MSG_STUDENT_EXAMINED,
                         MSG_STUDENT_IN_EXAM,      MSG_NO_SIMULATION_TEST, MSG_REVIEW_NOT_SUPPORTED,
                         MSG_ERROR_TRY_AGAIN,      MSG_RESULT_CHANGED,     MSG_STUDENT_NOT_EXAMINED,
                         MSG_THEORY_NOT_PASSED,    MSG_PLEASE_WAIT,        MSG_LOADING_EXAM,
                         MSG_LOADING_LESSON,       MSG_PROVINCE_IN_USE,    MSG_SQL_ERROR,
                         MSG_UNIT_IN_USE,          MSG_COURSE_IN_EXAM};
    texts << EXAM_MODE_LIST << STUDY_MODE_LIST << PASS_RESULT_LIST << FAIL_RESULT_LIST
          << COURSE_STATE_LIST << RESULT_FILTER_LIST;
    for (const QString &text : qAsConst(texts))
        QCOMPARE(text, text.normalized(QString::NormalizationForm_C));
    // "Đ" is U+0110, "ạ" U+1EA1.
    QCOMPARE(RESULT_PASS_LABEL.at(0).unicode(), ushort(0x0110));
    QCOMPARE(RESULT_PASS_LABEL.at(1).unicode(), ushort(0x1EA1));
}

void TestConstants::hexKeys()
{
    QCOMPARE(HEADER_KEY_BYTES.size(), 16);
    QCOMPARE(HEADER_KEY_BYTES.toHex(), QByteArray("c8f30a6d1e5b9274a0d6e3c1b87f5a29"));
    QCOMPARE(HEADER_KEY_TEXT.size(), 38);
    QVERIFY(QRegularExpression("^[0-9a-f]{38}$").match(HEADER_KEY_TEXT).hasMatch());
}

void TestConstants::resourceIcons()
{
    QVERIFY(QFile::exists(USER_ICON_PATH));
    QVERIFY(QFile::exists(PASSWORD_ICON_PATH));
    QVERIFY(!QFile::exists(FLAG_ICON_PATH));
    QVERIFY(!QFile::exists(ADMINISTRATOR_ICON_PATH));
}

ORV_TEST_MAIN_CORE(TestConstants)
#include "tst_constants.moc"
