#ifndef CONNECTION_COURSEROW_H
#define CONNECTION_COURSEROW_H

#include "records/course.h"

class QSqlQuery;

// The one mapping from a course row (khoathi of the main database, khoahoc
// of the theory-test database) to a Course: every column of the record that
// the row carries, so that a statement selecting fewer columns fills fewer
// fields. The exam date reads the same whether stored as DATE or as
// "yyyyMMdd" text. `query` must stand on a row.
Course courseFromRow(const QSqlQuery &query);

#endif // CONNECTION_COURSEROW_H
