// Imports into a real main database: a whole course copied from a
// theory-test database that the importer may only read, the authority's
// candidate-list XML, and the theory results refreshed from the theory-test
// database.

#include "connection/auxiliarydb.h"
#include "connection/mysqlconnection.h"
#include "server/business/dataimporter.h"

#include "tests/support/maindbsuite.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testmain.h"

#include <QDomDocument>
#include <QSqlQuery>
#include <QSqlRecord>

#include <memory>

namespace {

const QString kMainDb = "tst_dataimporter";
const QString kAuxDb = "tst_dataimporter_aux";
const QString kAuxUser = "tst_dataimporter_ro";
const QString kAuxPassword = "ro-pass";

// The photo of the first candidate, as the theory-test database holds it.
const QByteArray kPhoto = QByteArray::fromHex("FFD8FFE000104A46494600");

// One row as "column=value" texts, NULL written as "NULL", for exact
// comparison of what was written.
QStringList rows(QSqlDatabase db, const QString &sql)
{
    QStringList out;
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        out << "error: " + q.lastError().text();
        return out;
    }
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i) {
            const QVariant v = q.value(i);
            fields << q.record().fieldName(i) + "=" + (v.isNull() ? QString("NULL") : v.toString());
        }
        out << fields.join(' ');
    }
    return out;
}

// A fingerprint of the whole theory-test database.
QString auxChecksum(QSqlDatabase db)
{
    QStringList sums;
    QSqlQuery q(db);
    if (!q.exec("CHECKSUM TABLE khoahoc, khoahoc_thisinh, thisinh, tinh, donvi"))
        return "error";
    while (q.next())
        sums << q.value(1).toString();
    return sums.join(',');
}

} // namespace

class TestDataImporter : public MainDbSuite
{
    Q_OBJECT

public:
    TestDataImporter() : MainDbSuite(kMainDb) {}

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void courseImportedOnceWithItsProvinceAndUnit();
    void courseEntriesLinkToThePersonJustStored();
    void courseNotStoredWritesNoCandidate();
    void courseUnknownToTheoryTestWritesNothing();

    void xmlCandidates();
    void xmlDeclaredTotal_data();
    void xmlDeclaredTotal();
    void fourByteNamesImportWhole();

    void theoryRefresh_data();
    void theoryRefresh();
    void theoryRefreshCurrentCourse_data();
    void theoryRefreshCurrentCourse();

private:
    DataImporter importer() const
    {
        return DataImporter(m_main.get(), m_main2.get(), m_aux.get(), m_aux2.get());
    }
    int mainCount(const QString &table) const
    {
        return TestDb::count(m_admin, "SELECT COUNT(*) FROM " + table);
    }

    QSqlDatabase m_auxAdmin;
    std::unique_ptr<MySqlConnection> m_main;
    std::unique_ptr<MySqlConnection> m_main2;
    std::unique_ptr<AuxiliaryDb> m_aux;
    std::unique_ptr<AuxiliaryDb> m_aux2;
};

