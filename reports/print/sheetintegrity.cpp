#include "reports/print/sheetintegrity.h"

#include "common/constants.h"
#include "records/reportinfo.h"
#include "records/utility.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

QString templateDigest(const QByteArray &salt, const QByteArray &templateBytes)
{
    QCryptographicHash hash(QCryptographicHash::Md5);
    hash.addData(salt);
    hash.addData(templateBytes);
    return QString::fromLatin1(hash.result().toHex());
}

QString resultSheetQrText(const ReportInfo &info)
{
    QString text;
    text += info.getName() + "\n";
    text += info.getDateOfBirth() + "\n";
    text += info.getId() + "\n";
    text += info.getPlace() + "\n";
    text += QString::fromUtf8("Khóa thi: ") + info.getCourse() + "\n";
    text += QString::fromUtf8("Ngày sát hạch: ") + info.getContestDate() + "\n";
    text += QString::fromUtf8("Hạng: ") + info.getRank() + "\n";
    text += QString::fromUtf8("SBD: ") + info.getOrderNumber() + "\n";
    if (info.getScore() == -1) {
        text += MSG_STUDENT_NOT_EXAMINED + "\n";
    } else if (info.getResultValid()) {
        text += QString::fromUtf8("Điểm: ") + QString::number(info.getScore()) + "\n";
        text += QString::fromUtf8("Kết quả: ") + Utility::getInstance()->resultLabel(info.getResult()) + "\n";
    } else {
        text += MSG_RESULT_CHANGED + "\n";
    }
    text += QString::fromUtf8("Số lượt thi: ") + QString::number(info.getAttemptCount()) + "\n";
    return text;
}

QString signQrText(const QString &text, const QByteArray &key)
{
    const QByteArray mac =
        QMessageAuthenticationCode::hash(text.toLocal8Bit(), key, QCryptographicHash::Sha256);
    return text + "Signature: " + QString::fromLatin1(mac.toBase64()) + "\n";
}
