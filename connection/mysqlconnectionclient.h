#ifndef CONNECTION_MYSQLCONNECTIONCLIENT_H
#define CONNECTION_MYSQLCONNECTIONCLIENT_H

#include "connection/mysqlconnectionbase.h"
#include "connection/sqlquery.h"
#include "records/contestantresultinfo.h"
#include "records/ordernumbercheck.h"
#include "records/reportinfo.h"

#include <QDateTime>
#include <QString>

// One exam terminal's access to the main database, on a connection of its
// own (opened with initDatabase): admission by order number, the photo, the
// start and the result of the examination, the checksum and the result sheet.
// Mind the argument order: it differs between operations.
class MySqlConnectionClient : public MySqlConnectionBase
{
    Q_OBJECT

public:
    // What a result's checksum needs of its entry before the result is
    // stored, and what guards the write.
    struct ResultBasis
    {
        bool found = false;
        // As stored, whatever the case or width the terminal sent it in.
        QString courseCode;
        // NULL reads 0.
        int state = 0;
        // ThoiGianBatDauThi as "yyyy-MM-dd hh:mm:ss": the sitting; empty
        // when NULL.
        QString startTime;
        // ChiTietThi as stored (NULL reads 0).
        int attempts = 0;
        // The time of the entry's last reset; invalid when it was never
        // reset.
        QDateTime lastReset;
        // The identity texts and the start time, as the checksum covers them.
        ContestantResultInfo identity;
    };

    // A result as storeResult writes it.
    struct ResultWrite
    {
        int id = 0;
        QString courseCode;
        // ThoiGianKetThucThi, "yyyy-MM-dd hh:mm:ss".
        QString endTime;
        int score = 0;
        int passMark = 0;
        QString result;
        QString answers;
        // The count stored with it (ChiTietThi).
        int attempts = 0;
        QString checkSum;
        // The start time of the sitting it goes into; empty for an entry in
        // the examination without a start time.
        QString sitting;
    };

    explicit MySqlConnectionClient(QObject *parent = nullptr);
    ~MySqlConnectionClient() override;

    // Closes the connection and unregisters its name, so a terminal that has
    // gone holds no session on the database server; operations afterwards
    // find no rows. Idempotent.
    void closeConnection();

    // Status 0 admitted, 1 no such order number (or an unexpected state),
    // 2 result already stored, 3 in the examination now, 4 course not
    // running, 6 no simulation test for the candidate's content code. Each
    // operation below that takes `failure` sets it (when given) to why its
    // last statement failed, None when it ran: Unreachable means the answer
    // comes from a database that could not be reached rather than from what
    // is stored.
    OrderNumberCheck checkOrderNumber(const QString &idKhoaHoc, const QString &soBaoDanh,
                                      SqlQuery::Failure *failure = nullptr);
    // The course's photo folder; empty when there is no such course.
    QString getCourseGhiChu(const QString &idKhoaHoc);
    QString getTraLoiMoPhong(int id, SqlQuery::Failure *failure = nullptr);
    // -1 when there is no such entry; NULL reads 0.
    int getContestantState(int id, SqlQuery::Failure *failure = nullptr);
    QString getKetQuaSHLyThuyet(const QString &idKhoaHoc, const QString &soBaoDanh);
    // Both set empty first, then filled from the entry's person when found.
    void getRegistrationCodes(const QString &idKhoaHoc, const QString &soBaoDanh, QString &maDangKy,
                              QString &maKySH);
    // A new sheet the caller deletes; empty order number when there is no
    // such entry.
    ReportInfo *getPrintDetail(int id, const QString &idKhoaHoc);

    // Marks an entry that has not started yet as started; an entry in the
    // examination or with a stored result is left as it is, and so is an
    // entry reset after `startTime` (the time the start arrived). True when
    // the entry was marked (false also when the statement failed).
    bool updateContestStart(int id, const QString &startTime, int state,
                            SqlQuery::Failure *failure = nullptr);
    bool updateAvatar(const QString &idKhoaHoc, const QString &soBaoDanh, const QString &avatar);
    bool updateCheckSum(int id, const QString &checkSum, SqlQuery::Failure *failure = nullptr);

    // The row of entry `id` of course `idKhoaHoc`, as a result about to be
    // stored needs it. The course is found as the admission finds it, by
    // the database's comparison of texts ("kf", "KF " and a full-width
    // "ＫＦ" are all "KF"). `failure` tells a failed read (never to be
    // sealed) from one that found no row.
    ResultBasis readResultBasis(int id, const QString &idKhoaHoc, SqlQuery::Failure *failure);
    // The ten texts of the result as they will read once stored: the
    // basis's identity and start, the end time's date, the attempt counted.
    static ContestantResultInfo resultToStore(const ResultBasis &basis, const QString &endTime, int score,
                                              const QString &result, const QString &answers);
    // Stores the result and its checksum in one statement, into the entry
    // of the course only while it is in the examination (state 1), in the
    // sitting that started at `write.sitting`. True when the row took it.
    // `ranAgain`: the statement ran a second time after a lost connection,
    // so a row that did not take it may hold it from the first try.
    bool storeResult(const ResultWrite &write, SqlQuery::Failure *failure, bool *ranAgain = nullptr);
    // A result as its entry holds it.
    struct StoredResult
    {
        bool found = false;
        int state = 0;
        // ThoiGianKetThucThi as "yyyy-MM-dd hh:mm:ss"; empty when NULL.
        QString endTime;
        int score = 0;
        QString answers;
    };
    // Empty (not found) when there is no such entry or the read failed.
    StoredResult readStoredResult(int id, SqlQuery::Failure *failure);
    // Whether the server answers a statement now.
    bool probe();
};

#endif // CONNECTION_MYSQLCONNECTIONCLIENT_H
