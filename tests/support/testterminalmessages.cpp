#include "tests/support/testterminalmessages.h"

#include <QtEndian>

#include <initializer_list>

namespace {

void appendInt(QByteArray *out, qint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out->append(bytes, 4);
}

void appendBool(QByteArray *out, bool value)
{
    out->append(value ? '\1' : '\0');
}

qint32 intAt(const QByteArray &payload, int offset)
{
    return qFromBigEndian<qint32>(payload.constData() + offset);
}

// Reads the parts announced by count lengths starting at lengthsAt, the
// parts themselves starting at partsAt.
bool readParts(const QByteArray &payload, int lengthsAt, int partsAt,
               std::initializer_list<QByteArray *> parts)
{
    qint64 offset = partsAt;
    int index = 0;
    for (QByteArray *part : parts) {
        const qint32 length = intAt(payload, lengthsAt + 4 * index++);
        if (length < 0 || offset + length > payload.size())
            return false;
        *part = payload.mid(static_cast<int>(offset), length);
        offset += length;
    }
    return true;
}

} // namespace

QByteArray TestTerminalMessages::startSyncVideo(const QByteArray &path)
{
    return path;
}

QByteArray TestTerminalMessages::syncVideo(const QByteArray &chunk)
{
    return chunk;
}

QByteArray TestTerminalMessages::endSyncVideo()
{
    return QByteArray();
}

QByteArray TestTerminalMessages::contestEnter(const QByteArray &courseCode,
                                              const QByteArray &orderNumber)
{
    QByteArray out;
    appendInt(&out, courseCode.size());
    appendInt(&out, orderNumber.size());
    return out + courseCode + orderNumber;
}

QByteArray TestTerminalMessages::enterResponse(const EnterResponseFields &fields)
{
    QByteArray out;
    appendInt(&out, fields.status);
    appendInt(&out, fields.rankIndex);
    appendInt(&out, fields.entryId);
    appendInt(&out, fields.soCmt.size());
    appendInt(&out, fields.name.size());
    appendInt(&out, fields.portrait.size());
    return out + fields.soCmt + fields.name + fields.portrait;
}

QByteArray TestTerminalMessages::contestResult(qint32 score, qint32 passMark, bool passed,
                                               qint32 entryId, const QByteArray &courseCode,
                                               const QByteArray &answers)
{
    QByteArray out;
    appendInt(&out, score);
    appendInt(&out, passMark);
    appendBool(&out, passed);
    appendInt(&out, entryId);
    appendInt(&out, courseCode.size());
    appendInt(&out, answers.size());
    return out + courseCode + answers;
}

QByteArray TestTerminalMessages::infoConfirm(bool flag, qint32 entryId, bool review)
{
    QByteArray out;
    appendBool(&out, flag);
    appendInt(&out, entryId);
    appendBool(&out, review);
    return out;
}

QByteArray TestTerminalMessages::contestNameRequest()
{
    QByteArray out(1, '\0');
    appendInt(&out, 0);
    appendInt(&out, 0);
    return out;
}

QByteArray TestTerminalMessages::contestNameReply(const QByteArray &codes,
                                                  const QByteArray &names)
{
    QByteArray out(1, '\1');
    appendInt(&out, codes.size());
    appendInt(&out, names.size());
    return out + codes + names;
}

QByteArray TestTerminalMessages::review(const QByteArray &answers)
{
    QByteArray out;
    appendInt(&out, answers.size());
    return out + answers;
}

QByteArray TestTerminalMessages::authenStateOne(const QByteArray &challenge)
{
    return challenge;
}

QByteArray TestTerminalMessages::authenStateTwo(const QByteArray &response)
{
    return response;
}

bool TestTerminalMessages::parseEnterResponse(const QByteArray &payload,
                                              EnterResponseFields *fields)
{
    if (payload.size() < 24)
        return false;
    EnterResponseFields read;
    read.status = intAt(payload, 0);
    read.rankIndex = intAt(payload, 4);
    read.entryId = intAt(payload, 8);
    if (!readParts(payload, 12, 24, {&read.soCmt, &read.name, &read.portrait}))
        return false;
    *fields = read;
    return true;
}

bool TestTerminalMessages::parseContestEnter(const QByteArray &payload,
                                             ContestEnterFields *fields)
{
    if (payload.size() < 8)
        return false;
    ContestEnterFields read;
    if (!readParts(payload, 0, 8, {&read.courseCode, &read.orderNumber}))
        return false;
    *fields = read;
    return true;
}

bool TestTerminalMessages::parseContestName(const QByteArray &payload, ContestNameFields *fields)
{
    if (payload.size() < 9)
        return false;
    ContestNameFields read;
    read.reply = payload.at(0) != 0;
    if (!readParts(payload, 1, 9, {&read.codes, &read.names}))
        return false;
    *fields = read;
    return true;
}

bool TestTerminalMessages::parseReview(const QByteArray &payload, QByteArray *answers)
{
    if (payload.size() < 4)
        return false;
    QByteArray read;
    if (!readParts(payload, 0, 4, {&read}))
        return false;
    *answers = read;
    return true;
}

bool TestTerminalMessages::parseAuthen(const QByteArray &payload, QByteArray *bytes)
{
    if (payload.size() < 16)
        return false;
    *bytes = payload.left(16);
    return true;
}
