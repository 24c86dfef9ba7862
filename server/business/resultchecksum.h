#ifndef SERVER_BUSINESS_RESULTCHECKSUM_H
#define SERVER_BUSINESS_RESULTCHECKSUM_H

#include "records/contestantresultinfo.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The keyed checksum stored with every simulation result (CheckSumKQMP).
// Results stored up to the cut-over carry 64 hexadecimal characters, the
// HMAC-SHA256 of eight of the result's texts; later results carry a random
// 32-character salt followed by the HMAC of all ten texts under a key made of
// that salt and the suffix key. Stored checksums depend on every byte here.
class ResultChecksum
{
public:
    // 31/08/2022 23:59:59, local time.
    static QDateTime cutOver();

    // The checksum of a result stored at `storedAt`, with a salt drawn from
    // the system's random source when the salted scheme applies.
    static QString make(const ContestantResultInfo &info, const QDateTime &storedAt);
    // As make(), with the 16 salt bytes given (for known-answer tests).
    static QString make(const ContestantResultInfo &info, const QDateTime &storedAt,
                        const QByteArray &salt);

    // Whether `stored` is the checksum of `info`. The stored text chooses its
    // scheme: 96 characters the salted one, 64 the unsalted one, which only a
    // course examined on or before the cut-over may carry (`examDate` is the
    // sheet's exam date at midnight).
    static bool verify(const QString &stored, const ContestantResultInfo &info,
                       const QDateTime &examDate);

    // Fields 1 to 10, the message of the salted scheme.
    static QString text(const ContestantResultInfo &info);
    // Fields 1 to 8, the message of the unsalted scheme.
    static QString textOld(const ContestantResultInfo &info);

private:
    static QString saltedCode(const QString &saltHex, const ContestantResultInfo &info);
    static QString unsaltedCode(const ContestantResultInfo &info);
};

#endif // SERVER_BUSINESS_RESULTCHECKSUM_H
