// The operator's connection to the main database: persons, course entries,
// the candidate table and the result queries, against a real MariaDB.

#include "connection/mysqlconnection.h"
#include "records/crudstudentinfo.h"
#include "records/studentinfo.h"
#include "records/studentinfolist.h"
#include "tests/support/maindbsuite.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testmain.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <memory>

namespace {

const QString kDatabase = "tst_mysqlconnectionentries";

CRUDStudentInfo candidate(const QString &soBaoDanh, const QString &soCMT, const QString &name = "Nguyễn Văn A")
{
    CRUDStudentInfo info;
    info.setHoTen(name);
    info.setNgaySinh(QDate(1990, 2, 28));
    info.setSoBaoDanh(soBaoDanh);
    info.setLoaiBang("B2");
    info.setSoCMT(soCMT);
    info.setGioiTinh("M");
    info.setAnhChanDung("QUJD");
    info.setNoiDungSH("1");
    return info;
}

} // namespace

class TestMySqlConnectionEntries : public MainDbSuite
{
    Q_OBJECT

public:
    TestMySqlConnectionEntries() : MainDbSuite(kDatabase) {}

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void addRefusesUsedOrderNumber();
    void addFirstCandidateOfCourse();
    void addReusesPersonOfThePeriod();
    void isStudentInCourse_data();
    void isStudentInCourse();
    void updateContestantInfo();
    void removeContestantInfo();
    void resetTwiceKeepsHistory();
    void resetHistoryLength_data();
    void resetHistoryLength();
    void updateKetQuaSHLyThuyet();
    void importedPersonIsFound();
    void importedEntryRoundTrips();
    void theoryFailedStudents();
    void entryListsInOrderNumberOrder();

    void candidateRows();
    void orderNumbersInExamination();
    void resultTexts();
    void twoCoursesSharingAnOrderNumber();
    void printDetailWithMissingRows();

private:

    std::unique_ptr<MySqlConnection> m_db;
};

void TestMySqlConnectionEntries::initTestCase()
{
    QString error;
    QVERIFY2(createMainDb(&error), qPrintable(error));
    m_db.reset(new MySqlConnection);
    const QSqlError opened = openConnection(m_db.get(), "contest");
    QVERIFY2(opened.type() == QSqlError::NoError, qPrintable(opened.text()));
}

void TestMySqlConnectionEntries::init()
{
    QVERIFY(clearMainDb());
}

void TestMySqlConnectionEntries::cleanupTestCase()
{
    m_db.reset();
    closeMainDb();
}

// --- operator's add, edit, remove and reset ---------------------------------

