#include "tests/protocol/messagedump.h"

#include "server/protocol/authenstateonemessage.h"
#include "server/protocol/authenstatetwomessage.h"
#include "server/protocol/contestentermessage.h"
#include "server/protocol/contestnamemessage.h"
#include "server/protocol/contestresultmessage.h"
#include "server/protocol/endsyncvideomessage.h"
#include "server/protocol/enterresponsemessage.h"
#include "server/protocol/infoconfirmmessage.h"
#include "server/protocol/reviewmessage.h"
#include "server/protocol/startsyncvideomessage.h"
#include "server/protocol/syncvideomessage.h"

namespace {
QString text(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes);
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}
} // namespace

QString MessageDump::describe(const BaseMessage *message)
{
    if (message == nullptr)
        return QStringLiteral("null");
    QString fields;
    if (auto *m = dynamic_cast<const StartSyncVideoMessage *>(message)) {
        fields = QStringLiteral("StartSyncVideo path=%1").arg(text(m->getPath()));
    } else if (auto *m = dynamic_cast<const SyncVideoMessage *>(message)) {
        fields = QStringLiteral("SyncVideo data=%1").arg(hex(m->getData()));
    } else if (dynamic_cast<const EndSyncVideoMessage *>(message)) {
        fields = QStringLiteral("EndSyncVideo");
    } else if (auto *m = dynamic_cast<const ContestEnterMessage *>(message)) {
        fields = QStringLiteral("ContestEnter course=%1 order=%2")
                     .arg(text(m->getCourseCode()), text(m->getOrderNumber()));
    } else if (auto *m = dynamic_cast<const EnterResponseMessage *>(message)) {
        fields = QStringLiteral("EnterResponse status=%1 class=%2 entry=%3 id=[%4] name=%5 portrait=%6")
                     .arg(m->getStatus())
                     .arg(m->getLicenceClass())
                     .arg(m->getEntryId())
                     .arg(text(m->getIdentityNumber()), text(m->getFullName()),
                          text(m->getPortrait()));
    } else if (auto *m = dynamic_cast<const ContestResultMessage *>(message)) {
        fields = QStringLiteral("ContestResult score=%1 pass=%2 passed=%3 entry=%4 course=%5 answers=%6")
                     .arg(m->getScore())
                     .arg(m->getPassMark())
                     .arg(int(m->getPassed()))
                     .arg(m->getEntryId())
                     .arg(text(m->getCourseCode()), text(m->getAnswers()));
    } else if (auto *m = dynamic_cast<const InfoConfirmMessage *>(message)) {
        fields = QStringLiteral("InfoConfirm flag=%1 entry=%2 review=%3")
                     .arg(int(m->getFlag()))
                     .arg(m->getEntryId())
                     .arg(int(m->getReview()));
    } else if (auto *m = dynamic_cast<const ContestNameMessage *>(message)) {
        fields = QStringLiteral("ContestName kind=%1 codes=%2 names=%3")
                     .arg(int(m->getKind()))
                     .arg(text(m->getCourseCodes()), text(m->getCourseNames()));
    } else if (auto *m = dynamic_cast<const ReviewMessage *>(message)) {
        fields = QStringLiteral("Review answers=%1").arg(text(m->getAnswers()));
    } else if (auto *m = dynamic_cast<const AuthenStateOneMessage *>(message)) {
        fields = QStringLiteral("AuthenStateOne challenge=%1").arg(hex(m->getChallenge()));
    } else if (auto *m = dynamic_cast<const AuthenStateTwoMessage *>(message)) {
        fields = QStringLiteral("AuthenStateTwo response=%1").arg(hex(m->getResponse()));
    } else {
        fields = QStringLiteral("unknown");
    }
    return fields;
}
