#ifndef ORV_APP_LOGHANDLER_H
#define ORV_APP_LOGHANDLER_H

#include <QString>
#include <QDebug>
#include <QtGlobal>

// The process-wide Qt message handler (installed by main): every message of
// every thread becomes one line appended to ./log.txt, in UTF-8,
//   [dd/MM/yyyy:hh:mm:ss] - Level: message file:line, function
// and the bare message is echoed to standard output.
void logMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message);

// The line above without its time stamp: what logMessageHandler writes after
// "[...] - ".
QString logLineBody(QtMsgType type, const QMessageLogContext &context, const QString &message);

#endif // ORV_APP_LOGHANDLER_H
