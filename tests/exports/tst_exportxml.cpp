#include "connection/mysqlconnection.h"
#include "reports/exports/commonexportxml.h"
#include "reports/exports/firstformexportxml.h"
#include "reports/exports/secondformexportxml.h"
#include "tests/support/maindbsuite.h"
#include "tests/support/testmain.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QScopeGuard>

#include <memory>

namespace {

const QString kDb = QStringLiteral("tst_exportxml");
const QString kCourseName = QStringLiteral("Khóa B2 & \"K01\" <03/2024>");

// Two candidates of K01, one examined and one not; K02 holds an entry whose
// person row is missing.
const QStringList kFixture = {
    "INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, Thi, HoiDong, TrungTam, TrangThai,"
    " NgayImport, GhiChu) VALUES ('K01', 'Khóa B2 & \"K01\" <03/2024>', 'DV1', '2024-03-05', 2024, 1, 'Hội đồng 1',"
    " 'Trung tâm Sát hạch Số 1', 3, '2024-03-01', 'anh/K01')",
    "INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, TrungTam, NgayThi) VALUES ('K02', 'Khóa C', 'TT2', '2024-04-10')",
    "INSERT INTO thisinh (IDThiSinh, SoTT, Ma_Dang_Ky, Ma_Ky_SH, HoTen, GioiTinh, NgaySinh, SoCMT, DiaChi, QuocTich)"
    " VALUES (11, 1, 'DK-001', 'KY01', 'Nguyễn Văn An', 'M', '1990-01-02', '012345678901', 'Hà Nội', 'VN')",
    "INSERT INTO thisinh (IDThiSinh, SoTT, Ma_Dang_Ky, Ma_Ky_SH, HoTen, GioiTinh, NgaySinh, SoCMT, DiaChi, QuocTich)"
    " VALUES (12, 2, 'DK-002', 'KY01', 'Trần Thị Bình', 'F', '1985-12-31', '9876', 'Huế', 'VN')",
    // Key, order number and state rise together, so every plan the server
    // may choose for the list returns the entries in the same order.
    "INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, DiemMoPhong, DiemChuanMoPhong,"
    " TrangThai, SoHoSo, MaKySH) VALUES (1, 'K01', 11, '001', 'B2', -1, 35, 0, 'HS-001', 'KY01')",
    "INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, UpdateTime, DiemMoPhong,"
    " DiemChuanMoPhong, KetQuaMoPhong, TrangThai, SoHoSo, MaKySH, KetQuaSHLyThuyet, AnhChanDung) VALUES"
    " (2, 'K01', 12, '002', 'C', '2024-03-05 09:10:11', 45, 35, 'DAT', 2, 'HS-002', 'KY01', 'DAT', 'QUJD')",
    "INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, DiemMoPhong, DiemChuanMoPhong,"
    " KetQuaMoPhong, TrangThai) VALUES (3, 'K02', 99, '007', 'C', 30, 35, 'KHONG DAT', 2)",
    // K03: key order, state order, text order and numeric order of the
    // order numbers all differ; the score tells the two "2" apart.
    "INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, TrungTam, NgayThi) VALUES ('K03', 'Khóa D', 'TT3', '2024-05-10')",
    "INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, DiemMoPhong, DiemChuanMoPhong, TrangThai)"
    " VALUES (41, 'K03', 11, '10', 41, 35, 0), (42, 'K03', 12, '2', 42, 35, 2), (43, 'K03', 11, '2', 43, 35, 0),"
    " (44, 'K03', 12, '1', 44, 35, 1)",
};

// The text the main window writes: indentation 1, UTF-8.
QByteArray textOf(const QDomDocument &document)
{
    return document.toByteArray(1);
}

QByteArray maskSendTime(QByteArray text)
{
    static const QRegularExpression sendTime(QStringLiteral("<NGAY_GUI>[^<]*</NGAY_GUI>"));
    return QString::fromUtf8(text).replace(sendTime, QStringLiteral("<NGAY_GUI>MASKED</NGAY_GUI>")).toUtf8();
}

QString textAt(const QDomElement &parent, const QString &path)
{
    QDomElement e = parent;
    for (const QString &name : path.split('/'))
        e = e.firstChildElement(name);
    return e.isNull() ? QStringLiteral("<missing>") : e.text();
}

} // namespace

