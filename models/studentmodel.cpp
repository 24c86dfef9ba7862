#include "models/studentmodel.h"

#include "records/studentinfo.h"
#include "records/utility.h"

#include <QFont>
#include <QStringList>

namespace {
const QStringList &studentHeaders()
{
    // In the order of StudentModel::Column. ColumnGender shows the gender
    // under the birth date's header text; it is hidden in the window, and
    // the header is kept as the operators know it.
    static const QStringList headers = {
        QStringLiteral("ID"),
        QStringLiteral("Họ và tên"),
        QStringLiteral("Số báo danh"),
        QStringLiteral("Định danh cá nhân"),
        QStringLiteral("Ngày sinh"),
        QStringLiteral("Hạng giấy phép"),
        QStringLiteral("Thời gian bắt đầu thi"),
        QStringLiteral("Thời gian kết thúc thi"),
        QStringLiteral("Điểm MP"),
        QStringLiteral("Điểm chuẩn MP"),
        QStringLiteral("Kết quả MP"),
        QStringLiteral("Ngày sinh"),
        QStringLiteral("Kết quả LT"),
        QStringLiteral("Trạng thái"),
        QStringLiteral("Nội dung SH"),
    };
    return headers;
}

// A negative score or pass mark means "none" and shows blank.
QVariant markOrBlank(int value)
{
    return value < 0 ? QVariant(QString()) : QVariant(value);
}
} // namespace

StudentModel::StudentModel(QObject *parent) : QAbstractTableModel(parent) {}

int StudentModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int StudentModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : studentHeaders().size();
}

QVariant StudentModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_rows.size()
        || index.column() >= studentHeaders().size())
        return QVariant();
    if (role == Qt::FontRole) {
        if (index.column() != ColumnResult)
            return QVariant();
        QFont font;
        font.setWeight(QFont::Bold);
        return font;
    }
    if (role == OrderNumberTextRole) {
        if (index.column() != ColumnOrderNumber)
            return QVariant();
        return m_rows.at(index.row())->getSoBaoDanh();
    }
    if (role != Qt::DisplayRole)
        return QVariant();

    const StudentInfo *row = m_rows.at(index.row());
    switch (index.column()) {
    case ColumnId:
        return row->getID();
    case ColumnName:
        return row->getHoTen();
    case ColumnOrderNumber:
        // Shown and sorted as a number; a text that is not one reads 0.
        return row->getSoBaoDanh().toInt(nullptr, 10);
    case ColumnIdentityNumber:
        return row->getSoCMT();
    case ColumnBirthDate:
        return row->getNgaySinh().toString(QStringLiteral("yyyy-MM-dd"));
    case ColumnLicenceClass:
        return row->getLoaiBang();
    case ColumnStartTime:
        return row->getThoiGianBatDauThi();
    case ColumnEndTime:
        return row->getThoiGianKetThucThi();
    case ColumnScore:
        return markOrBlank(row->getDiemMoPhong());
    case ColumnPassMark:
        return markOrBlank(row->getDiemChuanMoPhong());
    case ColumnResult:
        return Utility::getInstance()->resultLabel(row->getKetQuaMoPhong());
    case ColumnGender:
        return row->getGioiTinh();
    case ColumnTheoryResult:
        return row->getKetQuaSHLyThuyet();
    case ColumnState:
        return row->getTrangThai();
    case ColumnContent:
        return row->getNoiDungSH();
    default:
        return QVariant();
    }
}

QVariant StudentModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || section < 0)
        return QVariant();
    if (orientation == Qt::Vertical)
        return QString::number(section + 1);
    if (section >= studentHeaders().size())
        return QVariant();
    return studentHeaders().at(section);
}

bool StudentModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_rows.size())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    endRemoveRows();
    return true;
}

bool StudentModel::addStudentInfo(StudentInfo *row)
{
    if (!row)
        return false;
    const int position = m_rows.size();
    beginInsertRows(QModelIndex(), position, position);
    m_rows.append(row);
    endInsertRows();
    return true;
}

void StudentModel::setStudentInfoList(const QList<StudentInfo *> &rows)
{
    if (!m_rows.isEmpty()) {
        beginRemoveRows(QModelIndex(), 0, m_rows.size() - 1);
        m_rows.clear();
        endRemoveRows();
    }
    QList<StudentInfo *> shown;
    shown.reserve(rows.size());
    for (StudentInfo *row : rows) {
        if (row)
            shown.append(row);
    }
    if (shown.isEmpty())
        return;
    beginInsertRows(QModelIndex(), 0, shown.size() - 1);
    m_rows = shown;
    endInsertRows();
}
