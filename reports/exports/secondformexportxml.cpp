#include "reports/exports/secondformexportxml.h"

#include "connection/mysqlconnection.h"
#include "records/course.h"
#include "records/khoathithisinh.h"
#include "records/student.h"

namespace {

// A result block: the score and the pass mark, empty unless given.
void appendResultBlock(QDomDocument &doc, QDomElement &candidate, const QString &name,
                       const QString &score = QString(), const QString &passMark = QString())
{
    QDomElement block = doc.createElement(name);
    candidate.appendChild(block);
    QDomElement scoreElement = doc.createElement(QStringLiteral("DIEM_DAT_DUOC"));
    QDomElement passElement = doc.createElement(QStringLiteral("DIEM_CHUAN"));
    if (!score.isNull())
        scoreElement.appendChild(doc.createTextNode(score));
    if (!passMark.isNull())
        passElement.appendChild(doc.createTextNode(passMark));
    block.appendChild(scoreElement);
    block.appendChild(passElement);
}

} // namespace

SecondFormExportXml::SecondFormExportXml(MySqlConnection *connection) : CommonExportXml(connection) {}

QDomDocument SecondFormExportXml::build(const QString &courseCode)
{
    const Course course = connection() ? connection()->getCourse(courseCode) : Course();
    const QList<KhoaThiThiSinh *> entries =
        connection() ? connection()->getKhoaThiThiSinhList(courseCode) : QList<KhoaThiThiSinh *>();

    QDomDocument doc = newDocument();
    QDomElement root = doc.createElement(QStringLiteral("DULIEU_SATHACH"));
    doc.appendChild(root);
    for (const KhoaThiThiSinh *entry : entries) {
        const Student student = connection()->getStudent(entry->getIDThiSinh());
        QDomElement candidate = appendEmpty(doc, root, QStringLiteral("THI_SINH"));
        appendText(doc, candidate, QStringLiteral("MA_DANG_KY"), student.getMa_Dang_Ky());
        appendText(doc, candidate, QStringLiteral("HO_VA_TEN"), student.getHoTen());
        appendText(doc, candidate, QStringLiteral("HO_TEN_IN"), student.getHoTen());
        appendText(doc, candidate, QStringLiteral("NGAY_SINH"),
                   student.getNgaySinh().toString(QStringLiteral("yyyyMMdd")));
        appendText(doc, candidate, QStringLiteral("SO_CMT"), student.getSoCMT());
        appendText(doc, candidate, QStringLiteral("ANH_CHAN_DUNG"), entry->getAnhChanDung());
        appendText(doc, candidate, QStringLiteral("QUOC_TICH"), student.getQuocTich());
        appendEmpty(doc, candidate, QStringLiteral("NOI_CT"));
        appendText(doc, candidate, QStringLiteral("HANG_GPLX"), entry->getLoaiBang());
        appendText(doc, candidate, QStringLiteral("KY_SAT_HACH"), course.getIDKhoaHoc());
        appendText(doc, candidate, QStringLiteral("TEN_KY_SAT_HACH"), course.getTenKhoaHoc());
        appendText(doc, candidate, QStringLiteral("SO_BAO_DANH"), entry->getSoBaoDanh());
        appendResultBlock(doc, candidate, QStringLiteral("KETQUA_SATHACH_L"));
        appendResultBlock(doc, candidate, QStringLiteral("KETQUA_SATHACH_M"), QString::number(entry->getDiemMoPhong()),
                          QString::number(entry->getDiemChuanMoPhong()));
        appendResultBlock(doc, candidate, QStringLiteral("KETQUA_SATHACH_H"));
        appendResultBlock(doc, candidate, QStringLiteral("KETQUA_SATHACH_D"));
    }
    qDeleteAll(entries);
    return doc;
}
