// The exam server without its window: the business controllers built in the
// current working folder (its config/), serving terminals until its standard
// input closes or reads "quit". Prints "ready <port>" once listening and, at
// the end, its peak resident memory as "peak-rss-kb <n>". Beside a server
// that runs in the same folder it ends at once with status 1, saying why on
// standard error.

#include "records/fileutility.h"
#include "server/business/businesscontroller.h"
#include "server/business/serverrun.h"
#include "server/business/workfolderlock.h"
#include "server/network/iocontroller.h"

#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTextCodec>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

qint64 peakResidentKb()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    // Before anything of the working folder is read or written: a second
    // start beside a running server leaves the folder as it was.
    WorkFolderLock &folder = WorkFolderLock::process();
    if (folder.take() == WorkFolderLock::State::TakenByAnother) {
        std::fprintf(stderr, "server not started: %s\n", qPrintable(folder.holderText()));
        return 1;
    }
    std::signal(SIGPIPE, SIG_IGN);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ServerRun::raiseDescriptorLimit();
    QGuiApplication app(argc, argv);

    switch (ServerRun::start()) {
    case ServerRun::Outcome::Running:
        break;
    case ServerRun::Outcome::FolderTaken:
        std::fprintf(stderr, "server not started: another program runs in this working folder\n");
        ServerRun::stop();
        return 1;
    case ServerRun::Outcome::ListenerFailed:
    case ServerRun::Outcome::DatabaseFailed:
        std::fprintf(stderr, "server not started: database %s, listener status %d\n",
                     BusinessController::getInstance()->isDbConnectionFailed() ? "failed" : "open",
                     IOController::getInstance()->getStatus());
        ServerRun::stop();
        return 1;
    }
    std::printf("ready %s\n",
                qPrintable(BusinessController::getInstance()->getFileUtility()->readTcpConnectionConfig()));
    std::fflush(stdout);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&app, &input]() {
        char buffer[64];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0 || QByteArray(buffer, int(n)).contains("quit")) {
            input.setEnabled(false);
            app.quit();
        }
    });
    const int status = app.exec();

    // Every thread of the listener, the queue and the connections joined.
    ServerRun::stop();
    std::printf("peak-rss-kb %lld\n", static_cast<long long>(peakResidentKb()));
    std::fflush(stdout);
    return status;
}
