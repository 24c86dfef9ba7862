#ifndef TESTS_ENDTOEND_ENDTOENDFIXTURE_H
#define TESTS_ENDTOEND_ENDTOENDFIXTURE_H

// Shared by the end-to-end suites: a terminal of our own that speaks to the
// server over loopback, and reads of what the server left in the database.

#include "tests/support/testdb.h"
#include "tests/support/testterminal.h"
#include "tests/support/testterminalmessages.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

namespace EndToEnd {

using Messages = TestTerminalMessages;

// The first column of the first row of `sql`, or an invalid value.
inline QVariant scalar(QSqlDatabase db, const QString &sql)
{
    return TestDb::scalar(db, sql);
}

// Sessions the database server has open on `dbName`, every account counted.
inline int sessionsOn(QSqlDatabase db, const QString &dbName)
{
    QSqlQuery q(db);
    q.prepare("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE DB = :db");
    q.bindValue(":db", dbName);
    if (!q.exec() || !q.next())
        return -1;
    return q.value(0).toInt();
}

// An image file of the given size as stored in a candidate's photo column.
inline QByteArray imageFile(int width, int height, const char *format = "PNG")
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Sends an encrypted ContestEnter, as the terminals do, and reads the
// encrypted answer. False (with the reason in `error`) when no answer of the
// right type and form arrives.
inline bool enter(TestTerminal &terminal, const QByteArray &course, const QByteArray &order,
                  Messages::EnterResponseFields *reply, QString *error)
{
    if (!terminal.sendEncrypted(Messages::EncryptedContestEnter, Messages::contestEnter(course, order))) {
        *error = "send: " + terminal.errorString();
        return false;
    }
    TestTerminalFrame frame;
    if (!terminal.readFrame(&frame, 5000)) {
        *error = "read: " + terminal.errorString();
        return false;
    }
    QByteArray plain;
    if (frame.type != Messages::EncryptedEnterResponse || !terminal.decrypt(frame, &plain)
        || !Messages::parseEnterResponse(plain, reply)) {
        *error = QString("unexpected frame of type %1").arg(frame.type);
        return false;
    }
    return true;
}

// Reads the next frame and checks its type; the payload as it came.
inline bool expectFrame(TestTerminal &terminal, int type, QByteArray *payload, QString *error)
{
    TestTerminalFrame frame;
    if (!terminal.readFrame(&frame, 5000)) {
        *error = "read: " + terminal.errorString();
        return false;
    }
    if (frame.type != type) {
        *error = QString("frame of type %1, expected %2").arg(frame.type).arg(type);
        return false;
    }
    *payload = frame.payload;
    return true;
}

// The list of running courses. Terminal messages are handled one at a time
// in arrival order, so once this answer is in every earlier message of the
// terminal has been handled.
inline bool requestContestNames(TestTerminal &terminal, Messages::ContestNameFields *names, QString *error)
{
    if (!terminal.sendFrame(Messages::ContestName, Messages::contestNameRequest())) {
        *error = "send: " + terminal.errorString();
        return false;
    }
    QByteArray payload;
    if (!expectFrame(terminal, Messages::ContestName, &payload, error))
        return false;
    if (!Messages::parseContestName(payload, names)) {
        *error = "malformed course list";
        return false;
    }
    return true;
}

} // namespace EndToEnd

#endif // TESTS_ENDTOEND_ENDTOENDFIXTURE_H
