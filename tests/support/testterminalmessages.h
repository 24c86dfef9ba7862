#ifndef TESTS_SUPPORT_TESTTERMINALMESSAGES_H
#define TESTS_SUPPORT_TESTTERMINALMESSAGES_H

// Plain payloads of every message type, laid out as the terminals lay them
// out (integers 32-bit big-endian, bools one byte, parts after the fixed
// fields), and the readers of what a server sends. Texts are given as
// bytes: the caller chooses UTF-8 or the local 8-bit code page as each
// field requires.

#include <QByteArray>

class TestTerminalMessages
{
public:
    enum Type {
        StartSyncVideo = 1,
        SyncVideo = 2,
        EndSyncVideo = 3,
        ContestEnter = 4,
        EnterResponse = 5,
        ContestResult = 6,
        InfoConfirm = 7,
        ContestName = 8,
        Review = 9,
        AuthenStateOne = 10,
        AuthenStateTwo = 11,
        // The encrypted forms of 4 to 7.
        EncryptedContestEnter = 100,
        EncryptedEnterResponse = 101,
        EncryptedContestResult = 102,
        EncryptedInfoConfirm = 103,
    };

    struct EnterResponseFields
    {
        qint32 status = 0;
        qint32 rankIndex = 0;
        qint32 entryId = 0;
        QByteArray soCmt;
        QByteArray name;
        QByteArray portrait;
    };
    struct ContestEnterFields
    {
        QByteArray courseCode;
        QByteArray orderNumber;
    };
    struct ContestNameFields
    {
        bool reply = false;
        QByteArray codes;
        QByteArray names;
    };

    static QByteArray startSyncVideo(const QByteArray &path);
    static QByteArray syncVideo(const QByteArray &chunk);
    static QByteArray endSyncVideo();
    static QByteArray contestEnter(const QByteArray &courseCode, const QByteArray &orderNumber);
    static QByteArray enterResponse(const EnterResponseFields &fields);
    static QByteArray contestResult(qint32 score, qint32 passMark, bool passed, qint32 entryId,
                                    const QByteArray &courseCode, const QByteArray &answers);
    static QByteArray infoConfirm(bool flag, qint32 entryId, bool review);
    static QByteArray contestNameRequest();
    static QByteArray contestNameReply(const QByteArray &codes, const QByteArray &names);
    static QByteArray review(const QByteArray &answers);
    static QByteArray authenStateOne(const QByteArray &challenge);
    static QByteArray authenStateTwo(const QByteArray &response);

    // Each false when the payload is too short for its fixed fields or for
    // the parts they announce, or announces a negative length.
    static bool parseEnterResponse(const QByteArray &payload, EnterResponseFields *fields);
    static bool parseContestEnter(const QByteArray &payload, ContestEnterFields *fields);
    static bool parseContestName(const QByteArray &payload, ContestNameFields *fields);
    static bool parseReview(const QByteArray &payload, QByteArray *answers);
    // Types 10 and 11: the 16 bytes of challenge or response.
    static bool parseAuthen(const QByteArray &payload, QByteArray *bytes);
};

#endif // TESTS_SUPPORT_TESTTERMINALMESSAGES_H
