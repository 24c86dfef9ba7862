#ifndef CONNECTION_AUXILIARYDB_H
#define CONNECTION_AUXILIARYDB_H

#include "records/auxiliarykhoathithisinh.h"
#include "records/auxiliarystudent.h"
#include "records/course.h"
#include "records/province.h"
#include "records/unit.h"

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// Read access to the theory-test system's database, from which courses,
// candidates and theory results are imported. That database belongs to the
// other system: nothing here writes to it.
class AuxiliaryDb : public QObject
{
    Q_OBJECT

public:
    explicit AuxiliaryDb(QObject *parent = nullptr);

    // No error when the connection opened, else the connection's last error.
    QSqlError initDatabase(const QString &connectionName, const QString &host, int port,
                           const QString &databaseName, const QString &userName,
                           const QString &password);
    QSqlDatabase getDatabase() const;

    // Lists of new records, by numeric order number then entry id: the
    // caller owns the list's elements.
    QList<AuxiliaryKhoaThiThiSinh *> getAuxiliaryKhoaThiThiSinh(const QString &IDKhoaHoc);
    // Only the entries that have a theory result, with SoBaoDanh and KetQua.
    QList<AuxiliaryKhoaThiThiSinh *> getAuxiliaryResults(const QString &IDKhoaHoc);
    // The courses examined in the last six months, newest first.
    QList<Course *> getRecentAuxiliaryCourses();

    // A key that is not in the table gives an empty record.
    Course getAuxiliaryCourse(const QString &IDKhoaHoc);
    Province getAuxiliaryProvince(const QString &IDTinh);
    AuxiliaryStudent getAuxiliaryStudent(int IDThiSinh);
    Unit getAuxiliaryUnit(const QString &IDDonVi);

private:
    QSqlDatabase m_db;
};

#endif // CONNECTION_AUXILIARYDB_H