void TestMySqlConnectionEntries::addRefusesUsedOrderNumber()
{
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT, Ma_Ky_SH) VALUES (1, 'A', '111', 'K01')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh) VALUES ('C1', 1, '7')"));

    const SqlResultInfo result = m_db->addContestantInfo(candidate("7", "222"), "C1");
    QCOMPARE(result.getSuccess(), false);
    QCOMPARE(result.getMessage(), QString("SoBaoDanh is exist"));
    QCOMPARE(result.getId(), -1);
    QCOMPARE(count("SELECT COUNT(*) FROM thisinh"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM khoathi_thisinh"), 1);

    // The same order number in another course is free.
    QVERIFY(m_db->addContestantInfo(candidate("7", "222"), "C2").getSuccess());
}

void TestMySqlConnectionEntries::addFirstCandidateOfCourse()
{
    const SqlResultInfo result = m_db->addContestantInfo(candidate("1", "0123"), "C1");
    QVERIFY(result.getSuccess());
    QVERIFY(result.getMessage().isEmpty());
    QCOMPARE(result.getId(), scalar("SELECT ID FROM khoathi_thisinh").toInt());

    QSqlQuery person(m_admin);
    QVERIFY(person.exec("SELECT * FROM thisinh"));
    QVERIFY(person.next());
    QCOMPARE(person.value("HoTen").toString(), QString("Nguyễn Văn A"));
    QCOMPARE(person.value("NgaySinh").toDate(), QDate(1990, 2, 28));
    QCOMPARE(person.value("SoCMT").toString(), QString("0123"));
    QCOMPARE(person.value("GioiTinh").toString(), QString("M"));
    QVERIFY(person.value("Ma_Ky_SH").isNull());
    const int personId = person.value("IDThiSinh").toInt();

    QSqlQuery entry(m_admin);
    QVERIFY(entry.exec("SELECT * FROM khoathi_thisinh"));
    QVERIFY(entry.next());
    QCOMPARE(entry.value("IDKhoaHoc").toString(), QString("C1"));
    QCOMPARE(entry.value("IDThiSinh").toInt(), personId);
    QCOMPARE(entry.value("SoBaoDanh").toString(), QString("1"));
    QCOMPARE(entry.value("LoaiBang").toString(), QString("B2"));
    QCOMPARE(entry.value("AnhChanDung").toString(), QString("QUJD"));
    QCOMPARE(entry.value("DiemMoPhong").toInt(), -1);
    for (const char *column : {"MaKySH", "TrangThai", "DiemChuanMoPhong", "KetQuaMoPhong", "NoiDungSH"})
        QVERIFY2(entry.value(column).isNull(), column);

    // Without a period code no person matches: the same identity number
    // makes a new person.
    QVERIFY(m_db->addContestantInfo(candidate("2", "0123"), "C1").getSuccess());
    QCOMPARE(count("SELECT COUNT(*) FROM thisinh WHERE SoCMT = '0123'"), 2);
}

void TestMySqlConnectionEntries::addReusesPersonOfThePeriod()
{
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT, Ma_Ky_SH) VALUES "
                 "(1, 'Đầu tiên', '111', 'K01'), (2, 'Tên cũ', '222', 'K01'), (3, 'Kỳ khác', '333', 'K02')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, MaKySH) VALUES "
                 "('C1', 1, '1', 'K01')"));

    SqlResultInfo result = m_db->addContestantInfo(candidate("2", "222", "Tên mới"), "C1");
    QVERIFY(result.getSuccess());
    QCOMPARE(count("SELECT COUNT(*) FROM thisinh"), 3);
    QCOMPARE(scalar(QString("SELECT IDThiSinh FROM khoathi_thisinh WHERE ID = %1").arg(result.getId())).toInt(), 2);
    QCOMPARE(scalar(QString("SELECT MaKySH FROM khoathi_thisinh WHERE ID = %1").arg(result.getId())).toString(),
             QString("K01"));
    QCOMPARE(scalar("SELECT HoTen FROM thisinh WHERE IDThiSinh = 2").toString(), QString("Tên cũ"));

    // A person of another period is not reused; the new one joins the period.
    result = m_db->addContestantInfo(candidate("3", "333"), "C1");
    QVERIFY(result.getSuccess());
    QCOMPARE(count("SELECT COUNT(*) FROM thisinh"), 4);
    QCOMPARE(count("SELECT COUNT(*) FROM thisinh WHERE SoCMT = '333' AND Ma_Ky_SH = 'K01'"), 1);
}

void TestMySqlConnectionEntries::isStudentInCourse_data()
{
    QTest::addColumn<QString>("course");
    QTest::addColumn<QString>("maDangKy");
    QTest::addColumn<QString>("maKySH");
    QTest::addColumn<bool>("found");
    // Persons 1 and 2 share their codes (a repeated import); only person 2
    // has an entry in C1.
    QTest::newRow("duplicate person with the entry") << "C1" << "DK1" << "K01" << true;
    QTest::newRow("other course") << "C2" << "DK1" << "K01" << false;
    QTest::newRow("other period") << "C1" << "DK1" << "K02" << false;
    QTest::newRow("unknown code") << "C1" << "DK9" << "K01" << false;
    QTest::newRow("single person") << "C3" << "DK3" << "K01" << true;
}

void TestMySqlConnectionEntries::isStudentInCourse()
{
    QFETCH(QString, course);
    QFETCH(QString, maDangKy);
    QFETCH(QString, maKySH);
    QFETCH(bool, found);
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, Ma_Dang_Ky, Ma_Ky_SH) VALUES "
                 "(1, 'DK1', 'K01'), (2, 'DK1', 'K01'), (3, 'DK3', 'K01')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh) VALUES "
                 "('C1', 2, '1'), ('C3', 3, '1'), ('C4', 1, '1')"));
    QCOMPARE(m_db->isStudentInCourse(course, maDangKy, maKySH), found);
}