void TestDataImporter::initTestCase()
{
    QString error;
    QVERIFY2(createMainDb(&error), qPrintable(error));
    QVERIFY2(TestDb::recreate(kAuxDb, {TestDb::sourcePath("tests/fixtures/aux_schema.sql")}, &error),
             qPrintable(error));
    QVERIFY(TestDb::createReadOnlyUser(kAuxUser, kAuxPassword, kAuxDb));
    m_auxAdmin = TestDb::open("aux-admin", kAuxDb);
    QVERIFY(m_admin.isOpen() && m_auxAdmin.isOpen());

    // Wider than the main database's columns, as another system's may be:
    // what cannot be stored must not be half-imported.
    QVERIFY(TestDb::exec(m_auxAdmin, "ALTER TABLE khoahoc MODIFY TenKhoaHoc TEXT NULL"));
    QVERIFY(TestDb::exec(m_auxAdmin, "ALTER TABLE thisinh MODIFY HoTen TEXT NULL"));
    const QString longText = QString(300, QChar('x'));
    QVERIFY(ProvinceUnitRows::insert(m_auxAdmin, {{"T01", "Hà Nội"}}, {{"DV1", "T01", "Trường lái xe Số 1"}}));
    QVERIFY(TestDb::exec(
        m_auxAdmin,
        "INSERT INTO khoahoc VALUES "
        "('K1', 'Khóa B2 tháng 3', 'DV1', '2026-03-05', 2026, 1, 'Hội đồng 1', 'Trung tâm 1', 3), "
        "('K2', 'Khóa C tháng 3', 'DV1', '2026-03-06', 2026, 1, 'Hội đồng 2', 'Trung tâm 1', 3), "
        "('K-LONG', '" + longText + "', 'DV1', '2026-03-07', 2026, 1, 'HĐ', 'TT', 3)"));
    QVERIFY(TestDb::exec(
        m_auxAdmin,
        "INSERT INTO thisinh (IDThiSinh, IDKhoaHoc, Ma_Dang_Ky, Ma_Ky_SH, HoTen, GioiTinh, NgaySinh, "
        "SoCMT, DiaChi, noidungSH, Anh) VALUES "
        "(11, 'K1', 'MDK-011', 'KSH-1', 'Nguyễn Văn Ánh', 'Nam', '1990-07-15', '012345678901', "
        "'Hà Nội', 'L', UNHEX('" + QString::fromLatin1(kPhoto.toHex()) + "')), "
        "(12, 'K1', 'MDK-012', 'KSH-1', 'Trần Thị Bình', 'Nữ', NULL, '0987', NULL, 'LH', NULL), "
        "(13, 'K1', 'MDK-013', 'KSH-1', 'Lê Văn Cường', 'Nam', '1985-01-02', '111', NULL, 'H', NULL), "
        "(21, 'K2', 'MDK-021', 'KSH-2', 'Phạm Văn Dũng', 'Nam', '1992-02-03', '222', NULL, 'LH', NULL), "
        "(22, 'K2', 'MDK-022', 'KSH-2', '" + longText + "', 'Nam', NULL, '333', NULL, NULL, NULL), "
        "(31, 'K-LONG', 'MDK-031', 'KSH-3', 'Võ Thị Em', 'Nữ', NULL, '444', NULL, NULL, NULL)"));
    QVERIFY(TestDb::exec(
        m_auxAdmin,
        "INSERT INTO khoahoc_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TraLoiDung, TraLoiSai, "
        "KhongTraLoi, KetQua, SoChungChiTotNghiep, Thi, LoaiBang, TraLoi, UpdateTime, Diem_Chuan, "
        "GhiChu) VALUES "
        "(1, 'K1', 11, '001', 28, 2, 0, 'DAT', 'CC-01', 1, 'B2', '1,2,3', '2026-03-05 08:30:00', 26, "
        "'ghi chú'), "
        "(2, 'K1', 12, '002', 20, 8, 2, 'KHONG DAT', NULL, 1, 'B2', NULL, NULL, 26, NULL), "
        "(3, 'K1', 13, '003', 0, 0, 0, NULL, NULL, 1, 'B2', NULL, NULL, 26, NULL), "
        // K2: a person stored fine, one the main database refuses, and an
        // entry whose person the theory-test database lacks.
        "(4, 'K2', 21, '001', 30, 0, 0, 'DAT', NULL, 1, 'C', NULL, NULL, 32, NULL), "
        "(5, 'K2', 22, '002', 30, 0, 0, 'DAT', NULL, 1, 'C', NULL, NULL, 32, NULL), "
        "(6, 'K2', 99, '003', 30, 0, 0, 'DAT', NULL, 1, 'C', NULL, NULL, 32, NULL), "
        "(7, 'K-LONG', 31, '001', 30, 0, 0, 'DAT', NULL, 1, 'C', NULL, NULL, 32, NULL)"));

    const TestDb::Server s = TestDb::server();
    m_main = std::make_unique<MySqlConnection>();
    QCOMPARE(m_main->initDatabase("imp-main", s.host, s.port, kMainDb, s.user, s.password).type(),
             QSqlError::NoError);
    m_main2 = std::make_unique<MySqlConnection>();
    QCOMPARE(m_main2->initDatabase("imp-main2", s.host, s.port, kMainDb, s.user, s.password).type(),
             QSqlError::NoError);
    // The server's account may only read the theory-test database.
    m_aux = std::make_unique<AuxiliaryDb>();
    QCOMPARE(m_aux->initDatabase("imp-aux", s.host, s.port, kAuxDb, kAuxUser, kAuxPassword).type(),
             QSqlError::NoError);
    m_aux2 = std::make_unique<AuxiliaryDb>();
    QCOMPARE(m_aux2->initDatabase("imp-aux2", s.host, s.port, kAuxDb, kAuxUser, kAuxPassword).type(),
             QSqlError::NoError);
}

