#ifndef TESTS_SUPPORT_PROVINCEUNITROWS_H
#define TESTS_SUPPORT_PROVINCEUNITROWS_H

// The provinces (tinh) and units (donvi) a suite sets up before its courses:
// a course names its unit, and the unit its province. The main and the
// theory-test databases have both tables with the same columns.

#include <QList>
#include <QSqlDatabase>
#include <QString>

class ProvinceUnitRows
{
public:
    struct Province
    {
        QString id;
        QString name;
    };
    struct Unit
    {
        QString id;
        QString provinceId;
        QString name;
    };

    // Inserts the provinces, then the units, into `db`. False (and a warning
    // naming the row and the driver's error) on the first row that fails.
    static bool insert(QSqlDatabase db, const QList<Province> &provinces, const QList<Unit> &units = {});
};

#endif // TESTS_SUPPORT_PROVINCEUNITROWS_H