void TestMySqlConnectionEntries::updateContestantInfo()
{
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT, GioiTinh, NgaySinh, DiaChi) VALUES "
                 "(5, 'Cũ', '111', 'F', '1980-01-01', 'Hà Nội')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, "
                 "CheckSumKQMP, DiemMoPhong, TrangThai) VALUES (40, 'C1', 5, '3', 'C', 'abc', 30, 2)"));

    QVERIFY(m_db->updateContestantInfo(40, candidate("9", "999", "Mới")));

    QSqlQuery entry(m_admin);
    QVERIFY(entry.exec("SELECT * FROM khoathi_thisinh WHERE ID = 40"));
    QVERIFY(entry.next());
    QCOMPARE(entry.value("SoBaoDanh").toString(), QString("9"));
    QCOMPARE(entry.value("LoaiBang").toString(), QString("B2"));
    QCOMPARE(entry.value("AnhChanDung").toString(), QString("QUJD"));
    QCOMPARE(entry.value("NoiDungSH").toString(), QString("1"));
    QVERIFY(entry.value("CheckSumKQMP").isNull());
    QCOMPARE(entry.value("DiemMoPhong").toInt(), 30);
    QCOMPARE(entry.value("TrangThai").toInt(), 2);

    QSqlQuery person(m_admin);
    QVERIFY(person.exec("SELECT * FROM thisinh WHERE IDThiSinh = 5"));
    QVERIFY(person.next());
    QCOMPARE(person.value("HoTen").toString(), QString("Mới"));
    QCOMPARE(person.value("SoCMT").toString(), QString("999"));
    QCOMPARE(person.value("GioiTinh").toString(), QString("M"));
    QCOMPARE(person.value("NgaySinh").toDate(), QDate(1990, 2, 28));
    QCOMPARE(person.value("DiaChi").toString(), QString("Hà Nội"));
}

void TestMySqlConnectionEntries::removeContestantInfo()
{
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen) VALUES (1, 'A')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh) VALUES "
                 "(10, 'C1', 1, '1'), (11, 'C1', 1, '2')"));
    // The course must match as well.
    QVERIFY(m_db->removeContestantInfo(10, "C2"));
    QCOMPARE(count("SELECT COUNT(*) FROM khoathi_thisinh"), 2);
    QVERIFY(m_db->removeContestantInfo(10, "C1"));
    QCOMPARE(count("SELECT COUNT(*) FROM khoathi_thisinh WHERE ID = 10"), 0);
    QCOMPARE(count("SELECT COUNT(*) FROM khoathi_thisinh"), 1);
    QCOMPARE(count("SELECT COUNT(*) FROM thisinh"), 1);
}

void TestMySqlConnectionEntries::resetTwiceKeepsHistory()
{
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, SoBaoDanh, DiemMoPhong, DiemChuanMoPhong, "
                 "KetQuaMoPhong, ThoiGianBatDauThi, ThoiGianKetThucThi, TrangThai, CheckSumKQMP, "
                 "TraLoiMoPhong, ChiTietThi, KetQuaSHLyThuyet) VALUES (1, 'C1', '1', 42, 40, 'DAT', "
                 "'2024-04-04 08:05:03', '2024-04-04 08:20:00', 2, 'sum', '1,2,3', 3, 'DAT')"));

    QVERIFY(m_db->resetContestantResult(1, "C1", "Mất điện"));
    QVERIFY(m_db->resetContestantResult(1, "C1", "Máy lỗi; thi lại"));

    QSqlQuery entry(m_admin);
    QVERIFY(entry.exec("SELECT * FROM khoathi_thisinh WHERE ID = 1"));
    QVERIFY(entry.next());
    const QString stamp = "\\d{2}/\\d{2}/\\d{4} \\d{2}:\\d{2}:\\d{2}";
    const QRegularExpression note("^" + stamp + "#Mất điện;" + stamp + "#Máy lỗi; thi lại$");
    QVERIFY2(note.match(entry.value("GhiChu").toString()).hasMatch(),
             qPrintable(entry.value("GhiChu").toString()));
    QCOMPARE(entry.value("DiemMoPhong").toInt(), -1);
    QCOMPARE(entry.value("DiemChuanMoPhong").toInt(), 35);
    QCOMPARE(entry.value("TrangThai").isNull(), false);
    QCOMPARE(entry.value("TrangThai").toInt(), 0);
    for (const char *column : {"KetQuaMoPhong", "ThoiGianBatDauThi", "ThoiGianKetThucThi", "CheckSumKQMP",
                               "TraLoiMoPhong"})
        QVERIFY2(entry.value(column).isNull(), column);
    QCOMPARE(entry.value("ChiTietThi").toInt(), 3);
    QCOMPARE(entry.value("KetQuaSHLyThuyet").toString(), QString("DAT"));

    // Another course's code does not reach the entry.
    QVERIFY(exec("UPDATE khoathi_thisinh SET DiemMoPhong = 20"));
    QVERIFY(m_db->resetContestantResult(1, "C2", "x"));
    QCOMPARE(scalar("SELECT DiemMoPhong FROM khoathi_thisinh").toInt(), 20);
}

