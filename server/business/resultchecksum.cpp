#include "server/business/resultchecksum.h"

#include "common/checksumkeys.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

namespace {

const int SaltBytes = 16;
const int SaltHexLength = 2 * SaltBytes;
const int CodeLength = 64;

QString hmacHex(const QByteArray &key, const QString &message)
{
    // Local 8-bit, as every stored checksum was made; main() pins it to UTF-8.
    return QString::fromLatin1(
        QMessageAuthenticationCode::hash(message.toLocal8Bit(), key, QCryptographicHash::Sha256)
            .toHex());
}

} // namespace

QDateTime ResultChecksum::cutOver()
{
    return QDateTime::fromString("31/08/2022 23:59:59", "dd/MM/yyyy hh:mm:ss");
}

QString ResultChecksum::text(const ContestantResultInfo &info)
{
    return textOld(info) + info.getDiemMoPhong() + info.getChiTietThi();
}

QString ResultChecksum::textOld(const ContestantResultInfo &info)
{
    return info.getSoCMT() + info.getHoTen() + info.getNgaySinh() + info.getSoBaoDanh()
           + info.getThoiGianBatDauThi() + info.getThoiGianKetThucThi() + info.getKetQuaMoPhong()
           + info.getTraLoiMoPhong();
}

QString ResultChecksum::saltedCode(const QString &saltHex, const ContestantResultInfo &info)
{
    return hmacHex(saltHex.toLatin1() + RESULT_CHECKSUM_KEY_SUFFIX, text(info));
}

QString ResultChecksum::unsaltedCode(const ContestantResultInfo &info)
{
    return hmacHex(RESULT_CHECKSUM_KEY, textOld(info));
}

QString ResultChecksum::make(const ContestantResultInfo &info, const QDateTime &storedAt)
{
    QByteArray salt(SaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    return make(info, storedAt, salt);
}

QString ResultChecksum::make(const ContestantResultInfo &info, const QDateTime &storedAt,
                             const QByteArray &salt)
{
    if (storedAt > cutOver()) {
        const QString saltHex = QString::fromLatin1(salt.left(SaltBytes).toHex());
        return saltHex + saltedCode(saltHex, info);
    }
    return unsaltedCode(info);
}

bool ResultChecksum::verify(const QString &stored, const ContestantResultInfo &info,
                            const QDateTime &examDate)
{
    if (stored.size() == SaltHexLength + CodeLength)
        return stored.mid(SaltHexLength) == saltedCode(stored.left(SaltHexLength), info);
    // An unsalted checksum on a course examined after the cut-over (or with
    // no exam date) cannot be genuine: results made then are salted.
    if (stored.size() == CodeLength && examDate.isValid() && examDate <= cutOver())
        return stored == unsaltedCode(info);
    return false;
}
