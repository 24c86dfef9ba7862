#include "reports/exports/firstformexportxml.h"

#include "connection/mysqlconnection.h"
#include "records/course.h"
#include "records/khoathithisinh.h"
#include "records/student.h"

#include <QDateTime>
#include <QLocale>

namespace {

const QString kTransactionCode = QStringLiteral("5f3c9a71-2e8d-4b06-a4c7-91d0e6b2f835");
const QString kSenderCode = QStringLiteral("102");

// "Wed Mar 5 09:10:11 2024" in English whatever the system's language.
QString dateTimeText(const QDateTime &time)
{
    if (!time.isValid())
        return QLatin1String("");
    return QLocale::c().toString(time, QStringLiteral("ddd MMM d hh:mm:ss yyyy"));
}

} // namespace

FirstFormExportXml::FirstFormExportXml(MySqlConnection *connection) : CommonExportXml(connection) {}

QDomDocument FirstFormExportXml::build(const QString &courseCode)
{
    const Course course = connection() ? connection()->getCourse(courseCode) : Course();
    const QList<KhoaThiThiSinh *> entries =
        connection() ? connection()->getKhoaThiThiSinhList(courseCode) : QList<KhoaThiThiSinh *>();

    QDomDocument doc = newDocument();
    QDomElement root = doc.createElement(QStringLiteral("SAT_HACH"));
    doc.appendChild(root);

    QDomElement header = appendEmpty(doc, root, QStringLiteral("HEADER"));
    appendText(doc, header, QStringLiteral("MA_GIAO_DICH"), kTransactionCode);
    appendText(doc, header, QStringLiteral("MA_DV_GUI"), kSenderCode);
    appendText(doc, header, QStringLiteral("TEN_DV_GUI"), course.getTrungTam());
    appendText(doc, header, QStringLiteral("NGAY_GUI"),
               QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    appendEmpty(doc, header, QStringLiteral("NGUOI_GUI"));
    appendText(doc, header, QStringLiteral("TONG_SO_BAN_GHI"), QString::number(entries.size()));

    QDomElement data = appendEmpty(doc, root, QStringLiteral("DATA"));
    QDomElement exam = appendEmpty(doc, data, QStringLiteral("KY_SH"));
    exam.setAttribute(QStringLiteral("xmlns"), course.getTenKhoaHoc());
    appendText(doc, exam, QStringLiteral("MAKYSH"), course.getIDKhoaHoc());
    appendText(doc, exam, QStringLiteral("MATTSH"), course.getTrungTam());
    appendText(doc, exam, QStringLiteral("NGAYSH"), course.getNgayThi().toString(QStringLiteral("yy-MM-dd")));
    for (const char *name : {"GIOSH", "SOQD", "NGAYQD", "NGUOIQD", "CHUTICH_HDSH", "PHOCHUTICH_HDSH", "UV_GD_TTSH",
                             "UV_TOTRUONG", "UV_THUKY", "TONGSODK"})
        appendEmpty(doc, exam, QString::fromLatin1(name));

    QDomElement drivers = appendEmpty(doc, data, QStringLiteral("NGUOI_LXS"));
    for (const KhoaThiThiSinh *entry : entries) {
        const Student student = connection()->getStudent(entry->getIDThiSinh());
        QDomElement driver = appendEmpty(doc, drivers, QStringLiteral("NGUOI_LX"));
        appendText(doc, driver, QStringLiteral("SO_TT"), QString::number(student.getSoTT()));
        appendText(doc, driver, QStringLiteral("MA_DK"), student.getMa_Dang_Ky());
        appendText(doc, driver, QStringLiteral("HO_VA_TEN"), student.getHoTen());
        appendText(doc, driver, QStringLiteral("GIOI_TINH"), student.getGioiTinh());
        appendText(doc, driver, QStringLiteral("NGAY_SINH"), student.getNgaySinh().toString(QStringLiteral("yyyyMMdd")));
        for (const char *name : {"MA_QUOC_TICH", "NOI_CT", "NOI_CT_MA_DVHC", "NOI_CT_MA_DVQL"})
            appendEmpty(doc, driver, QString::fromLatin1(name));
        appendText(doc, driver, QStringLiteral("SO_CMT"), student.getSoCMT());
        appendText(doc, driver, QStringLiteral("SH_MP_STATUS"), QString::number(entry->getTrangThai()));
        appendText(doc, driver, QStringLiteral("DIEM_MP"), QString::number(entry->getDiemMoPhong()));
        appendText(doc, driver, QStringLiteral("DIEM_CHUAN_MP"), QString::number(entry->getDiemChuanMoPhong()));
        appendText(doc, driver, QStringLiteral("DIEM_CHITIET_MP"), QString::number(entry->getDiemMoPhong()));
        appendText(doc, driver, QStringLiteral("THI_CHITIET_MP"), QStringLiteral("EMPTY"));
        appendText(doc, driver, QStringLiteral("THOIGIAN_SH_MP"), dateTimeText(entry->getUpdateTime()));
        appendText(doc, driver, QStringLiteral("KET_QUA_MO_PHONG"), entry->getKetQuaMoPhong());

        QDomElement file = appendEmpty(doc, driver, QStringLiteral("HO_SO"));
        appendText(doc, file, QStringLiteral("SO_HO_SO"), entry->getSoHoSo());
        appendText(doc, file, QStringLiteral("MA_KY_SH"), entry->getMaKySH());
        appendText(doc, file, QStringLiteral("SO_BAO_DANH"), entry->getSoBaoDanh());
        for (const char *name : {"MA_CSDT", "MA_TTSH", "MA_SO_GTVT", "GIAY_CNSK"})
            appendEmpty(doc, file, QString::fromLatin1(name));
        appendText(doc, file, QStringLiteral("HANG_GPLX"), entry->getLoaiBang());
        for (const char *name : {"SO_GPLX_DA_CO", "HANG_GPLX_DA_CO", "DVQL_GPLX_DACO", "NGAY_HH_GPLX_DACO",
                                 "SO_NAM_LAIXE", "SO_KM_ANTOAN", "SO_GIAY_CNTN", "SO_CCN", "NOI_DUNG_SH", "LY_DO_SH",
                                 "KET_QUA_SH"})
            appendEmpty(doc, file, QString::fromLatin1(name));
        appendText(doc, file, QStringLiteral("KQ_SH_LYTHUYET"), entry->getKetQuaSHLyThuyet());
        for (const char *name : {"KQ_SH_HINH", "KQ_SH_DUONG", "GHI_CHU_SH"})
            appendEmpty(doc, file, QString::fromLatin1(name));
        appendText(doc, file, QStringLiteral("ANH_CHAN_DUNG"), entry->getAnhChanDung());
        for (const char *name : {"NGAY_TT_GPLX_DACO", "MA_KHOA_HOC", "SO_QD_SH", "NGAY_QD_SH", "NGUOI_QD_SH",
                                 "CHAT_LUONG_ANH"})
            appendEmpty(doc, file, QString::fromLatin1(name));
    }
    qDeleteAll(entries);
    return doc;
}
