// The theory-test database, read through an account that may only SELECT, as
// the server's account is in production. The exam date is checked both as a
// DATE column and as "yyyyMMdd" text, the two forms that database is found in.

#include "connection/auxiliarydb.h"

#include "tests/support/provinceunitrows.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"

#include <QSqlQuery>

#include <algorithm>
#include <memory>

namespace {

const QString kDateDb = "tst_auxiliarydb";
const QString kTextDb = "tst_auxiliarydb_text";
const QString kReadOnlyPassword = "ro-pass";

QString readOnlyUserOf(const QString &db)
{
    return db + "_ro";
}

} // namespace

class TestAuxiliaryDb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void initDatabaseReportsOutcome();
    void recentCourses_data();
    void recentCourses();
    void oneCourse_data();
    void oneCourse();
    void entriesWithAllFields();
    void theoryResultsSkipEmpty();
    void student();
    void photoAsBase64_data();
    void photoAsBase64();
    void provinceAndUnit();
    void writesRefused_data();
    void writesRefused();

private:
    bool fill(const QString &dbName, bool dateAsText);
    AuxiliaryDb *auxOf(const QString &dbName) const;

    QSqlDatabase m_admin;
    // Dates as the test server sees them, so a run near midnight agrees.
    QDate m_today;
    QDate m_sixMonthsAgo;
    std::unique_ptr<AuxiliaryDb> m_dateAux;
    std::unique_ptr<AuxiliaryDb> m_textAux;
};

bool TestAuxiliaryDb::fill(const QString &dbName, bool dateAsText)
{
    QSqlDatabase db = TestDb::open("fill-" + dbName, dbName);
    if (!db.isOpen())
        return false;
    const QString date = dateAsText ? "DATE_FORMAT(%1, '%Y%m%d')" : "%1";
    const QList<ProvinceUnitRows::Province> provinces = {{"T01", "Hà Nội"}};
    const QList<ProvinceUnitRows::Unit> units = {{"DV1", "T01", "Trường lái xe Số 1"}};
    auto course = [&](const QString &id, const QString &when) {
        return TestDb::exec(
            db, QString("INSERT INTO khoahoc VALUES ('%1', 'Khóa %1', 'DV1', %2, 2026, 1, "
                        "'Hội đồng 1', 'Trung tâm Sát hạch', 2)")
                    .arg(id, when.isEmpty() ? "NULL" : date.arg(when)));
    };
    bool ok = (!dateAsText || TestDb::exec(db, "ALTER TABLE khoahoc MODIFY NgayThi VARCHAR(8) NULL"))
              && course("K-TODAY", "curdate()")
              && course("K-1M", "date_sub(curdate(), interval 1 month)")
              && course("K-6M", "date_sub(curdate(), interval 6 month)")
              && course("K-6M1D", "date_sub(date_sub(curdate(), interval 6 month), interval 1 day)")
              && course("K-7M", "date_sub(curdate(), interval 7 month)")
              && course("K-FIXED", "'2024-03-05'")
              && course("K-NODATE", QString());
    ok = ok
         && TestDb::exec(db, "INSERT INTO khoahoc_thisinh VALUES "
                             "(1, 'K-TODAY', 11, '001', 28, 2, 0, 'DAT', 'CC-01', 1, 'B2', "
                             "'1,2,3', '2026-03-05 08:30:00', 26, 'ghi chú'), "
                             "(2, 'K-TODAY', 12, '002', 20, 8, 2, 'KHONG DAT', NULL, 1, 'B2', "
                             "NULL, NULL, NULL, NULL), "
                             "(3, 'K-1M', 13, '001', 0, 0, 0, 'DAT', NULL, 1, 'C', NULL, NULL, "
                             "NULL, NULL), "
                             // Theory results: only NULL and '' mean none yet.
                             "(10, 'K-R', 20, '001', NULL, NULL, NULL, 'DAT', NULL, NULL, NULL, "
                             "NULL, NULL, NULL, NULL), "
                             "(11, 'K-R', 21, '002', NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
                             "NULL, NULL, NULL, NULL), "
                             "(12, 'K-R', 22, '003', NULL, NULL, NULL, '', NULL, NULL, NULL, "
                             "NULL, NULL, NULL, NULL), "
                             "(13, 'K-R', 23, '004', NULL, NULL, NULL, ' ', NULL, NULL, NULL, "
                             "NULL, NULL, NULL, NULL), "
                             "(14, 'K-R', 24, '005', NULL, NULL, NULL, 'KHONG DAT', NULL, NULL, "
                             "NULL, NULL, NULL, NULL, NULL), "
                             "(15, 'K-NONE', 25, '001', NULL, NULL, NULL, NULL, NULL, NULL, "
                             "NULL, NULL, NULL, NULL, NULL), "
                             "(16, 'K-NONE', 26, '002', NULL, NULL, NULL, '', NULL, NULL, NULL, "
                             "NULL, NULL, NULL, NULL)")
         && TestDb::exec(db, "INSERT INTO thisinh VALUES "
                             "(11, 'K-TODAY', 'MDK-011', 'KSH-1', 'Nguyễn Văn Ánh', 'Nam', "
                             "'1990-07-15', '012345678901', 'Việt Nam', 'Hà Nội', 'Đủ', '12/12', "
                             "'B1', '3', '5000', 'ghi chú', 'anh/011.jp2', 'B2', "
                             "UNHEX('FFD8FFE000104A464946000100FF00')), "
                             "(12, 'K-TODAY', 'MDK-012', 'KSH-1', 'Trần Thị Bình', 'Nữ', NULL, "
                             "'0987', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
                             "NULL)")
         && ProvinceUnitRows::insert(db, provinces, units);
    db.close();
    return ok;
}

