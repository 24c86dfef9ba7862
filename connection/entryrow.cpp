#include "connection/entryrow.h"

#include "connection/sqlquery.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

namespace {

QVariant storedValue(int value)
{
    return value;
}

QVariant storedValue(const QString &value)
{
    return value;
}

// A null date-time must store SQL NULL, not an empty text that strict mode
// refuses for a DATETIME column.
QVariant storedValue(const QDateTime &value)
{
    return value.isValid() ? QVariant(value) : QVariant();
}

template <typename T>
T readValue(const QVariant &value);

template <>
int readValue<int>(const QVariant &value)
{
    return value.toInt();
}

template <>
QString readValue<QString>(const QVariant &value)
{
    return value.toString();
}

template <>
QDateTime readValue<QDateTime>(const QVariant &value)
{
    return value.toDateTime();
}

struct EntryColumn
{
    const char *name;
    std::function<QVariant(const KhoaThiThiSinh &)> value;
    std::function<void(KhoaThiThiSinh &, const QVariant &)> setValue;
};

template <typename T>
EntryColumn column(const char *name, T (KhoaThiThiSinh::*get)() const,
                   void (KhoaThiThiSinh::*set)(const T &))
{
    return {name, [get](const KhoaThiThiSinh &entry) { return storedValue((entry.*get)()); },
            [set](KhoaThiThiSinh &entry, const QVariant &value) { (entry.*set)(readValue<T>(value)); }};
}

// Every column but the key, in the table's order, which is also the order of
// the import's statement.
const QVector<EntryColumn> &entryColumns()
{
    using K = KhoaThiThiSinh;
    static const QVector<EntryColumn> columns = {
        column("IDKhoaHoc", &K::getIDKhoaHoc, &K::setIDKhoaHoc),
        column("IDThiSinh", &K::getIDThiSinh, &K::setIDThiSinh),
        column("SoBaoDanh", &K::getSoBaoDanh, &K::setSoBaoDanh),
        column("TraLoiDung", &K::getTraLoiDung, &K::setTraLoiDung),
        column("TraLoiSai", &K::getTraLoiSai, &K::setTraLoiSai),
        column("KhongTraLoi", &K::getKhongTraLoi, &K::setKhongTraLoi),
        column("KetQua", &K::getKetQua, &K::setKetQua),
        column("SoChungChiTotNghiep", &K::getSoChungChiTotNghiep, &K::setSoChungChiTotNghiep),
        column("Thi", &K::getThi, &K::setThi),
        column("LoaiBang", &K::getLoaiBang, &K::setLoaiBang),
        column("TraLoi", &K::getTraLoi, &K::setTraLoi),
        column("UpdateTime", &K::getUpdateTime, &K::setUpdateTime),
        column("DiemChuan", &K::getDiemChuan, &K::setDiemChuan),
        column("GhiChu", &K::getGhiChu, &K::setGhiChu),
        column("DiemMoPhong", &K::getDiemMoPhong, &K::setDiemMoPhong),
        column("DiemChuanMoPhong", &K::getDiemChuanMoPhong, &K::setDiemChuanMoPhong),
        column("KetQuaMoPhong", &K::getKetQuaMoPhong, &K::setKetQuaMoPhong),
        column("ThoiGianBatDauThi", &K::getThoiGianBatDauThi, &K::setThoiGianBatDauThi),
        column("ThoiGianKetThucThi", &K::getThoiGianKetThucThi, &K::setThoiGianKetThucThi),
        column("TrangThai", &K::getTrangThai, &K::setTrangThai),
        column("CheckSumKQMP", &K::getCheckSumKQMP, &K::setCheckSumKQMP),
        column("SoHoSo", &K::getSoHoSo, &K::setSoHoSo),
        column("MaKySH", &K::getMaKySH, &K::setMaKySH),
        column("NoiDungSH", &K::getNoiDungSH, &K::setNoiDungSH),
        column("KetQuaSH", &K::getKetQuaSH, &K::setKetQuaSH),
        column("KetQuaSHLyThuyet", &K::getKetQuaSHLyThuyet, &K::setKetQuaSHLyThuyet),
        column("AnhChanDung", &K::getAnhChanDung, &K::setAnhChanDung),
    };
    return columns;
}

} // namespace

QString entryInsertStatement()
{
    QStringList names;
    for (const EntryColumn &c : entryColumns())
        names << QString::fromLatin1(c.name);
    return "INSERT INTO khoathi_thisinh (" + names.join(", ") + ") VALUES (:" + names.join(", :") + ");";
}

void bindEntryColumns(SqlQuery &query, const KhoaThiThiSinh &entry)
{
    for (const EntryColumn &c : entryColumns())
        query.bind(QLatin1Char(':') + QString::fromLatin1(c.name), c.value(entry));
}

KhoaThiThiSinh entryFromRow(const QSqlQuery &query)
{
    const QSqlRecord row = query.record();
    KhoaThiThiSinh entry;
    const int key = row.indexOf("ID");
    if (key >= 0)
        entry.setID(query.value(key).toInt());
    for (const EntryColumn &c : entryColumns()) {
        const int index = row.indexOf(c.name);
        if (index >= 0)
            c.setValue(entry, query.value(index));
    }
    return entry;
}