void TestMySqlConnectionEntries::resetHistoryLength_data()
{
    QTest::addColumn<int>("oldLength");
    QTest::addColumn<int>("reasonLength");
    QTest::addColumn<bool>("keepsOld");
    // An item is the 19-character stamp, "#" and the reason.
    QTest::newRow("joined note of 255 kept") << 200 << 34 << true;
    QTest::newRow("joined note of 256 starts over") << 200 << 35 << false;
    QTest::newRow("single long item stored whole") << 0 << 400 << false;
}

void TestMySqlConnectionEntries::resetHistoryLength()
{
    QFETCH(int, oldLength);
    QFETCH(int, reasonLength);
    QFETCH(bool, keepsOld);
    const QString old(oldLength, QChar('x'));
    const QString reason(reasonLength, QChar(u'ý'));
    QVERIFY(exec(QString("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, GhiChu) VALUES (1, 'C1', %1)")
                     .arg(old.isEmpty() ? QString("NULL") : "'" + old + "'")));
    QVERIFY(m_db->resetContestantResult(1, "C1", reason));
    const QString note = scalar("SELECT GhiChu FROM khoathi_thisinh").toString();
    QVERIFY(note.endsWith("#" + reason));
    QCOMPARE(note.startsWith(old + ";"), keepsOld && !old.isEmpty());
    QCOMPARE(note.size(), (keepsOld ? oldLength + 1 : 0) + 20 + reasonLength);
}

void TestMySqlConnectionEntries::updateKetQuaSHLyThuyet()
{
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc) VALUES (1, 'C1'), (2, 'C1')"));
    QVERIFY(m_db->updateKetQuaSHLyThuyet(2, "DAT"));
    QCOMPARE(scalar("SELECT KetQuaSHLyThuyet FROM khoathi_thisinh WHERE ID = 2").toString(), QString("DAT"));
    QVERIFY(scalar("SELECT KetQuaSHLyThuyet FROM khoathi_thisinh WHERE ID = 1").isNull());
}

// --- imports ---------------------------------------------------------------

void TestMySqlConnectionEntries::importedPersonIsFound()
{
    Student s;
    s.setSoTT(12);
    s.setMa_Dang_Ky("DK-1");
    s.setHoTen("Trần Thị B");
    s.setGioiTinh("F");
    s.setNgaySinh(QDate(2001, 12, 31));
    s.setSoCMT("0123456789012");
    s.setMa_Ky_SH("K07");
    s.setDiaChi("Đà Nẵng");
    QVERIFY(m_db->insertNguoiLX(s));
    QVERIFY(exec("UPDATE thisinh SET QuocTich = 'VN'"));

    const Student found = m_db->findStudent("0123456789012", "Trần Thị B");
    QVERIFY(found.getIDThiSinh() > 0);
    QCOMPARE(found.getSoTT(), 12);
    QCOMPARE(found.getMa_Dang_Ky(), QString("DK-1"));
    QCOMPARE(found.getMa_Ky_SH(), QString("K07"));
    QCOMPARE(found.getGioiTinh(), QString("F"));
    QCOMPARE(found.getNgaySinh(), QDate(2001, 12, 31));
    QVERIFY(found.getQuocTich().isEmpty());
    QCOMPARE(m_db->findStudent("0123456789012", "Trần Thị B", "K07").getIDThiSinh(), found.getIDThiSinh());
    QCOMPARE(m_db->findStudent("0123456789012", "Trần Thị B", "K08").getIDThiSinh(), 0);
    QCOMPARE(m_db->findStudent("0123456789012", "Trần Thị C").getIDThiSinh(), 0);

    const Student byId = m_db->getStudent(found.getIDThiSinh());
    QCOMPARE(byId.getHoTen(), QString("Trần Thị B"));
    QCOMPARE(byId.getSoCMT(), QString("0123456789012"));
    QCOMPARE(byId.getQuocTich(), QString("VN"));
    QCOMPARE(byId.getNgaySinh(), QDate(2001, 12, 31));
    QVERIFY(byId.getDiaChi().isNull());
    QCOMPARE(scalar("SELECT DiaChi FROM thisinh").toString(), QString("Đà Nẵng"));
    QCOMPARE(m_db->getStudent(999).getIDThiSinh(), 0);
}