void TestAuxiliaryDb::initTestCase()
{
    QString error;
    QVERIFY2(TestDb::recreate(kDateDb, {TestDb::sourcePath("tests/fixtures/aux_schema.sql")}, &error),
             qPrintable(error));
    QVERIFY2(TestDb::recreate(kTextDb, {TestDb::sourcePath("tests/fixtures/aux_schema.sql")}, &error),
             qPrintable(error));
    QVERIFY(fill(kDateDb, false));
    QVERIFY(fill(kTextDb, true));
    QVERIFY(TestDb::createReadOnlyUser(readOnlyUserOf(kDateDb), kReadOnlyPassword, kDateDb));
    QVERIFY(TestDb::createReadOnlyUser(readOnlyUserOf(kTextDb), kReadOnlyPassword, kTextDb));

    m_admin = TestDb::open("admin", kDateDb);
    QVERIFY(m_admin.isOpen());
    QSqlQuery q(m_admin);
    QVERIFY(q.exec("SELECT curdate(), date_sub(curdate(), interval 6 month)") && q.next());
    m_today = q.value(0).toDate();
    m_sixMonthsAgo = q.value(1).toDate();
    QVERIFY(m_today.isValid() && m_sixMonthsAgo.isValid());

    const TestDb::Server s = TestDb::server();
    m_dateAux = std::make_unique<AuxiliaryDb>();
    QCOMPARE(m_dateAux->initDatabase("aux_db", s.host, s.port, kDateDb, readOnlyUserOf(kDateDb),
                                     kReadOnlyPassword).type(),
             QSqlError::NoError);
    m_textAux = std::make_unique<AuxiliaryDb>();
    QCOMPARE(m_textAux->initDatabase("aux_db2", s.host, s.port, kTextDb, readOnlyUserOf(kTextDb),
                                     kReadOnlyPassword).type(),
             QSqlError::NoError);
}

void TestAuxiliaryDb::cleanupTestCase()
{
    m_dateAux.reset();
    m_textAux.reset();
    m_admin.close();
}

