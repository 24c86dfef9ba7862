#ifndef REPORTS_PRINT_SHEETINTEGRITY_H
#define REPORTS_PRINT_SHEETINTEGRITY_H

// The two checks a result sheet carries: the digest of the template it is
// drawn from, and the text of its QR code with a keyed signature. Plain
// functions over their inputs, so each can be checked against values worked
// out elsewhere; the printing dialog passes its own salt and key.

#include <QByteArray>
#include <QString>

class ReportInfo;

// Lowercase hexadecimal MD5 of the salt's bytes followed by the template's
// bytes. The salt is used as it stands (its hexadecimal digits are not
// decoded).
QString templateDigest(const QByteArray &salt, const QByteArray &templateBytes);

// The readable lines of a sheet's QR code, each ending in "\n": name, date
// of birth, identity number, place, course, exam date, class, order number,
// then the score and result lines (or the warning that replaces them), then
// the number of attempts. A control character in a field shows as a space.
QString resultSheetQrText(const ReportInfo &info);

// The text followed by its signature line: "Signature: ", the Base64 of
// HMAC-SHA256 over the text's local 8-bit bytes keyed with the key's bytes
// as they stand, and "\n".
QString signQrText(const QString &text, const QByteArray &key);

#endif // REPORTS_PRINT_SHEETINTEGRITY_H