void TestMySqlConnectionEntries::importedEntryRoundTrips()
{
    KhoaThiThiSinh k;
    k.setIDKhoaHoc("C1");
    k.setIDThiSinh(8);
    k.setSoBaoDanh("15");
    k.setTraLoiDung(28);
    k.setTraLoiSai(2);
    k.setKhongTraLoi(0);
    k.setKetQua("DAT");
    k.setSoChungChiTotNghiep("CC-1");
    k.setThi(1);
    k.setLoaiBang("B2");
    k.setTraLoi("ABCD");
    k.setUpdateTime(QDateTime(QDate(2024, 4, 1), QTime(9, 30, 15)));
    k.setDiemChuan(26);
    k.setGhiChu("ghi chú");
    k.setDiemMoPhong(45);
    k.setDiemChuanMoPhong(35);
    k.setKetQuaMoPhong("DAT");
    k.setThoiGianBatDauThi(QDateTime(QDate(2024, 4, 4), QTime(8, 5, 3)));
    k.setTrangThai(2);
    k.setCheckSumKQMP("sum");
    k.setSoHoSo("HS-9");
    k.setMaKySH("K07");
    k.setNoiDungSH("2");
    k.setKetQuaSH("DAT");
    k.setKetQuaSHLyThuyet("DAT");
    k.setAnhChanDung("QUJD");
    QVERIFY(m_db->insertKhoaThiThiSinh(k));
    QVERIFY(scalar("SELECT ThoiGianKetThucThi FROM khoathi_thisinh").isNull());
    QVERIFY(scalar("SELECT TraLoiMoPhong FROM khoathi_thisinh").isNull());
    QVERIFY(scalar("SELECT ChiTietThi FROM khoathi_thisinh").isNull());

    // A second, minimal entry: its null texts and times store NULL.
    KhoaThiThiSinh minimal;
    minimal.setIDKhoaHoc("C1");
    minimal.setSoBaoDanh("16");
    QVERIFY(m_db->insertKhoaThiThiSinh(minimal));
    QCOMPARE(count("SELECT COUNT(*) FROM khoathi_thisinh WHERE SoBaoDanh = '16' AND UpdateTime IS NULL "
                   "AND KetQua IS NULL AND ThoiGianBatDauThi IS NULL AND AnhChanDung IS NULL"),
             1);

    const QList<KhoaThiThiSinh *> list = m_db->getKhoaThiThiSinhList("C1");
    QCOMPARE(list.size(), 2);
    const KhoaThiThiSinh *r = list.at(0)->getSoBaoDanh() == "15" ? list.at(0) : list.at(1);
    QVERIFY(r->getID() > 0);
    QCOMPARE(r->getIDKhoaHoc(), QString("C1"));
    QCOMPARE(r->getIDThiSinh(), 8);
    QCOMPARE(r->getTraLoiDung(), 28);
    QCOMPARE(r->getTraLoiSai(), 2);
    QCOMPARE(r->getKhongTraLoi(), 0);
    QCOMPARE(r->getKetQua(), QString("DAT"));
    QCOMPARE(r->getSoChungChiTotNghiep(), QString("CC-1"));
    QCOMPARE(r->getThi(), 1);
    QCOMPARE(r->getLoaiBang(), QString("B2"));
    QCOMPARE(r->getTraLoi(), QString("ABCD"));
    QCOMPARE(r->getUpdateTime(), QDateTime(QDate(2024, 4, 1), QTime(9, 30, 15)));
    QCOMPARE(r->getDiemChuan(), 26);
    QCOMPARE(r->getGhiChu(), QString("ghi chú"));
    QCOMPARE(r->getDiemMoPhong(), 45);
    QCOMPARE(r->getDiemChuanMoPhong(), 35);
    QCOMPARE(r->getKetQuaMoPhong(), QString("DAT"));
    QCOMPARE(r->getThoiGianBatDauThi(), QDateTime(QDate(2024, 4, 4), QTime(8, 5, 3)));
    QVERIFY(!r->getThoiGianKetThucThi().isValid());
    QCOMPARE(r->getTrangThai(), 2);
    QCOMPARE(r->getCheckSumKQMP(), QString("sum"));
    QCOMPARE(r->getSoHoSo(), QString("HS-9"));
    QCOMPARE(r->getMaKySH(), QString("K07"));
    QCOMPARE(r->getNoiDungSH(), QString("2"));
    QCOMPARE(r->getKetQuaSH(), QString("DAT"));
    QCOMPARE(r->getKetQuaSHLyThuyet(), QString("DAT"));
    QCOMPARE(r->getAnhChanDung(), QString("QUJD"));
    qDeleteAll(list);
    QVERIFY(m_db->getKhoaThiThiSinhList("C2").isEmpty());
}