AuxiliaryDb *TestAuxiliaryDb::auxOf(const QString &dbName) const
{
    return dbName == kDateDb ? m_dateAux.get() : m_textAux.get();
}

void TestAuxiliaryDb::initDatabaseReportsOutcome()
{
    const TestDb::Server s = TestDb::server();
    AuxiliaryDb aux;
    const QSqlError error = aux.initDatabase("aux_db_wrong", s.host, s.port, kDateDb,
                                             readOnlyUserOf(kDateDb), "wrong password");
    QCOMPARE(error.type(), QSqlError::ConnectionError);
    QVERIFY(!aux.getDatabase().isOpen());
    QVERIFY(m_dateAux->getDatabase().isOpen());
}

void TestAuxiliaryDb::recentCourses_data()
{
    QTest::addColumn<QString>("db");
    QTest::newRow("exam date as DATE") << kDateDb;
    QTest::newRow("exam date as yyyyMMdd text") << kTextDb;
}

void TestAuxiliaryDb::recentCourses()
{
    QFETCH(QString, db);

    QList<Course *> courses = auxOf(db)->getRecentAuxiliaryCourses();
    QStringList ids;
    QList<QDate> dates;
    for (const Course *c : courses) {
        ids << c->getIDKhoaHoc();
        dates << c->getNgayThi();
    }
    // Exactly six months ago is still recent, a day earlier is not.
    QCOMPARE(ids, QStringList({"K-TODAY", "K-1M", "K-6M"}));
    QCOMPARE(dates.first(), m_today);
    QCOMPARE(dates.last(), m_sixMonthsAgo);
    QVERIFY(dates.at(1).isValid());

    const Course *c = courses.first();
    QCOMPARE(c->getTenKhoaHoc(), QString("Khóa K-TODAY"));
    QCOMPARE(c->getIDDonVi(), QString("DV1"));
    QCOMPARE(c->getNamHoc(), 2026);
    QCOMPARE(c->getThi(), 1);
    QCOMPARE(c->getHoiDong(), QString("Hội đồng 1"));
    QCOMPARE(c->getTrungTam(), QString("Trung tâm Sát hạch"));
    QCOMPARE(c->getTrangThai(), 2);
    QVERIFY(c->getGhiChu().isEmpty());
    QVERIFY(c->getNgayImport().isNull());
    qDeleteAll(courses);
}

void TestAuxiliaryDb::oneCourse_data()
{
    QTest::addColumn<QString>("db");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QDate>("date");

    for (const QString &db : {kDateDb, kTextDb}) {
        const char *form = db == kDateDb ? "DATE" : "text";
        QTest::addRow("%s: dated course", form) << db << "K-FIXED" << "Khóa K-FIXED" << QDate(2024, 3, 5);
        QTest::addRow("%s: no exam date", form) << db << "K-NODATE" << "Khóa K-NODATE" << QDate();
        QTest::addRow("%s: unknown course", form) << db << "K-NOSUCH" << QString() << QDate();
    }
}

void TestAuxiliaryDb::oneCourse()
{
    QFETCH(QString, db);
    QFETCH(QString, id);
    QFETCH(QString, name);
    QFETCH(QDate, date);

    const Course c = auxOf(db)->getAuxiliaryCourse(id);
    QCOMPARE(c.getTenKhoaHoc(), name);
    QCOMPARE(c.getNgayThi(), date);
    if (!name.isEmpty()) {
        QCOMPARE(c.getIDKhoaHoc(), id);
        QCOMPARE(c.getTrangThai(), 2);
    }
}

