#ifndef CONNECTION_MYSQLCONNECTIONBASE_H
#define CONNECTION_MYSQLCONNECTIONBASE_H

#include "records/contestantresultinfo.h"
#include "records/course.h"
#include "records/reportinfo.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>

#include <mutex>

class QSqlQuery;

// What the operator's connection and a terminal's connection have in common:
// the opening of the main database and the reads both sides run, so that both
// produce the same texts (stored checksums are computed over them).
//
// A connection may be opened on one thread and used on another: it keeps its
// own handle (never looked up by name) and every operation holds the
// connection's lock for as long as its queries live.
class MySqlConnectionBase : public QObject
{
    Q_OBJECT

public:
    explicit MySqlConnectionBase(QObject *parent = nullptr);
    // Leaves the named connection registered and open, as its owner may still
    // reach it by name.
    ~MySqlConnectionBase() override;

    // Registers (or replaces) connection `connectionName` and opens it. Logs
    // nothing: the caller decides what a failure means.
    QSqlError initDatabase(const QString &connectionName, const QString &host, int port,
                           const QString &databaseName, const QString &userName,
                           const QString &password);

    // The courses whose examination is running: only code and name are set.
    QList<Course> getCoursesByState();
    // The ten texts a stored result's checksum covers.
    ContestantResultInfo getContestantResultInfo(int id);
    // The stored photo (Base64) of the entry with this order number in the
    // course; empty when there is none.
    QString getAvatarInfoForContestant(const QString &soBaoDanh, const QString &idKhoaHoc);

    // An entry's reset history (its GhiChu) holds one item per reset, "the
    // reset's local time in RESET_TIME_FORMAT, '#', the reason", joined by
    // ';'. The time of the last one; invalid when there is none.
    static constexpr const char *RESET_TIME_FORMAT = "dd/MM/yyyy hh:mm:ss";
    static QDateTime lastResetTime(const QString &history);

protected:
    // Fills a result sheet from `entry`, a query positioned on the entry's
    // khoathi_thisinh row, then the person, course, unit and province rows.
    // A missing row along the way leaves empty texts (the province name too).
    ReportInfo readPrintDetail(const QSqlQuery &entry, const QString &courseCode,
                               const QString &orderNumber);

    // The column of the row `query` stands on; an invalid value (empty text,
    // zero, null date) when it stands on no row, so a missing row reads as
    // empty without a warning per column.
    static QVariant fieldOf(const QSqlQuery &query, const QString &name);

    // A time of a stored result as its checksum covers it (the date and the
    // literal " hh:mm:ss"); empty for no date.
    static QString resultTimeText(const QVariant &value);
    // The checksum's identity texts and start time from `query`, a query
    // positioned on a row of thisinh joined with khoathi_thisinh.
    static void readIdentity(const QSqlQuery &query, ContestantResultInfo *info);

    // Column `column` of the entry with order number `soBaoDanh` in course
    // `idKhoaHoc` (the first, should there be several); an invalid value when
    // the statement fails or there is no such entry. `name` is the statement's
    // name in the log (a literal).
    QVariant entryValue(const char *name, const QString &idKhoaHoc, const QString &soBaoDanh,
                        const QString &column);

    QSqlDatabase m_db;
    // Recursive: an operation may call another one of the same connection.
    std::recursive_mutex m_mutex;
};

#endif // CONNECTION_MYSQLCONNECTIONBASE_H