void TestDataImporter::init()
{
    QVERIFY(clearMainDb());
}

void TestDataImporter::cleanupTestCase()
{
    m_main.reset();
    m_main2.reset();
    m_aux.reset();
    m_aux2.reset();
    closeMainDb();
    m_auxAdmin.close();
}

void TestDataImporter::courseImportedOnceWithItsProvinceAndUnit()
{
    const QString auxBefore = auxChecksum(m_auxAdmin);

    DataImporter::CourseImportResult first = importer().importCourse("K1");
    QCOMPARE(first.imported, 3);
    QCOMPARE(first.total, 3);
    QVERIFY(first.provinceInserted);
    QCOMPARE(first.province.getIDTinh(), QString("T01"));
    QCOMPARE(first.province.getTenTinh(), QString("Hà Nội"));
    QVERIFY(first.unitInserted);
    QCOMPARE(first.unit.getIDDonVi(), QString("DV1"));
    QCOMPARE(first.unit.getIDTinh(), QString("T01"));
    QCOMPARE(first.unit.getTenDonVi(), QString("Trường lái xe Số 1"));
    QVERIFY(first.unit.getProvince() == nullptr);
    QVERIFY(first.courseInserted);
    QCOMPARE(first.course.getIDKhoaHoc(), QString("K1"));
    QCOMPARE(first.course.getTenKhoaHoc(), QString("Khóa B2 tháng 3"));
    QCOMPARE(first.course.getNgayThi(), QDate(2026, 3, 5));
    QCOMPARE(first.course.getNamHoc(), 2026);
    QCOMPARE(first.course.getHoiDong(), QString("Hội đồng 1"));
    QCOMPARE(first.course.getIDDonVi(), QString("DV1"));
    QCOMPARE(first.course.getTrungTam(), QString("Trung tâm 1"));
    QCOMPARE(first.course.getTrangThai(), 1);

    QCOMPARE(rows(m_admin, "SELECT * FROM tinh"), QStringList{"IDTinh=T01 TenTinh=Hà Nội"});
    QCOMPARE(rows(m_admin, "SELECT * FROM donvi"),
             QStringList{"IDDonVi=DV1 IDTinh=T01 TenDonVi=Trường lái xe Số 1"});
    QCOMPARE(rows(m_admin, "SELECT IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, HoiDong, TrungTam, "
                               "TrangThai, NgayImport = CURDATE() AS today FROM khoathi"),
             QStringList{"IDKhoaHoc=K1 TenKhoaHoc=Khóa B2 tháng 3 IDDonVi=DV1 NgayThi=2026-03-05 "
                         "HoiDong=Hội đồng 1 TrungTam=Trung tâm 1 TrangThai=1 today=1"});
    QCOMPARE(rows(m_admin, "SELECT t.Ma_Dang_Ky, t.Ma_Ky_SH, t.HoTen, t.GioiTinh, t.NgaySinh, "
                               "t.SoCMT, k.IDKhoaHoc, k.SoBaoDanh, k.TraLoiDung, k.TraLoiSai, "
                               "k.KhongTraLoi, k.KetQua, k.SoChungChiTotNghiep, k.Thi, k.LoaiBang, "
                               "k.TraLoi, k.DiemChuan, k.DiemMoPhong, k.DiemChuanMoPhong, "
                               "k.TrangThai, k.NoiDungSH, k.UpdateTime IS NOT NULL AS stamped "
                               "FROM khoathi_thisinh k JOIN thisinh t ON t.IDThiSinh = k.IDThiSinh "
                               "ORDER BY k.SoBaoDanh"),
             (QStringList{
                 "Ma_Dang_Ky=MDK-011 Ma_Ky_SH=KSH-1 HoTen=Nguyễn Văn Ánh GioiTinh=Nam "
                 "NgaySinh=1990-07-15 SoCMT=012345678901 IDKhoaHoc=K1 SoBaoDanh=001 TraLoiDung=28 "
                 "TraLoiSai=2 KhongTraLoi=0 KetQua=DAT SoChungChiTotNghiep=CC-01 Thi=1 LoaiBang=B2 "
                 "TraLoi=1,2,3 DiemChuan=26 DiemMoPhong=-1 DiemChuanMoPhong=35 TrangThai=0 "
                 "NoiDungSH=L stamped=1",
                 "Ma_Dang_Ky=MDK-012 Ma_Ky_SH=KSH-1 HoTen=Trần Thị Bình GioiTinh=Nữ NgaySinh=NULL "
                 "SoCMT=0987 IDKhoaHoc=K1 SoBaoDanh=002 TraLoiDung=20 TraLoiSai=8 KhongTraLoi=2 "
                 "KetQua=KHONG DAT SoChungChiTotNghiep=NULL Thi=1 LoaiBang=B2 TraLoi=NULL DiemChuan=26 "
                 "DiemMoPhong=-1 DiemChuanMoPhong=35 TrangThai=0 NoiDungSH=LH stamped=1",
                 "Ma_Dang_Ky=MDK-013 Ma_Ky_SH=KSH-1 HoTen=Lê Văn Cường GioiTinh=Nam "
                 "NgaySinh=1985-01-02 SoCMT=111 IDKhoaHoc=K1 SoBaoDanh=003 TraLoiDung=0 TraLoiSai=0 "
                 "KhongTraLoi=0 KetQua=NULL SoChungChiTotNghiep=NULL Thi=1 LoaiBang=B2 TraLoi=NULL "
                 "DiemChuan=26 "
                 "DiemMoPhong=-1 DiemChuanMoPhong=35 TrangThai=0 NoiDungSH=H stamped=1"}));
    QCOMPARE(scalar("SELECT AnhChanDung FROM khoathi_thisinh WHERE SoBaoDanh = '001'")
                 .toString(),
             QString::fromLatin1(kPhoto.toBase64()));

    DataImporter::CourseImportResult second = importer().importCourse("K1");
    QCOMPARE(second.imported, -1);
    QCOMPARE(second.total, 3);
    QVERIFY(!second.provinceInserted);
    QVERIFY(!second.unitInserted);
    QVERIFY(!second.courseInserted);
    QCOMPARE(mainCount("tinh"), 1);
    QCOMPARE(mainCount("donvi"), 1);
    QCOMPARE(mainCount("khoathi"), 1);
    QCOMPARE(mainCount("thisinh"), 3);
    QCOMPARE(mainCount("khoathi_thisinh"), 3);

    QCOMPARE(auxChecksum(m_auxAdmin), auxBefore);
}

