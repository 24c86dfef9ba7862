#include "ui/dbconnectiontest.h"

bool DbConnectionTest::tryOpen(const QSqlDatabase &db, const QString &probeName)
{
    bool opened = false;
    {
        QSqlDatabase probe = QSqlDatabase::cloneDatabase(db, probeName);
        opened = probe.open();
        probe.close();
    }
    // The name can only be unregistered once no handle refers to it.
    QSqlDatabase::removeDatabase(probeName);
    return opened;
}