void TestMySqlConnectionEntries::theoryFailedStudents()
{
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, SoBaoDanh, KetQuaSHLyThuyet) VALUES "
                 "(1, 'C1', '1', NULL), (2, 'C1', '2', ''), (3, 'C1', '3', 'khong dat'), "
                 "(4, 'C1', '4', 'DAT'), (5, 'C1', '5', 'KHONG DAT'), (6, 'C2', '6', NULL)"));
    const QList<KhoaThiThiSinh *> failed = m_db->getTheoryFailedStudents("C1");
    QStringList seen;
    for (const KhoaThiThiSinh *k : failed) {
        seen << QString("%1:%2:%3").arg(k->getID()).arg(k->getSoBaoDanh(), k->getKetQuaSHLyThuyet());
        QVERIFY(k->getIDKhoaHoc().isNull());
    }
    seen.sort();
    QCOMPARE(seen, QStringList({"1:1:", "2:2:", "3:3:khong dat", "5:5:KHONG DAT"}));
    qDeleteAll(failed);
}

// Key order, state order, text order and numeric order of the order numbers
// all differ; both lists follow the numeric order, then the key.
void TestMySqlConnectionEntries::entryListsInOrderNumberOrder()
{
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, SoBaoDanh, TrangThai) VALUES "
                 "(41, 'C1', '10', 0), (42, 'C1', '2', 2), (43, 'C1', '2', 0), (44, 'C1', '1', 1)"));
    const QList<KhoaThiThiSinh *> entries = m_db->getKhoaThiThiSinhList("C1");
    const QList<KhoaThiThiSinh *> failed = m_db->getTheoryFailedStudents("C1");
    for (const QList<KhoaThiThiSinh *> &list : {entries, failed}) {
        QStringList seen;
        for (const KhoaThiThiSinh *k : list)
            seen << QString("%1:%2").arg(k->getSoBaoDanh()).arg(k->getID());
        QCOMPARE(seen, QStringList({"1:44", "2:42", "2:43", "10:41"}));
    }
    qDeleteAll(entries);
    qDeleteAll(failed);
}

// --- candidate table and result queries ------------------------------------

void TestMySqlConnectionEntries::candidateRows()
{
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT, NgaySinh, GioiTinh, DiaChi) VALUES "
                 "(1, 'Mười', '0123', '1990-01-02', 'M', 'Huế'), (2, 'Chín', '1234567890123', NULL, 'F', NULL), "
                 "(3, 'Trăm', '', '1985-06-07', NULL, NULL)"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, DiemMoPhong, "
                 "DiemChuanMoPhong, ThoiGianBatDauThi, ThoiGianKetThucThi, KetQuaMoPhong, KetQuaSHLyThuyet, "
                 "GhiChu, TrangThai, NoiDungSH) VALUES "
                 "(11, 'C1', 1, '10', 'B2', 42, 35, '2023-04-04 08:05:03', '2023-04-04 08:20:59', 'DAT', 'DAT', "
                 "'01/01/2024 10:00:00#lỗi', 2, '1'), "
                 "(12, 'C1', 2, '9', 'C', -1, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL), "
                 "(13, 'C1', 3, '100', 'D', 10, 35, '2023-04-04 09:00:00', NULL, NULL, '', NULL, 1, '2'), "
                 "(14, 'C1', 77, '5', 'B2', 0, 0, NULL, NULL, NULL, NULL, NULL, 0, NULL), "
                 "(15, 'C2', 1, '1', 'B2', 0, 0, NULL, NULL, NULL, NULL, NULL, 0, NULL)"));

    std::unique_ptr<StudentInfoList> rows(m_db->getStudentInfosOfCourse("C1"));
    // Entry 14 has no person row and stays out.
    QCOMPARE(rows->size(), 3);
    QCOMPARE(rows->at(0)->getSoBaoDanh(), QString("9"));
    QCOMPARE(rows->at(1)->getSoBaoDanh(), QString("10"));
    QCOMPARE(rows->at(2)->getSoBaoDanh(), QString("100"));

    const StudentInfo *ten = rows->at(1);
    QCOMPARE(ten->getID(), 11);
    QCOMPARE(ten->getHoTen(), QString("Mười"));
    QCOMPARE(ten->getSoCMT(), QString("0123        "));
    QCOMPARE(ten->getLoaiBang(), QString("B2"));
    QCOMPARE(ten->getDiemMoPhong(), 42);
    QCOMPARE(ten->getDiemChuanMoPhong(), 35);
    QCOMPARE(ten->getThoiGianBatDauThi(), QString("2023-04-04 08:05:03"));
    QCOMPARE(ten->getThoiGianKetThucThi(), QString("2023-04-04 08:20:59"));
    QCOMPARE(ten->getKetQuaMoPhong(), QString("DAT"));
    QCOMPARE(ten->getNgaySinh(), QDate(1990, 1, 2));
    QCOMPARE(ten->getGioiTinh(), QString("M"));
    QCOMPARE(ten->getKetQuaSHLyThuyet(), QString("DAT"));
    QCOMPARE(ten->getDiaChi(), QString("Huế"));
    QCOMPARE(ten->getGhiChu(), QString("01/01/2024 10:00:00#lỗi"));
    QCOMPARE(ten->getTrangThai(), 2);
    QCOMPARE(ten->getNoiDungSH(), QString("1"));

    const StudentInfo *nine = rows->at(0);
    QCOMPARE(nine->getSoCMT(), QString("1234567890123"));
    QCOMPARE(nine->getDiemMoPhong(), -1);
    QCOMPARE(nine->getDiemChuanMoPhong(), 0);
    QCOMPARE(nine->getThoiGianBatDauThi(), QString(""));
    QCOMPARE(nine->getThoiGianKetThucThi(), QString(""));
    QCOMPARE(nine->getTrangThai(), 0);
    QVERIFY(nine->getNgaySinh().isNull());

    QCOMPARE(rows->at(2)->getSoCMT(), QString(12, QChar(' ')));
    QCOMPARE(rows->at(2)->getThoiGianBatDauThi(), QString("2023-04-04 09:00:00"));
    QCOMPARE(rows->at(2)->getTrangThai(), 1);

    std::unique_ptr<StudentInfoList> none(m_db->getStudentInfosOfCourse("C9"));
    QVERIFY(none);
    QCOMPARE(none->size(), 0);
}

