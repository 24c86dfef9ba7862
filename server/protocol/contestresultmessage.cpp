#include "server/protocol/contestresultmessage.h"

#include "server/protocol/messagetypes.h"

#include <cstring>

ContestResultMessage::ContestResultMessage()
    : ContestResultMessage(false)
{
}

ContestResultMessage::ContestResultMessage(bool encrypted)
    : BaseMessage(encrypted ? MSG_CONTEST_RESULT_ENCRYPTED : MSG_CONTEST_RESULT, BASE_LENGTH)
{
}

int ContestResultMessage::serialize(char *buffer, int room) const
{
    const qint64 needed = qint64(FIXED_SIZE) + m_courseCode.size() + m_answers.size();
    if (buffer == nullptr || !fits(needed, room))
        return -1;
    writeInt32(buffer, m_score);
    writeInt32(buffer + 4, m_passMark);
    buffer[8] = m_passed ? 1 : 0;
    writeInt32(buffer + 9, m_entryId);
    writeInt32(buffer + 13, m_courseCode.size());
    writeInt32(buffer + 17, m_answers.size());
    char *part = buffer + FIXED_SIZE;
    std::memcpy(part, m_courseCode.constData(), size_t(m_courseCode.size()));
    part += m_courseCode.size();
    std::memcpy(part, m_answers.constData(), size_t(m_answers.size()));
    return 0;
}

int ContestResultMessage::parse(const char *payload, int size)
{
    if (payload == nullptr || size < FIXED_SIZE)
        return -1;
    const qint32 len1 = readInt32(payload + 13);
    const qint32 len2 = readInt32(payload + 17);
    if (len1 < 0 || len2 < 0 || !fits(qint64(FIXED_SIZE) + len1 + len2, size))
        return -1;
    m_score = readInt32(payload);
    m_passMark = readInt32(payload + 4);
    m_passed = payload[8] != 0;
    m_entryId = readInt32(payload + 9);
    const char *part = payload + FIXED_SIZE;
    m_courseCode = QByteArray(part, len1);
    m_answers = QByteArray(part + len1, len2);
    updateLength();
    return 0;
}

int ContestResultMessage::parseEncrypted(const char *payload, int size, AesCipher *cipher)
{
    return parseEncryptedAs(payload, size, cipher, MSG_CONTEST_RESULT);
}

qint32 ContestResultMessage::getScore() const
{
    return m_score;
}

void ContestResultMessage::setScore(qint32 score)
{
    m_score = score;
}

qint32 ContestResultMessage::getPassMark() const
{
    return m_passMark;
}

void ContestResultMessage::setPassMark(qint32 passMark)
{
    m_passMark = passMark;
}

bool ContestResultMessage::getPassed() const
{
    return m_passed;
}

void ContestResultMessage::setPassed(bool passed)
{
    m_passed = passed;
}

qint32 ContestResultMessage::getEntryId() const
{
    return m_entryId;
}

void ContestResultMessage::setEntryId(qint32 entryId)
{
    m_entryId = entryId;
}

QByteArray ContestResultMessage::getCourseCode() const
{
    return m_courseCode;
}

void ContestResultMessage::setCourseCode(const QByteArray &courseCode)
{
    m_courseCode = courseCode;
    updateLength();
}

QByteArray ContestResultMessage::getAnswers() const
{
    return m_answers;
}

void ContestResultMessage::setAnswers(const QByteArray &answers)
{
    m_answers = answers;
    updateLength();
}

void ContestResultMessage::updateLength()
{
    setLengthFrom(qint64(BASE_LENGTH) + m_courseCode.size() + m_answers.size());
}