void TestDataImporter::courseEntriesLinkToThePersonJustStored()
{
    // An older person with the same identity number and name, as a second
    // licence class of the same candidate leaves behind.
    QVERIFY(TestDb::exec(m_admin, "INSERT INTO thisinh (IDThiSinh, Ma_Dang_Ky, HoTen, SoCMT) "
                                      "VALUES (500, 'OLD', 'Phạm Văn Dũng', '222')"));

    const DataImporter::CourseImportResult result = importer().importCourse("K2");
    // 002's person cannot be stored and 003 has no person: neither is written.
    QCOMPARE(result.imported, 1);
    QCOMPARE(result.total, 3);
    QCOMPARE(rows(m_admin, "SELECT k.SoBaoDanh, t.Ma_Dang_Ky, k.IDThiSinh > 500 AS fresh "
                               "FROM khoathi_thisinh k JOIN thisinh t ON t.IDThiSinh = k.IDThiSinh"),
             QStringList{"SoBaoDanh=001 Ma_Dang_Ky=MDK-021 fresh=1"});
    QCOMPARE(mainCount("khoathi_thisinh"), 1);
}

void TestDataImporter::courseNotStoredWritesNoCandidate()
{
    const DataImporter::CourseImportResult result = importer().importCourse("K-LONG");
    QCOMPARE(result.imported, 0);
    QCOMPARE(result.total, 1);
    QVERIFY(!result.courseInserted);
    QCOMPARE(mainCount("khoathi"), 0);
    QCOMPARE(mainCount("thisinh"), 0);
    QCOMPARE(mainCount("khoathi_thisinh"), 0);
}

