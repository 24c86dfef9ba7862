#include "reports/print/sheetintegrity.h"

#include "common/constants.h"
#include "records/reportinfo.h"
#include "records/safetext.h"
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
    // A line break or another control character in a stored name would
    // shift the lines a reader counts on: each shows as a space.
    const auto line = [](const QString &value) { return SafeText::withoutControls(value) + "\n"; };
    QString text;
    text += line(info.getName());
    text += line(info.getDateOfBirth());
    text += line(info.getId());
    text += line(info.getPlace());
    text += line(QString::fromUtf8("Khóa thi: ") + info.getCourse());
    text += line(QString::fromUtf8("Ngày sát hạch: ") + info.getContestDate());
    text += line(QString::fromUtf8("Hạng: ") + info.getRank());
    text += line(QString::fromUtf8("SBD: ") + info.getOrderNumber());
    if (info.getScore() == -1) {
        text += line(MSG_STUDENT_NOT_EXAMINED);
    } else if (info.getResultValid()) {
        text += line(QString::fromUtf8("Điểm: ") + QString::number(info.getScore()));
        text += line(QString::fromUtf8("Kết quả: ") + Utility::getInstance()->resultLabel(info.getResult()));
    } else {
        text += line(MSG_RESULT_CHANGED);
    }
    text += line(QString::fromUtf8("Số lượt thi: ") + QString::number(info.getAttemptCount()));
    return text;
}

QString signQrText(const QString &text, const QByteArray &key)
{
    const QByteArray mac =
        QMessageAuthenticationCode::hash(text.toLocal8Bit(), key, QCryptographicHash::Sha256);
    return text + "Signature: " + QString::fromLatin1(mac.toBase64()) + "\n";
}