void TestAuxiliaryDb::entriesWithAllFields()
{
    QList<AuxiliaryKhoaThiThiSinh *> entries = m_dateAux->getAuxiliaryKhoaThiThiSinh("K-TODAY");
    std::sort(entries.begin(), entries.end(),
              [](const AuxiliaryKhoaThiThiSinh *a, const AuxiliaryKhoaThiThiSinh *b) {
                  return a->getID() < b->getID();
              });
    QCOMPARE(entries.size(), 2);

    const AuxiliaryKhoaThiThiSinh *e = entries.first();
    QCOMPARE(e->getID(), 1);
    QCOMPARE(e->getIDKhoaHoc(), QString("K-TODAY"));
    QCOMPARE(e->getIDThiSinh(), 11);
    QCOMPARE(e->getSoBaoDanh(), QString("001"));
    QCOMPARE(e->getTraLoiDung(), 28);
    QCOMPARE(e->getTraLoiSai(), 2);
    QCOMPARE(e->getKhongTraLoi(), 0);
    QCOMPARE(e->getKetQua(), QString("DAT"));
    QCOMPARE(e->getSoChungChiTotNghiep(), QString("CC-01"));
    QCOMPARE(e->getThi(), 1);
    QCOMPARE(e->getLoaiBang(), QString("B2"));
    QCOMPARE(e->getTraLoi(), QString("1,2,3"));
    QCOMPARE(e->getUpdateTime(), QDateTime(QDate(2026, 3, 5), QTime(8, 30)));
    QCOMPARE(e->getDiemChuan(), 26);
    QCOMPARE(e->getGhiChu(), QString("ghi chú"));

    // NULL columns read as empty texts, 0 and a null date-time.
    const AuxiliaryKhoaThiThiSinh *n = entries.last();
    QCOMPARE(n->getSoBaoDanh(), QString("002"));
    QVERIFY(n->getSoChungChiTotNghiep().isEmpty());
    QCOMPARE(n->getDiemChuan(), 0);
    QVERIFY(n->getUpdateTime().isNull());
    qDeleteAll(entries);

    QVERIFY(m_dateAux->getAuxiliaryKhoaThiThiSinh("K-NOSUCH").isEmpty());
}

void TestAuxiliaryDb::theoryResultsSkipEmpty()
{
    QList<AuxiliaryKhoaThiThiSinh *> results = m_dateAux->getAuxiliaryResults("K-R");
    std::sort(results.begin(), results.end(),
              [](const AuxiliaryKhoaThiThiSinh *a, const AuxiliaryKhoaThiThiSinh *b) {
                  return a->getSoBaoDanh() < b->getSoBaoDanh();
              });
    QStringList pairs;
    for (const AuxiliaryKhoaThiThiSinh *r : results) {
        pairs << r->getSoBaoDanh() + "=" + r->getKetQua();
        // Only the order number and the result are carried.
        QCOMPARE(r->getID(), 0);
        QVERIFY(r->getIDKhoaHoc().isNull());
    }
    // A blank result is a result; NULL and '' are none yet.
    QCOMPARE(pairs, QStringList({"001=DAT", "004= ", "005=KHONG DAT"}));
    qDeleteAll(results);

    QVERIFY(m_dateAux->getAuxiliaryResults("K-NONE").isEmpty());
}

void TestAuxiliaryDb::student()
{
    const AuxiliaryStudent s = m_dateAux->getAuxiliaryStudent(11);
    QCOMPARE(s.getIDThiSinh(), 11);
    QCOMPARE(s.getIDKhoaHoc(), QString("K-TODAY"));
    QCOMPARE(s.getMa_Dang_Ky(), QString("MDK-011"));
    QCOMPARE(s.getMa_Ky_SH(), QString("KSH-1"));
    QCOMPARE(s.getHoTen(), QString("Nguyễn Văn Ánh"));
    QCOMPARE(s.getGioiTinh(), QString("Nam"));
    QCOMPARE(s.getNgaySinh(), QDate(1990, 7, 15));
    QCOMPARE(s.getSoCMT(), QString("012345678901"));
    QCOMPARE(s.getQuocTich(), QString("Việt Nam"));
    QCOMPARE(s.getDiaChi(), QString("Hà Nội"));
    QCOMPARE(s.getSucKhoe(), QString("Đủ"));
    QCOMPARE(s.getVanHoa(), QString("12/12"));
    QCOMPARE(s.getGplxDaCo(), QString("B1"));
    QCOMPARE(s.getThamNien(), QString("3"));
    QCOMPARE(s.getSoKm(), QString("5000"));
    QCOMPARE(s.getGhiChu(), QString("ghi chú"));
    QCOMPARE(s.getDuongDanAnh(), QString("anh/011.jp2"));
    QCOMPARE(s.getnoidungSH(), QString("B2"));

    const AuxiliaryStudent missing = m_dateAux->getAuxiliaryStudent(999);
    QCOMPARE(missing.getIDThiSinh(), 0);
    QVERIFY(missing.getHoTen().isEmpty());
    QVERIFY(missing.getNgaySinh().isNull());
}