void TestDataImporter::courseUnknownToTheoryTestWritesNothing()
{
    const DataImporter::CourseImportResult result = importer().importCourse("K-NONE");
    QCOMPARE(result.imported, 0);
    QCOMPARE(result.total, 0);
    QVERIFY(!result.provinceInserted && !result.unitInserted && !result.courseInserted);
    for (const char *table : {"tinh", "donvi", "khoathi", "thisinh", "khoathi_thisinh"})
        QCOMPARE(mainCount(table), 0);
}

void TestDataImporter::xmlCandidates()
{
    // The person of the third candidate is already stored with the same
    // identity number, name and examination period: it is reused.
    QVERIFY(TestDb::exec(m_admin, "INSERT INTO thisinh (IDThiSinh, SoTT, Ma_Dang_Ky, Ma_Ky_SH, "
                                      "HoTen, SoCMT) VALUES (700, 9, 'MDK-OLD', 'KSH-9', "
                                      "'Đỗ Thị Hoa', '555')"));
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<BAO_CAO1>
    <HEADER>
        <TONG_SO_BAN_GHI>3</TONG_SO_BAN_GHI>
    </HEADER>
    <DATA>
        <KY_SH>KSH-9</KY_SH>
        <NGUOI_LXS>
            <!-- exported by the authority -->
            <NGUOI_LX>
                <SO_TT>1</SO_TT>
                <MA_DK>MDK-901</MA_DK>
                <HO_VA_TEN>Hoàng Văn Minh</HO_VA_TEN>
                <GIOI_TINH>M</GIOI_TINH>
                <NGAY_SINH>19900715</NGAY_SINH>
                <SO_CMT>001090000001</SO_CMT>
                <NOI_CT>Số 1 phố Huế, Hà Nội</NOI_CT>
                <HO_SO>
                    <SO_HO_SO>HS-1</SO_HO_SO>
                    <MA_KY_SH>KSH-9</MA_KY_SH>
                    <SO_BAO_DANH>007</SO_BAO_DANH>
                    <HANG_GPLX>B2</HANG_GPLX>
                    <NOI_DUNG_SH>LH</NOI_DUNG_SH>
                    <KET_QUA_SH>DA</KET_QUA_SH>
                    <KQ_SH_LYTHUYET>DAT</KQ_SH_LYTHUYET>
                    <ANH_CHAN_DUNG>/9j/4AAQ</ANH_CHAN_DUNG>
                </HO_SO>
            </NGUOI_LX>
            <NGUOI_LX>
                <SO_TT>x2</SO_TT>
                <MA_DK>MDK-902</MA_DK>
                <HO_VA_TEN>Bùi Thị Lan</HO_VA_TEN>
                <GIOI_TINH>F</GIOI_TINH>
                <NGAY_SINH>1991-02-03</NGAY_SINH>
                <SO_CMT>001091000002</SO_CMT>
                <HO_SO>
                    <SO_HO_SO>HS-2</SO_HO_SO>
                    <MA_KY_SH>KSH-9</MA_KY_SH>
                    <SO_BAO_DANH>A7</SO_BAO_DANH>
                    <HANG_GPLX>C</HANG_GPLX>
                </HO_SO>
            </NGUOI_LX>
            <?authority page-break?>
            <NGUOI_LX>
                <SO_TT>3</SO_TT>
                <MA_DK>MDK-903</MA_DK>
                <HO_VA_TEN>Đỗ Thị Hoa</HO_VA_TEN>
                <SO_CMT>555</SO_CMT>
                <HO_SO>
                    <MA_KY_SH>KSH-9</MA_KY_SH>
                    <SO_BAO_DANH>12</SO_BAO_DANH>
                </HO_SO>
            </NGUOI_LX>
        </NGUOI_LXS>
    </DATA>
</BAO_CAO1>
)";
    QDomDocument document;
    QVERIFY(document.setContent(xml));

    QCOMPARE(importer().importCandidatesXml(document, "K-X"), qMakePair(3, 3));

    QCOMPARE(rows(m_admin, "SELECT IDThiSinh = 700 AS old, SoTT, Ma_Dang_Ky, Ma_Ky_SH, HoTen, "
                               "GioiTinh, NgaySinh, SoCMT, DiaChi FROM thisinh ORDER BY IDThiSinh"),
             (QStringList{
                 "old=1 SoTT=9 Ma_Dang_Ky=MDK-OLD Ma_Ky_SH=KSH-9 HoTen=Đỗ Thị Hoa GioiTinh=NULL "
                 "NgaySinh=NULL SoCMT=555 DiaChi=NULL",
                 "old=0 SoTT=1 Ma_Dang_Ky=MDK-901 Ma_Ky_SH=KSH-9 HoTen=Hoàng Văn Minh GioiTinh=M "
                 "NgaySinh=1990-07-15 SoCMT=001090000001 DiaChi=Số 1 phố Huế, Hà Nội",
                 "old=0 SoTT=0 Ma_Dang_Ky=MDK-902 Ma_Ky_SH=KSH-9 HoTen=Bùi Thị Lan GioiTinh=F "
                 "NgaySinh=NULL SoCMT=001091000002 DiaChi=NULL"}));
    QCOMPARE(rows(m_admin,
                  "SELECT k.IDKhoaHoc, t.Ma_Dang_Ky, k.SoBaoDanh, k.SoHoSo, k.MaKySH, k.LoaiBang, "
                  "k.NoiDungSH, k.KetQuaSH, k.KetQuaSHLyThuyet, k.AnhChanDung, k.DiemMoPhong, "
                  "k.DiemChuanMoPhong, k.TrangThai FROM khoathi_thisinh k "
                  "JOIN thisinh t ON t.IDThiSinh = k.IDThiSinh ORDER BY k.ID"),
             (QStringList{
                 "IDKhoaHoc=K-X Ma_Dang_Ky=MDK-901 SoBaoDanh=7 SoHoSo=HS-1 MaKySH=KSH-9 LoaiBang=B2 "
                 "NoiDungSH=LH KetQuaSH=DA KetQuaSHLyThuyet=DAT AnhChanDung=/9j/4AAQ DiemMoPhong=-1 "
                 "DiemChuanMoPhong=35 TrangThai=0",
                 "IDKhoaHoc=K-X Ma_Dang_Ky=MDK-902 SoBaoDanh=-1 SoHoSo=HS-2 MaKySH=KSH-9 LoaiBang=C "
                 "NoiDungSH=NULL KetQuaSH=NULL KetQuaSHLyThuyet=NULL AnhChanDung=NULL DiemMoPhong=-1 "
                 "DiemChuanMoPhong=35 TrangThai=0",
                 "IDKhoaHoc=K-X Ma_Dang_Ky=MDK-OLD SoBaoDanh=12 SoHoSo=NULL MaKySH=KSH-9 "
                 "LoaiBang=NULL NoiDungSH=NULL KetQuaSH=NULL KetQuaSHLyThuyet=NULL AnhChanDung=NULL "
                 "DiemMoPhong=-1 "
                 "DiemChuanMoPhong=35 TrangThai=0"}));
}

