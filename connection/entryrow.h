#ifndef CONNECTION_ENTRYROW_H
#define CONNECTION_ENTRYROW_H

#include "records/khoathithisinh.h"

#include <QString>

class QSqlQuery;
class SqlQuery;

// The one mapping between a course entry (a khoathi_thisinh row of the main
// database) and a KhoaThiThiSinh. The import writes the entry's 27 columns,
// every one but the key; the simulation answers and the test details are not
// part of the record and are left as they are.

// The import's INSERT naming those columns, one placeholder each (":" and
// the column's name), in the same order.
QString entryInsertStatement();

// Binds each of those columns to the record's field of the same name: a
// null date-time binds SQL NULL, as a null text does.
void bindEntryColumns(SqlQuery &query, const KhoaThiThiSinh &entry);

// The key and those columns, as far as the row carries them: a column the
// statement did not select keeps the record's default. `query` must stand on
// a row.
KhoaThiThiSinh entryFromRow(const QSqlQuery &query);

#endif // CONNECTION_ENTRYROW_H
