#include "tests/support/provinceunitrows.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>

bool ProvinceUnitRows::insert(QSqlDatabase db, const QList<Province> &provinces, const QList<Unit> &units)
{
    QSqlQuery province(db);
    province.prepare("INSERT INTO tinh (IDTinh, TenTinh) VALUES (:IDTinh, :TenTinh)");
    for (const Province &row : provinces) {
        province.bindValue(":IDTinh", row.id);
        province.bindValue(":TenTinh", row.name);
        if (!province.exec()) {
            qWarning() << "ProvinceUnitRows: province" << row.id << province.lastError().text();
            return false;
        }
    }
    QSqlQuery unit(db);
    unit.prepare("INSERT INTO donvi (IDDonVi, IDTinh, TenDonVi) VALUES (:IDDonVi, :IDTinh, :TenDonVi)");
    for (const Unit &row : units) {
        unit.bindValue(":IDDonVi", row.id);
        unit.bindValue(":IDTinh", row.provinceId);
        unit.bindValue(":TenDonVi", row.name);
        if (!unit.exec()) {
            qWarning() << "ProvinceUnitRows: unit" << row.id << unit.lastError().text();
            return false;
        }
    }
    return true;
}
