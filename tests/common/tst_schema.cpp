// The shipped schema loads under the server's default strict mode and holds
// what the program's statements rely on.

#include "tests/support/testdb.h"
#include "tests/support/testmain.h"

#include <QSqlQuery>
#include <QSqlRecord>

class TestSchema : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void sixTablesInUtf8mb4();
    void accountColumnsByPosition();
    void bothDateFormsStoreOneDate();
    void strictModeRefusesEmptyDate();
    void entryDefaultsAreNull();
    void auxiliarySchemaLoads();

private:
    QSqlDatabase m_db;
};

void TestSchema::initTestCase()
{
    QString error;
    QVERIFY2(TestDb::recreateMain("tst_schema", &error), qPrintable(error));
    m_db = TestDb::open("tst_schema", "tst_schema");
    QVERIFY(m_db.isOpen());
}

void TestSchema::cleanupTestCase()
{
    m_db.close();
}

void TestSchema::sixTablesInUtf8mb4()
{
    QSqlQuery q(m_db);
    QVERIFY(q.exec("SELECT TABLE_NAME, TABLE_COLLATION FROM information_schema.TABLES "
                   "WHERE TABLE_SCHEMA = 'tst_schema' ORDER BY TABLE_NAME"));
    QStringList names;
    while (q.next()) {
        names << q.value(0).toString();
        QVERIFY2(q.value(1).toString().startsWith("utf8mb4"), qPrintable(q.value(0).toString()));
    }
    QCOMPARE(names, QStringList({"donvi", "khoathi", "khoathi_thisinh", "taikhoan", "thisinh", "tinh"}));
}

void TestSchema::accountColumnsByPosition()
{
    // The account read takes columns 1 to 4 by position.
    QVERIFY(TestDb::exec(m_db, "INSERT INTO taikhoan VALUES ('admin', 'Quản trị', 1, "
                               "'21232f297a57a5a743894a0e4a801fc3')"));
    QSqlQuery q(m_db);
    QVERIFY(q.exec("SELECT * FROM taikhoan WHERE IDTaiKhoan = 'admin'"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QString("admin"));
    QCOMPARE(q.value(2).toInt(), 1);
    QCOMPARE(q.value(3).toString(), QString("21232f297a57a5a743894a0e4a801fc3"));
}

void TestSchema::bothDateFormsStoreOneDate()
{
    // Dialogs write "yyyy-MM-dd", imports "yyyyMMdd"; both are one date.
    QSqlQuery q(m_db);
    QVERIFY(q.prepare("INSERT INTO khoathi (IDKhoaHoc, NgayThi) VALUES (:IDKhoaHoc, :NgayThi)"));
    q.bindValue(":IDKhoaHoc", "K1");
    q.bindValue(":NgayThi", "2024-03-05");
    QVERIFY(q.exec());
    q.bindValue(":IDKhoaHoc", "K2");
    q.bindValue(":NgayThi", "20240305");
    QVERIFY(q.exec());
    QCOMPARE(TestDb::count(m_db, "SELECT COUNT(DISTINCT NgayThi) FROM khoathi"), 1);
    QVERIFY(q.exec("SELECT NgayThi FROM khoathi WHERE IDKhoaHoc = 'K2'"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toDate(), QDate(2024, 3, 5));
}

void TestSchema::strictModeRefusesEmptyDate()
{
    // Production runs in strict mode, where an empty text bound to a date
    // fails the statement instead of storing a zero date; a lax test server
    // would hide exactly that.
    QSqlQuery q(m_db);
    QVERIFY(q.exec("SELECT @@SESSION.sql_mode"));
    QVERIFY(q.next());
    QVERIFY2(q.value(0).toString().contains("STRICT_TRANS_TABLES"), qPrintable(q.value(0).toString()));
    QVERIFY(q.prepare("INSERT INTO khoathi (IDKhoaHoc, NgayThi) VALUES (:IDKhoaHoc, :NgayThi)"));
    q.bindValue(":IDKhoaHoc", "K9");
    q.bindValue(":NgayThi", QString(""));
    QVERIFY(!q.exec());
    QCOMPARE(TestDb::count(m_db, "SELECT COUNT(*) FROM khoathi WHERE IDKhoaHoc = 'K9'"), 0);
}

void TestSchema::entryDefaultsAreNull()
{
    QVERIFY(TestDb::exec(m_db, "INSERT INTO khoathi_thisinh (IDKhoaHoc) VALUES ('K1')"));
    QSqlQuery q(m_db);
    QVERIFY(q.exec("SELECT * FROM khoathi_thisinh"));
    QVERIFY(q.next());
    const QSqlRecord r = q.record();
    QCOMPARE(r.count(), 30);
    for (int i = 0; i < r.count(); ++i) {
        const QString name = r.fieldName(i);
        if (name != "ID" && name != "IDKhoaHoc")
            QVERIFY2(q.isNull(i), qPrintable(name));
    }
    // A checksum of salt and HMAC fits.
    QVERIFY(TestDb::exec(m_db, QString("UPDATE khoathi_thisinh SET CheckSumKQMP = '%1'")
                                   .arg(QString(96, QChar('a')))));
}

void TestSchema::auxiliarySchemaLoads()
{
    QString error;
    QVERIFY2(TestDb::recreate("tst_schema_aux", {TestDb::sourcePath("tests/fixtures/aux_schema.sql")},
                              &error),
             qPrintable(error));
    QSqlDatabase aux = TestDb::open("tst_schema_aux", "tst_schema_aux");
    QCOMPARE(TestDb::count(aux, "SELECT COUNT(*) FROM information_schema.TABLES "
                                "WHERE TABLE_SCHEMA = 'tst_schema_aux'"),
             5);
    aux.close();
}

ORV_TEST_MAIN_CORE(TestSchema)
#include "tst_schema.moc"