class TestExportXml : public MainDbSuite
{
    Q_OBJECT

public:
    TestExportXml() : MainDbSuite(kDb) {}

private:
    std::unique_ptr<MySqlConnection> m_connection;

    std::unique_ptr<CommonExportXml> builder(const QString &form) const
    {
        if (form == "first")
            return std::make_unique<FirstFormExportXml>(m_connection.get());
        return std::make_unique<SecondFormExportXml>(m_connection.get());
    }

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(createMainDb(&error), qPrintable(error));
        for (const QString &sql : kFixture)
            QVERIFY(exec(sql));
        m_connection = std::make_unique<MySqlConnection>();
        QCOMPARE(openConnection(m_connection.get(), "contest").type(), QSqlError::NoError);
    }

    void matchesGoldenFile_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("golden");
        // The operator's desktop runs with the Vietnamese default locale:
        // the files must not change with it.
        QTest::addColumn<QString>("locale");
        for (const char *locale : {"C", "vi_VN"}) {
            QTest::addRow("first form, %s", locale) << "first" << "tests/fixtures/exports/firstform_K01.xml" << locale;
            QTest::addRow("second form, %s", locale) << "second" << "tests/fixtures/exports/secondform_K01.xml"
                                                     << locale;
        }
    }

    void matchesGoldenFile()
    {
        QFETCH(QString, form);
        QFETCH(QString, golden);
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        const auto restoreLocale = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const QDomDocument document = builder(form)->build("K01");
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        const QByteArray text = textOf(document);

        QFile file(TestDb::sourcePath(golden));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(golden));
        const QByteArray expected = file.readAll();
        if (maskSendTime(text) != expected) {
            QFile actual(QFileInfo(golden).fileName() + ".actual");
            if (actual.open(QIODevice::WriteOnly))
                actual.write(maskSendTime(text));
        }
        QCOMPARE(maskSendTime(text), expected);

        if (form == "first") {
            const QDateTime sent = QDateTime::fromString(textAt(document.documentElement(), "HEADER/NGAY_GUI"),
                                                         "yyyy-MM-dd hh:mm:ss");
            QVERIFY(sent.isValid());
            QVERIFY(before <= sent.addSecs(1) && sent <= after);
        }
        // The name with "&", quotes and brackets reads back as stored.
        QDomDocument reread;
        QVERIFY(reread.setContent(text, false));
        if (form == "first")
            QCOMPARE(reread.documentElement().firstChildElement("DATA").firstChildElement("KY_SH").attribute("xmlns"),
                     kCourseName);
        else
            QCOMPARE(textAt(reread.documentElement(), "THI_SINH/TEN_KY_SAT_HACH"), kCourseName);
    }

    void unknownCourse_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("first form")
            << "first"
            << QByteArray("<?xml version='1.0' encoding='UTF-8'?>\n"
                          "<SAT_HACH>\n"
                          " <HEADER>\n"
                          "  <MA_GIAO_DICH>5f3c9a71-2e8d-4b06-a4c7-91d0e6b2f835</MA_GIAO_DICH>\n"
                          "  <MA_DV_GUI>102</MA_DV_GUI>\n"
                          "  <TEN_DV_GUI></TEN_DV_GUI>\n"
                          "  <NGAY_GUI>MASKED</NGAY_GUI>\n"
                          "  <NGUOI_GUI/>\n"
                          "  <TONG_SO_BAN_GHI>0</TONG_SO_BAN_GHI>\n"
                          " </HEADER>\n"
                          " <DATA>\n"
                          "  <KY_SH xmlns=\"\">\n"
                          "   <MAKYSH></MAKYSH>\n"
                          "   <MATTSH></MATTSH>\n"
                          "   <NGAYSH></NGAYSH>\n"
                          "   <GIOSH/>\n   <SOQD/>\n   <NGAYQD/>\n   <NGUOIQD/>\n   <CHUTICH_HDSH/>\n"
                          "   <PHOCHUTICH_HDSH/>\n   <UV_GD_TTSH/>\n   <UV_TOTRUONG/>\n   <UV_THUKY/>\n"
                          "   <TONGSODK/>\n"
                          "  </KY_SH>\n"
                          "  <NGUOI_LXS/>\n"
                          " </DATA>\n"
                          "</SAT_HACH>\n");
        QTest::newRow("second form") << "second"
                                     << QByteArray("<?xml version='1.0' encoding='UTF-8'?>\n<DULIEU_SATHACH/>\n");
    }

    void unknownCourse()
    {
        QFETCH(QString, form);
        QFETCH(QByteArray, expected);
        QCOMPARE(maskSendTime(textOf(builder(form)->build("NO-SUCH-COURSE"))), expected);
    }

    // The authority reads the candidates in order-number order, whatever
    // order the database server's plan would give.
    void entriesInOrderNumberOrder_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("candidatePath");
        QTest::addColumn<QString>("orderPath");
        QTest::addColumn<QString>("scorePath");
        QTest::newRow("first form") << "first" << "DATA/NGUOI_LXS/NGUOI_LX" << "HO_SO/SO_BAO_DANH"
                                    << "DIEM_MP";
        QTest::newRow("second form") << "second" << "THI_SINH" << "SO_BAO_DANH"
                                     << "KETQUA_SATHACH_M/DIEM_DAT_DUOC";
    }

    void entriesInOrderNumberOrder()
    {
        QFETCH(QString, form);
        QFETCH(QString, candidatePath);
        QFETCH(QString, orderPath);
        QFETCH(QString, scorePath);
        const QDomDocument document = builder(form)->build("K03");
        QStringList path = candidatePath.split('/');
        const QString candidateName = path.takeLast();
        QDomElement parent = document.documentElement();
        for (const QString &name : path)
            parent = parent.firstChildElement(name);
        QStringList listed;
        for (QDomElement e = parent.firstChildElement(candidateName); !e.isNull();
             e = e.nextSiblingElement(candidateName))
            listed << textAt(e, orderPath) + "/" + textAt(e, scorePath);
        QCOMPARE(listed, QStringList({"1/44", "2/42", "2/43", "10/41"}));
    }

    void missingPersonRow_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("candidatePath");
        QTest::addColumn<QStringList>("checks"); // path=value
        QTest::newRow("first form")
            << "first" << "DATA/NGUOI_LXS/NGUOI_LX"
            << QStringList{"SO_TT=0", "MA_DK=", "HO_VA_TEN=", "GIOI_TINH=", "NGAY_SINH=", "SO_CMT=",
                           "SH_MP_STATUS=2", "DIEM_MP=30", "DIEM_CHUAN_MP=35", "KET_QUA_MO_PHONG=KHONG DAT",
                           "HO_SO/SO_BAO_DANH=007", "HO_SO/HANG_GPLX=C"};
        QTest::newRow("second form")
            << "second" << "THI_SINH"
            << QStringList{"MA_DANG_KY=", "HO_VA_TEN=", "HO_TEN_IN=", "NGAY_SINH=", "SO_CMT=", "QUOC_TICH=",
                           "KY_SAT_HACH=K02", "TEN_KY_SAT_HACH=Khóa C", "SO_BAO_DANH=007",
                           "KETQUA_SATHACH_M/DIEM_DAT_DUOC=30", "KETQUA_SATHACH_M/DIEM_CHUAN=35"};
    }

    void missingPersonRow()
    {
        QFETCH(QString, form);
        QFETCH(QString, candidatePath);
        QFETCH(QStringList, checks);
        const QDomDocument document = builder(form)->build("K02");
        QDomElement candidate = document.documentElement();
        for (const QString &name : candidatePath.split('/'))
            candidate = candidate.firstChildElement(name);
        QVERIFY(!candidate.isNull());
        QVERIFY(candidate.nextSiblingElement().isNull());
        for (const QString &check : checks) {
            const QString path = check.section('=', 0, 0);
            QCOMPARE(textAt(candidate, path), check.section('=', 1));
        }
    }
};

ORV_TEST_MAIN_CORE(TestExportXml)
#include "tst_exportxml.moc"