// Names of the old script (characters past U+FFFF, four bytes in UTF-8)
// reach every table whole, from either source.
void TestDataImporter::fourByteNamesImportWhole()
{
    const QString course = QString::fromUtf8("Khóa \xF0\xA0\x80\x80 tháng 4");
    const QString person = QString::fromUtf8("Nguyễn Văn \xF0\xA4\x8B\xAE");
    // The suite's own session speaks the driver's 3-byte choice.
    QVERIFY(TestDb::exec(m_auxAdmin, "SET NAMES utf8mb4"));
    QVERIFY(TestDb::exec(m_auxAdmin, "INSERT INTO khoahoc VALUES ('K4', '" + course
                                         + "', 'DV1', '2026-04-05', 2026, 1, 'HĐ', 'TT', 3)"));
    QVERIFY(TestDb::exec(m_auxAdmin, "INSERT INTO thisinh (IDThiSinh, IDKhoaHoc, Ma_Dang_Ky, Ma_Ky_SH, HoTen, "
                                     "SoCMT) VALUES (41, 'K4', 'MDK-041', 'KSH-4', '" + person + "', '41')"));
    QVERIFY(TestDb::exec(m_auxAdmin, "INSERT INTO khoahoc_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, Thi, "
                                     "LoaiBang, Diem_Chuan) VALUES (41, 'K4', 41, '001', 1, 'B2', 26)"));
    const DataImporter::CourseImportResult imported = importer().importCourse("K4");
    QVERIFY(TestDb::exec(m_auxAdmin, "DELETE FROM khoahoc_thisinh WHERE IDKhoaHoc = 'K4'"));
    QVERIFY(TestDb::exec(m_auxAdmin, "DELETE FROM thisinh WHERE IDKhoaHoc = 'K4'"));
    QVERIFY(TestDb::exec(m_auxAdmin, "DELETE FROM khoahoc WHERE IDKhoaHoc = 'K4'"));
    QCOMPARE(imported.imported, 1);
    QCOMPARE(imported.total, 1);

    QDomDocument document;
    QVERIFY(document.setContent(QString("<BAO_CAO1><DATA><NGUOI_LXS>"
                                        "<NGUOI_LX><MA_DK>MDK-951</MA_DK><HO_VA_TEN>Lê Thị Mai</HO_VA_TEN>"
                                        "<SO_CMT>951</SO_CMT><HO_SO><SO_BAO_DANH>1</SO_BAO_DANH></HO_SO></NGUOI_LX>"
                                        "<NGUOI_LX><MA_DK>MDK-952</MA_DK><HO_VA_TEN>%1</HO_VA_TEN>"
                                        "<SO_CMT>952</SO_CMT><HO_SO><SO_BAO_DANH>2</SO_BAO_DANH></HO_SO></NGUOI_LX>"
                                        "</NGUOI_LXS></DATA></BAO_CAO1>")
                                    .arg(person)));
    QCOMPARE(importer().importCandidatesXml(document, "K-X").first, 2);

    // Compared as bytes, past the session's charset.
    QSqlQuery q(m_admin);
    QVERIFY(q.exec("SELECT HEX(TenKhoaHoc) FROM khoathi WHERE IDKhoaHoc = 'K4'") && q.next());
    QCOMPARE(QByteArray::fromHex(q.value(0).toByteArray()), course.toUtf8());
    QVERIFY(q.exec("SELECT HEX(HoTen) FROM thisinh WHERE Ma_Dang_Ky IN ('MDK-041', 'MDK-952') ORDER BY Ma_Dang_Ky"));
    QVERIFY(q.next());
    QCOMPARE(QByteArray::fromHex(q.value(0).toByteArray()), person.toUtf8());
    QVERIFY(q.next());
    QCOMPARE(QByteArray::fromHex(q.value(0).toByteArray()), person.toUtf8());
    QCOMPARE(TestDb::scalar(m_admin, "SELECT COUNT(*) FROM khoathi_thisinh").toInt(), 3);
}