void TestAuxiliaryDb::photoAsBase64_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("photo");

    // Bytes that are not text (0x00, 0xFF) must come through unchanged.
    QTest::newRow("JPEG bytes") << 11 << QByteArray::fromHex("FFD8FFE000104A464946000100FF00");
    QTest::newRow("no photo") << 12 << QByteArray();
    QTest::newRow("unknown candidate") << 999 << QByteArray();
}

void TestAuxiliaryDb::photoAsBase64()
{
    QFETCH(int, id);
    QFETCH(QByteArray, photo);

    const QString anh = m_dateAux->getAuxiliaryStudent(id).getAnh();
    QCOMPARE(anh, QString::fromLatin1(photo.toBase64()));
    QCOMPARE(QByteArray::fromBase64(anh.toLatin1()), photo);
}

void TestAuxiliaryDb::provinceAndUnit()
{
    const Province p = m_dateAux->getAuxiliaryProvince("T01");
    QCOMPARE(p.getIDTinh(), QString("T01"));
    QCOMPARE(p.getTenTinh(), QString("Hà Nội"));
    const Province noProvince = m_dateAux->getAuxiliaryProvince("T99");
    QCOMPARE(noProvince.getIDTinh(), QString("T99"));
    QVERIFY(noProvince.getTenTinh().isEmpty());

    const Unit u = m_dateAux->getAuxiliaryUnit("DV1");
    QCOMPARE(u.getIDDonVi(), QString("DV1"));
    QCOMPARE(u.getIDTinh(), QString("T01"));
    QCOMPARE(u.getTenDonVi(), QString("Trường lái xe Số 1"));
    QVERIFY(!u.getProvince());
    const Unit noUnit = m_dateAux->getAuxiliaryUnit("DV9");
    QCOMPARE(noUnit.getIDDonVi(), QString("DV9"));
    QVERIFY(noUnit.getTenDonVi().isEmpty());
}

void TestAuxiliaryDb::writesRefused_data()
{
    QTest::addColumn<QString>("statement");
    QTest::newRow("insert") << "INSERT INTO tinh (IDTinh, TenTinh) VALUES ('T02', 'Huế')";
    QTest::newRow("update") << "UPDATE khoahoc_thisinh SET KetQua = 'DAT' WHERE ID = 2";
    QTest::newRow("delete") << "DELETE FROM thisinh";
}

void TestAuxiliaryDb::writesRefused()
{
    QFETCH(QString, statement);

    // The server's own handle on the theory-test database cannot change it.
    QSqlQuery q(m_dateAux->getDatabase());
    QVERIFY(!q.exec(statement));
    QCOMPARE(TestDb::count(m_admin, "SELECT COUNT(*) FROM tinh"), 1);
    QCOMPARE(TestDb::count(m_admin, "SELECT COUNT(*) FROM thisinh"), 2);
    QCOMPARE(TestDb::count(m_admin, "SELECT COUNT(*) FROM khoahoc_thisinh WHERE ID = 2 "
                                    "AND KetQua = 'KHONG DAT'"),
             1);
}

ORV_TEST_MAIN_CORE(TestAuxiliaryDb)
#include "tst_auxiliarydb.moc"