void TestMySqlConnectionEntries::orderNumbersInExamination()
{
    QVERIFY(exec("INSERT INTO khoathi_thisinh (IDKhoaHoc, SoBaoDanh, TrangThai) VALUES "
                 "('C1', '100', 1), ('C1', '10', 1), ('C1', '9', 1), ('C1', '2', 0), ('C1', '3', 2), "
                 "('C1', '4', NULL), ('C2', '1', 1)"));
    std::unique_ptr<StudentInfoList> rows(m_db->getSoBaoDanhByState("C1"));
    QStringList numbers;
    for (const StudentInfo *row : rows->rows()) {
        numbers << row->getSoBaoDanh();
        QCOMPARE(row->getID(), 0);
        QVERIFY(row->getHoTen().isNull());
    }
    QCOMPARE(numbers, QStringList({"9", "10", "100"}));
}

void TestMySqlConnectionEntries::resultTexts()
{
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT, NgaySinh) VALUES "
                 "(1, 'Lê Văn C', '0123', '1990-01-02'), (2, NULL, NULL, NULL)"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, ThoiGianBatDauThi, "
                 "ThoiGianKetThucThi, KetQuaMoPhong, TraLoiMoPhong, DiemMoPhong, ChiTietThi) VALUES "
                 "(21, 'C1', 1, '7', '2023-04-04 08:05:03', '2023-04-05 00:00:01', 'DAT', '1:2;3:4', 42, 3), "
                 "(22, 'C1', 2, '8', NULL, NULL, NULL, NULL, -1, NULL)"));

    ContestantResultInfo r = m_db->getContestantResultInfo(21);
    QCOMPARE(r.getSoCMT(), QString("0123"));
    QCOMPARE(r.getHoTen(), QString("Lê Văn C"));
    QCOMPARE(r.getNgaySinh(), QString("1990-01-02"));
    QCOMPARE(r.getSoBaoDanh(), QString("7"));
    // Stored checksums cover the date and these literal letters.
    QCOMPARE(r.getThoiGianBatDauThi(), QString("2023-04-04 hh:mm:ss"));
    QCOMPARE(r.getThoiGianKetThucThi(), QString("2023-04-05 hh:mm:ss"));
    QCOMPARE(r.getKetQuaMoPhong(), QString("DAT"));
    QCOMPARE(r.getTraLoiMoPhong(), QString("1:2;3:4"));
    QCOMPARE(r.getDiemMoPhong(), QString("42"));
    QCOMPARE(r.getChiTietThi(), QString("3"));

    r = m_db->getContestantResultInfo(22);
    QCOMPARE(r.getSoBaoDanh(), QString("8"));
    QCOMPARE(r.getSoCMT(), QString(""));
    QCOMPARE(r.getNgaySinh(), QString(""));
    QCOMPARE(r.getThoiGianBatDauThi(), QString(""));
    QCOMPARE(r.getThoiGianKetThucThi(), QString(""));
    QCOMPARE(r.getKetQuaMoPhong(), QString(""));
    QCOMPARE(r.getTraLoiMoPhong(), QString(""));
    QCOMPARE(r.getDiemMoPhong(), QString("-1"));
    QCOMPARE(r.getChiTietThi(), QString("0"));
}

