#include "server/business/dataimporter.h"

#include "connection/auxiliarydb.h"
#include "connection/mysqlconnection.h"
#include "records/auxiliarykhoathithisinh.h"
#include "records/auxiliarystudent.h"
#include "records/khoathithisinh.h"
#include "records/safetext.h"
#include "records/student.h"

#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QDomElement>
#include <QDomNode>
#include <QtAlgorithms>

namespace {

// The element's text, empty when the element is missing.
QString childText(const QDomElement &parent, const QString &name)
{
    return parent.firstChildElement(name).text();
}

int decimalOrZero(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

// "007" is stored as "7": order numbers are compared as numbers elsewhere.
// Anything else is marked "-1" for the operator to correct.
QString orderNumberText(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    return ok ? QString::number(value) : QString("-1");
}

// The name as it is stored: a line break, a tab or another control
// character would reach the sheets and the forms, and is stored as a space.
QString storedName(const QString &name, const char *import, const QString &candidate)
{
    if (!SafeText::hasControls(name))
        return name;
    qWarning() << import << "stores the control characters in the name of candidate" << candidate
               << "as spaces";
    return SafeText::withoutControls(name);
}

// Frees the records of a list read from a database when it goes out of scope.
template <typename T>
struct OwnedList
{
    QList<T *> items;
    ~OwnedList() { qDeleteAll(items); }
};

} // namespace

DataImporter::DataImporter(MySqlConnection *main, MySqlConnection *main2, AuxiliaryDb *aux,
                           AuxiliaryDb *aux2)
    : m_main(main)
    , m_main2(main2)
    , m_aux(aux)
    , m_aux2(aux2)
{
}

DataImporter::CourseImportResult DataImporter::importCourse(const QString &courseId)
{
    CourseImportResult result;
    if (!m_main || !m_aux)
        return result;

    OwnedList<AuxiliaryKhoaThiThiSinh> entries;
    entries.items = m_aux->getAuxiliaryKhoaThiThiSinh(courseId);
    result.total = entries.items.size();

    Course course = m_aux->getAuxiliaryCourse(courseId);
    const Unit unit = m_aux->getAuxiliaryUnit(course.getIDDonVi());
    const Province province = m_aux->getAuxiliaryProvince(unit.getIDTinh());
    // Reported whether inserted or not: the caller links a new unit to the
    // province read here.
    result.province = province;
    result.unit = unit;
    result.unit.setProvince(nullptr);

    // An empty key means the theory-test database has no such row: there is
    // nothing to copy, and a keyless row must not be written.
    if (!province.getIDTinh().isEmpty()
        && m_main->getProvince(province.getIDTinh()).getIDTinh().isEmpty())
        result.provinceInserted = m_main->insertProvince(province);
    if (!unit.getIDDonVi().isEmpty() && m_main->getUnit(unit.getIDDonVi()).getIDDonVi().isEmpty())
        result.unitInserted = m_main->insertUnit(unit);

    if (!m_main->getCourse(courseId).getIDKhoaHoc().isEmpty()) {
        result.imported = -1;
        return result;
    }

    course.setTrangThai(1);
    course.setNgayImport(QDate::currentDate());
    result.courseInserted = !course.getIDKhoaHoc().isEmpty() && m_main->insertKhoaThi(course);
    if (!result.courseInserted) {
        // Entries without their course would be listed nowhere, and written
        // again by the next attempt.
        qDebug() << "DataImporter::importCourse: course not stored, no candidate written" << courseId;
        return result;
    }
    result.course = course;

    int sequence = 0;
    for (const AuxiliaryKhoaThiThiSinh *entry : qAsConst(entries.items)) {
        ++sequence;
        const AuxiliaryStudent person = m_aux->getAuxiliaryStudent(entry->getIDThiSinh());
        if (person.getIDThiSinh() == 0) {
            qDebug() << "DataImporter::importCourse: no person" << entry->getIDThiSinh()
                     << "for order number" << entry->getSoBaoDanh();
            continue;
        }

        Student student;
        student.setSoTT(sequence);
        student.setMa_Dang_Ky(person.getMa_Dang_Ky());
        student.setMa_Ky_SH(person.getMa_Ky_SH());
        student.setHoTen(storedName(person.getHoTen(), "DataImporter::importCourse",
                                    courseId + " " + entry->getSoBaoDanh()));
        student.setGioiTinh(person.getGioiTinh());
        student.setSoCMT(person.getSoCMT());
        student.setNgaySinh(person.getNgaySinh());
        // The row just written, not an older person who shares the identity
        // number and name.
        const int personId = m_main->insertPerson(student);
        if (personId <= 0)
            continue;

        KhoaThiThiSinh row;
        row.setIDKhoaHoc(courseId);
        row.setIDThiSinh(personId);
        row.setSoBaoDanh(entry->getSoBaoDanh());
        row.setTraLoiDung(entry->getTraLoiDung());
        row.setTraLoiSai(entry->getTraLoiSai());
        row.setKhongTraLoi(entry->getKhongTraLoi());
        row.setKetQua(entry->getKetQua());
        row.setSoChungChiTotNghiep(entry->getSoChungChiTotNghiep());
        row.setThi(entry->getThi());
        row.setLoaiBang(entry->getLoaiBang());
        row.setTraLoi(entry->getTraLoi());
        row.setDiemChuan(entry->getDiemChuan());
        row.setUpdateTime(QDateTime::currentDateTime());
        row.setAnhChanDung(person.getAnh());
        row.setNoiDungSH(person.getnoidungSH());
        if (m_main->insertKhoaThiThiSinh(row))
            ++result.imported;
    }
    return result;
}

QPair<int, int> DataImporter::importCandidatesXml(const QDomDocument &document,
                                                  const QString &courseId)
{
    const QDomElement root = document.documentElement();
    const int declared =
        decimalOrZero(root.firstChildElement("HEADER").firstChildElement("TONG_SO_BAN_GHI").text());
    int imported = 0;
    if (!m_main)
        return qMakePair(imported, declared);

    const QDomElement list = root.firstChildElement("DATA").firstChildElement("NGUOI_LXS");
    for (QDomNode node = list.firstChild(); !node.isNull(); node = node.nextSibling()) {
        // A comment or processing instruction between candidates is not the
        // end of the list.
        if (!node.isElement())
            continue;
        const QDomElement candidate = node.toElement();
        const QDomElement file = candidate.firstChildElement("HO_SO");

        Student student;
        student.setSoTT(decimalOrZero(childText(candidate, "SO_TT")));
        student.setMa_Dang_Ky(childText(candidate, "MA_DK"));
        student.setHoTen(storedName(childText(candidate, "HO_VA_TEN"), "DataImporter::importCandidatesXml",
                                    childText(candidate, "MA_DK")));
        student.setGioiTinh(childText(candidate, "GIOI_TINH"));
        student.setNgaySinh(QDate::fromString(childText(candidate, "NGAY_SINH"), "yyyyMMdd"));
        student.setSoCMT(childText(candidate, "SO_CMT"));
        student.setDiaChi(childText(candidate, "NOI_CT"));
        student.setMa_Ky_SH(childText(file, "MA_KY_SH"));

        KhoaThiThiSinh row;
        row.setSoHoSo(childText(file, "SO_HO_SO"));
        row.setMaKySH(student.getMa_Ky_SH());
        row.setSoBaoDanh(orderNumberText(childText(file, "SO_BAO_DANH")));
        row.setLoaiBang(childText(file, "HANG_GPLX"));
        row.setNoiDungSH(childText(file, "NOI_DUNG_SH"));
        row.setKetQuaSH(childText(file, "KET_QUA_SH"));
        row.setKetQuaSHLyThuyet(childText(file, "KQ_SH_LYTHUYET"));
        row.setAnhChanDung(childText(file, "ANH_CHAN_DUNG"));

        int personId = m_main
                           ->findStudent(student.getSoCMT(), student.getHoTen(),
                                         student.getMa_Ky_SH())
                           .getIDThiSinh();
        if (personId == 0)
            personId = m_main->insertPerson(student);
        if (personId <= 0) {
            // An entry linked to no person would show as a blank candidate.
            qDebug() << "DataImporter::importCandidatesXml: person not stored"
                     << student.getMa_Dang_Ky();
            continue;
        }

        row.setIDKhoaHoc(courseId);
        row.setIDThiSinh(personId);
        if (m_main->insertKhoaThiThiSinh(row))
            ++imported;
    }
    return qMakePair(imported, declared);
}

DataImporter::TheoryRefreshResult DataImporter::refreshTheoryResults(const QString &currentCourseId)
{
    TheoryRefreshResult result;
    if (!m_main || !m_main2 || !m_aux2)
        return result;

    const QList<Course> courses = m_main->getCoursesByState();
    for (const Course &course : courses) {
        const QString id = course.getIDKhoaHoc();
        if (!currentCourseId.isEmpty() && id == currentCourseId)
            result.currentCourseExamined = true;

        OwnedList<KhoaThiThiSinh> failed;
        failed.items = m_main2->getTheoryFailedStudents(id);
        if (failed.items.isEmpty())
            continue;
        OwnedList<AuxiliaryKhoaThiThiSinh> theory;
        theory.items = m_aux2->getAuxiliaryResults(id);

        for (const KhoaThiThiSinh *entry : qAsConst(failed.items)) {
            for (const AuxiliaryKhoaThiThiSinh *answer : qAsConst(theory.items)) {
                if (answer->getSoBaoDanh() != entry->getSoBaoDanh())
                    continue;
                if (answer->getKetQua().compare(entry->getKetQuaSHLyThuyet(), Qt::CaseInsensitive) == 0)
                    continue;
                if (m_main->updateKetQuaSHLyThuyet(entry->getID(), answer->getKetQua()))
                    ++result.updated;
                break;
            }
        }
    }
    return result;
}
