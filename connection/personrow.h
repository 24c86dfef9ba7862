#ifndef CONNECTION_PERSONROW_H
#define CONNECTION_PERSONROW_H

#include "records/student.h"

class QSqlQuery;

// Whether a person's nationality is read: the read by key fills it, the
// imports' look-ups by identity number and name leave it empty.
enum class PersonNationality { Read, Skipped };

// The one mapping from a person row (thisinh of the main database) to a
// Student: key, number, registration and period codes, name, sex, identity
// number and birth date, and the nationality when asked for. The address is
// never read back. `query` must stand on a row.
Student personFromRow(const QSqlQuery &query, PersonNationality nationality);

#endif // CONNECTION_PERSONROW_H
