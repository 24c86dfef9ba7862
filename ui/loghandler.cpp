#include "ui/loghandler.h"

#include <QDateTime>
#include <QFile>

#include <cstdio>

namespace {

QString levelPrefix(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return QStringLiteral("Debug: ");
    case QtWarningMsg:
        return QStringLiteral("Warning: ");
    case QtCriticalMsg:
        return QStringLiteral("Critical: ");
    case QtFatalMsg:
        return QStringLiteral("Fatal: ");
    case QtInfoMsg:
        return QStringLiteral("Info: ");
    }
    return QString();
}

} // namespace

QString logLineBody(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    QString file = context.file ? QString::fromUtf8(context.file) : QString();
    if (!file.isEmpty()) {
        const int from = file.indexOf(QLatin1String("Velmora"));
        if (from >= 0)
            file = file.mid(from);
    }
    QString function = context.function ? QString::fromUtf8(context.function) : QString();
    if (!function.isEmpty())
        function.remove(QStringLiteral("__cdecl "));
    // One substitution: a message holding "%2" (a file name, an SQL text)
    // stays as it was logged.
    const QString body = QStringLiteral("%1 %2:%3, %4")
                             .arg(message, file, QString::number(context.line), function);
    return levelPrefix(type) + body;
}

void logMessageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QString line = QDateTime::currentDateTime().toString(QStringLiteral("[dd/MM/yyyy:hh:mm:ss]"))
        + QStringLiteral(" - ") + logLineBody(type, context, message) + QLatin1Char('\n');
    // Every message opens the file on its own and appends the whole line
    // in one write, so lines of different threads never mix.
    QFile log(QStringLiteral("log.txt"));
    if (log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        log.write(line.toUtf8());

    const QByteArray echo = message.toUtf8() + '\n';
    std::fwrite(echo.constData(), 1, size_t(echo.size()), stdout);
    std::fflush(stdout);
}