void TestDataImporter::xmlDeclaredTotal_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("declared");

    QTest::newRow("number") << "<HEADER><TONG_SO_BAN_GHI>12</TONG_SO_BAN_GHI></HEADER>" << 12;
    QTest::newRow("not a number") << "<HEADER><TONG_SO_BAN_GHI>abc</TONG_SO_BAN_GHI></HEADER>" << 0;
    QTest::newRow("missing") << "<HEADER/>" << 0;
}

void TestDataImporter::xmlDeclaredTotal()
{
    QFETCH(QString, header);
    QFETCH(int, declared);

    QDomDocument document;
    QVERIFY(document.setContent("<ROOT>" + header + "<DATA><NGUOI_LXS/></DATA></ROOT>"));
    QCOMPARE(importer().importCandidatesXml(document, "K-X"), qMakePair(0, declared));
}

void TestDataImporter::theoryRefresh_data()
{
    // Stored theory result in the main database, the theory-test database's
    // result for the same order number (absent: no row), and what the main
    // database then holds.
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("theory");
    QTest::addColumn<QVariant>("expected");

    const QVariant null;
    QTest::newRow("none yet, passed") << null << QVariant("DAT") << QVariant("DAT");
    QTest::newRow("empty, failed") << QVariant("") << QVariant("KHONG DAT") << QVariant("KHONG DAT");
    QTest::newRow("failed, passed") << QVariant("KHONG DAT") << QVariant("DAT") << QVariant("DAT");
    QTest::newRow("failed lower case, passed") << QVariant("khong dat") << QVariant("DAT")
                                               << QVariant("DAT");
    QTest::newRow("failed, same ignoring case") << QVariant("KHONG DAT") << QVariant("khong dat")
                                                << QVariant("KHONG DAT");
    QTest::newRow("passed is kept") << QVariant("DAT") << QVariant("KHONG DAT") << QVariant("DAT");
    QTest::newRow("no theory result") << null << QVariant("") << null;
    QTest::newRow("no theory row") << QVariant("KHONG DAT") << QVariant("absent")
                                   << QVariant("KHONG DAT");
}

