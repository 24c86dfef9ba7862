#include "records/studentinfolist.h"

#include "records/crudstudentinfo.h"
#include "records/studentinfo.h"

#include <utility>

StudentInfoList::StudentInfoList() : m_rows(new QList<StudentInfo *>) {}

StudentInfoList::~StudentInfoList()
{
    if (m_rows)
        qDeleteAll(*m_rows);
    delete m_rows;
}

StudentInfoList::StudentInfoList(StudentInfoList &&other) noexcept
    : m_rows(std::exchange(other.m_rows, new QList<StudentInfo *>))
{
}

StudentInfoList &StudentInfoList::operator=(StudentInfoList &&other) noexcept
{
    if (this != &other)
        std::swap(m_rows, other.m_rows);
    return *this;
}

void StudentInfoList::append(StudentInfo *row)
{
    m_rows->append(row);
}

int StudentInfoList::size() const
{
    return m_rows->size();
}

StudentInfo *StudentInfoList::at(int index) const
{
    return m_rows->value(index, nullptr);
}

const QList<StudentInfo *> &StudentInfoList::rows() const
{
    return *m_rows;
}

StudentInfo *StudentInfoList::findById(int id) const
{
    return findIndexById(id).second;
}

QPair<int, StudentInfo *> StudentInfoList::findIndexById(int id) const
{
    for (int i = 0; i < m_rows->size(); ++i) {
        if (m_rows->at(i)->getID() == id)
            return {i, m_rows->at(i)};
    }
    return {0, nullptr};
}

void StudentInfoList::resetResultAt(int index)
{
    StudentInfo *row = at(index);
    if (!row)
        return;
    row->setThoiGianBatDauThi(QString(""));
    row->setThoiGianKetThucThi(QString(""));
    row->setDiemMoPhong(-1);
    row->setDiemChuanMoPhong(35); // the pass mark a new entry starts with
    row->setKetQuaMoPhong(QString(""));
    row->setTrangThai(0);
}

int StudentInfoList::setResultById(int score, int passMark, const QString &result, int id,
                                   const QString &endTime)
{
    const QPair<int, StudentInfo *> found = findIndexById(id);
    if (!found.second)
        return -1;
    found.second->setDiemMoPhong(score);
    found.second->setDiemChuanMoPhong(passMark);
    found.second->setKetQuaMoPhong(result);
    found.second->setThoiGianKetThucThi(endTime);
    found.second->setTrangThai(2);
    return found.first;
}

int StudentInfoList::setStartTimeById(int id, const QString &startTime)
{
    const QPair<int, StudentInfo *> found = findIndexById(id);
    if (!found.second)
        return -1;
    found.second->setThoiGianBatDauThi(startTime);
    found.second->setTrangThai(1);
    return found.first;
}

void StudentInfoList::updateInfoAt(int index, const CRUDStudentInfo &info)
{
    StudentInfo *row = at(index);
    if (!row)
        return;
    row->setHoTen(info.getHoTen());
    row->setNgaySinh(info.getNgaySinh());
    row->setSoBaoDanh(info.getSoBaoDanh());
    row->setLoaiBang(info.getLoaiBang());
    row->setGioiTinh(info.getGioiTinh());
    row->setSoCMT(info.getSoCMT());
}

void StudentInfoList::removeAt(int index)
{
    if (index < 0 || index >= m_rows->size())
        return;
    delete m_rows->takeAt(index);
}
