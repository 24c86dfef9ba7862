#ifndef TESTS_ENDTOEND_ENDTOENDFIXTURE_H
#define TESTS_ENDTOEND_ENDTOENDFIXTURE_H

// Shared by the end-to-end suites: a terminal of our own that speaks to the
// server over loopback (tests/support/terminalsteps.h), and reads of what the
// server left in the database.

#include "tests/support/imagefile.h"
#include "tests/support/terminalsteps.h"
#include "tests/support/testdb.h"
#include "tests/support/testterminal.h"
#include "tests/support/testterminalmessages.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace EndToEnd {

using Messages = TestTerminalMessages;

// The first column of the first row of `sql`, or an invalid value.
inline QVariant scalar(QSqlDatabase db, const QString &sql)
{
    return TestDb::scalar(db, sql);
}

// Sessions the database server has open on `dbName`, every account counted.
inline int sessionsOn(QSqlDatabase db, const QString &dbName)
{
    QSqlQuery q(db);
    q.prepare("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE DB = :db");
    q.bindValue(":db", dbName);
    if (!q.exec() || !q.next())
        return -1;
    return q.value(0).toInt();
}

// An image file of the given size as stored in a candidate's photo column.
inline QByteArray imageFile(int width, int height, const char *format = "PNG")
{
    return ImageFile::filled(width, height, Qt::darkCyan, format);
}

using TerminalSteps::clientIds;
using TerminalSteps::enter;
using TerminalSteps::expectFrame;
using TerminalSteps::requestContestNames;

} // namespace EndToEnd

#endif // TESTS_ENDTOEND_ENDTOENDFIXTURE_H