void TestDataImporter::theoryRefresh()
{
    QFETCH(QVariant, stored);
    QFETCH(QVariant, theory);
    QFETCH(QVariant, expected);

    QVERIFY(TestDb::exec(m_admin, "INSERT INTO khoathi (IDKhoaHoc, TrangThai) VALUES ('K-R', 2)"));
    QSqlQuery insert(m_admin);
    insert.prepare("INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, KetQuaSHLyThuyet) "
                   "VALUES ('K-R', 1, '5', :stored), ('K-R', 2, '6', 'KHONG DAT')");
    insert.bindValue(":stored", stored.isNull() ? QVariant(QVariant::String) : stored);
    QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));

    QVERIFY(TestDb::exec(m_auxAdmin, "DELETE FROM khoahoc_thisinh WHERE IDKhoaHoc = 'K-R'"));
    QSqlQuery aux(m_auxAdmin);
    // '05' and a result for another order number must not match '5'.
    aux.prepare("INSERT INTO khoahoc_thisinh (IDKhoaHoc, SoBaoDanh, KetQua) VALUES "
                "('K-R', '05', 'DAT'), ('K-R', :order, :theory)");
    aux.bindValue(":order", theory.toString() == "absent" ? "7" : "5");
    aux.bindValue(":theory", theory);
    QVERIFY2(aux.exec(), qPrintable(aux.lastError().text()));

    const int changed =
        (expected.isNull() != stored.isNull() || expected.toString() != stored.toString()) ? 1 : 0;
    DataImporter::TheoryRefreshResult first = importer().refreshTheoryResults("K-R");
    QCOMPARE(first.updated, changed);
    QVERIFY(first.currentCourseExamined);
    const QVariant now =
        scalar("SELECT KetQuaSHLyThuyet FROM khoathi_thisinh WHERE SoBaoDanh = '5'");
    QCOMPARE(now.isNull(), expected.isNull());
    QCOMPARE(now.toString(), expected.toString());
    QCOMPARE(scalar("SELECT KetQuaSHLyThuyet FROM khoathi_thisinh WHERE SoBaoDanh = '6'")
                 .toString(),
             QString("KHONG DAT"));

    QCOMPARE(importer().refreshTheoryResults("K-R").updated, 0);
}

void TestDataImporter::theoryRefreshCurrentCourse_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("examined");

    QTest::newRow("current course examined") << "K-R1" << true;
    QTest::newRow("current course not started") << "K-IDLE" << false;
    QTest::newRow("no current course") << QString() << false;
}

void TestDataImporter::theoryRefreshCurrentCourse()
{
    QFETCH(QString, current);
    QFETCH(bool, examined);

    QVERIFY(TestDb::exec(m_admin, "INSERT INTO khoathi (IDKhoaHoc, TrangThai) VALUES "
                                      "('K-R1', 2), ('K-R2', 2), ('K-IDLE', 1)"));
    QVERIFY(TestDb::exec(m_admin, "INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh) "
                                      "VALUES ('K-R2', 1, '1'), ('K-R2', 2, '2'), ('K-IDLE', 3, '1')"));
    QVERIFY(TestDb::exec(m_auxAdmin, "DELETE FROM khoahoc_thisinh WHERE IDKhoaHoc LIKE 'K-R%' "
                                     "OR IDKhoaHoc = 'K-IDLE'"));
    QVERIFY(TestDb::exec(m_auxAdmin, "INSERT INTO khoahoc_thisinh (IDKhoaHoc, SoBaoDanh, KetQua) "
                                     "VALUES ('K-R2', '1', 'DAT'), ('K-R2', '2', 'KHONG DAT'), "
                                     "('K-IDLE', '1', 'DAT')"));

    // Only the courses being examined are refreshed, whichever is current.
    const DataImporter::TheoryRefreshResult result = importer().refreshTheoryResults(current);
    QCOMPARE(result.updated, 2);
    QCOMPARE(result.currentCourseExamined, examined);
    QVERIFY(scalar("SELECT KetQuaSHLyThuyet FROM khoathi_thisinh "
                                "WHERE IDKhoaHoc = 'K-IDLE'").isNull());
}

ORV_TEST_MAIN_CORE(TestDataImporter)
#include "tst_dataimporter.moc"
