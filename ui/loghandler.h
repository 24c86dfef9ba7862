#ifndef ORV_UI_LOGHANDLER_H
#define ORV_UI_LOGHANDLER_H

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

// Markers and messages logged with the caller's file, line and function in
// every build (Qt leaves the context empty in release builds otherwise).
#define ORV_LOG_INFO QMessageLogger(__FILE__, __LINE__, Q_FUNC_INFO).info()
#define ORV_LOG_DEBUG QMessageLogger(__FILE__, __LINE__, Q_FUNC_INFO).debug()

#endif // ORV_UI_LOGHANDLER_H
