#include "app/loghandler.h"

#include <QDateTime>
#include <QFile>

#include <cstdio>
#include <mutex>

namespace {

// One line at a time: the file's lines are then in the order of their time
// stamps, and the local-time conversion behind each stamp, which glibc and
// Qt guard with locks of their own, is also ordered by a lock the
// ThreadSanitizer pass can see. Recursive: a message Qt might raise while a
// line is written comes back here on the same thread.
std::recursive_mutex &logLock()
{
    static std::recursive_mutex lock;
    return lock;
}

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
    const QString body = logLineBody(type, context, message);
    {
        const std::lock_guard<std::recursive_mutex> locker(logLock());
        const QByteArray line =
            (QDateTime::currentDateTime().toString(QStringLiteral("[dd/MM/yyyy:hh:mm:ss]"))
             + QStringLiteral(" - ") + body + QLatin1Char('\n'))
                .toUtf8();
        // Every message opens the file on its own and appends the whole line
        // in one write, so lines of different threads never mix.
        QFile log(QStringLiteral("log.txt"));
        if (log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            log.write(line);
    }

    const QByteArray echo = message.toUtf8() + '\n';
    std::fwrite(echo.constData(), 1, size_t(echo.size()), stdout);
    std::fflush(stdout);
}
