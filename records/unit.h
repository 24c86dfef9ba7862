#ifndef RECORDS_UNIT_H
#define RECORDS_UNIT_H

#include "records/recordfield.h"

#include <QString>

class Province;

// One donvi row: a training unit. The unit never deletes its province: the
// producer's caller owns it (a unit list read from the database comes with
// provinces of its own). Null when the unit's province is unknown.
class Unit
{
    RECORD_FIELD(QString, IDDonVi, QString())
    RECORD_FIELD(QString, IDTinh, QString())
    RECORD_FIELD(QString, TenDonVi, QString())

public:
    Province *getProvince() const { return m_province; }
    void setProvince(Province *province) { m_province = province; }

private:
    Province *m_province = nullptr;
};

#endif // RECORDS_UNIT_H