void TestMySqlConnectionEntries::twoCoursesSharingAnOrderNumber()
{
    QVERIFY(ProvinceUnitRows::insert(m_admin, {{"T1", "Sở GTVT Một"}, {"T2", "Sở GTVT Hai"}},
                                     {{"D1", "T1", "U1"}, {"D2", "T2", "U2"}}));
    QVERIFY(exec("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrungTam) VALUES "
                 "('C1', 'Khóa một', 'D1', '2024-03-05', 'Trung tâm 1'), "
                 "('C2', 'Khóa hai', 'D2', '2024-12-25', 'Trung tâm 2')"));
    QVERIFY(exec("INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT, NgaySinh) VALUES "
                 "(1, 'Người một', '111', '1990-01-02'), (2, 'Người hai', '222', '1991-11-30')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, DiemMoPhong, "
                 "KetQuaMoPhong, TraLoiMoPhong, CheckSumKQMP, AnhChanDung, ChiTietThi) VALUES "
                 "(31, 'C1', 1, '5', 'B2', 40, 'DAT', 'a1', 's1', 'AVATAR1', 1), "
                 "(32, 'C2', 2, '5', 'C', 20, 'KHONG DAT', 'a2', 's2', 'AVATAR2', 2)"));

    QCOMPARE(m_db->getAvatarInfoForContestant("5", "C1"), QString("AVATAR1"));
    QCOMPARE(m_db->getAvatarInfoForContestant("5", "C2"), QString("AVATAR2"));
    QVERIFY(m_db->getAvatarInfoForContestant("6", "C2").isEmpty());

    const ReportInfo r = m_db->getPrintDetail("C2", "5");
    QCOMPARE(r.getProvinceName(), QString("Sở GTVT Hai"));
    QCOMPARE(r.getName(), QString("Người hai"));
    QCOMPARE(r.getDateOfBirth(), QString("30.11.1991"));
    QCOMPARE(r.getId(), QString("222"));
    QCOMPARE(r.getRank(), QString("C"));
    QCOMPARE(r.getOrderNumber(), QString("5"));
    QCOMPARE(r.getScore(), 20);
    QCOMPARE(r.getResult(), QString("KHONG DAT"));
    QCOMPARE(r.getCourse(), QString("Khóa hai"));
    QCOMPARE(r.getContestDate(), QString("25.12.2024"));
    QCOMPARE(r.getPlace(), QString("Trung tâm 2"));
    QCOMPARE(r.getAnswers(), QString("a2"));
    QCOMPARE(r.getContestantId(), 32);
    QCOMPARE(r.getCheckSum(), QString("s2"));
    QCOMPARE(r.getAvatar(), QString("AVATAR2"));
    QCOMPARE(r.getAttemptCount(), 2);
    QCOMPARE(r.getResultValid(), false);

    const ReportInfo first = m_db->getPrintDetail("C1", "5");
    QCOMPARE(first.getContestantId(), 31);
    QCOMPARE(first.getName(), QString("Người một"));
    QCOMPARE(first.getProvinceName(), QString("Sở GTVT Một"));
    QCOMPARE(first.getContestDate(), QString("05.03.2024"));
}

void TestMySqlConnectionEntries::printDetailWithMissingRows()
{
    // The course's unit does not exist: the province name goes empty.
    QVERIFY(exec("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi) VALUES "
                 "('C1', 'Khóa', 'NONE', '2024-03-05')"));
    QVERIFY(exec("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, DiemMoPhong) VALUES "
                 "(1, 'C1', 99, '1', 30)"));
    const ReportInfo r = m_db->getPrintDetail("C1", "1");
    QVERIFY(r.getProvinceName().isEmpty());
    QVERIFY(r.getName().isEmpty());
    QVERIFY(r.getDateOfBirth().isEmpty());
    QCOMPARE(r.getScore(), 30);
    QCOMPARE(r.getCourse(), QString("Khóa"));

    const ReportInfo none = m_db->getPrintDetail("C1", "2");
    QCOMPARE(none.getContestantId(), 0);
    QCOMPARE(none.getOrderNumber(), QString("2"));
}

ORV_TEST_MAIN_CORE(TestMySqlConnectionEntries)
#include "tst_mysqlconnectionentries.moc"
