// The exam server without its window: the business controllers built in the
// current working folder (its config/), serving terminals until its standard
// input closes or reads "quit". Prints "ready <port>" once listening and, at
// the end, its peak resident memory as "peak-rss-kb <n>".

#include "records/fileutility.h"
#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"
#include "server/network/iocontroller.h"

#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTextCodec>
#include <QThread>

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
    std::signal(SIGPIPE, SIG_IGN);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    BusinessController *controller = BusinessController::getInstance();
    if (controller->isWorkFolderTaken()) {
        std::fprintf(stderr, "server not started: another program runs in this working folder\n");
        IOController::destroyInstance();
        return 1;
    }
    IOController *io = IOController::getInstance();
    // The listener starts on its own thread: give it a moment to bind.
    for (int i = 0; i < 200 && io->getStatus() == IOController::STATUS_NOT_STARTED; ++i)
        QThread::msleep(10);
    const bool ready = controller->isDbConnectionFailed() == 0
                       && io->getStatus() == IOController::STATUS_LISTENING;
    if (!ready) {
        std::fprintf(stderr, "server not started: database %s, listener status %d\n",
                     controller->isDbConnectionFailed() ? "failed" : "open", io->getStatus());
        IOController::destroyInstance();
        return 1;
    }
    BusinessControllerClient::getInstance()->startReplay();
    std::printf("ready %s\n", qPrintable(controller->getFileUtility()->readTcpConnectionConfig()));
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
    IOController::destroyInstance();
    BusinessControllerClient::getInstance()->stopReplay();
    std::printf("peak-rss-kb %lld\n", static_cast<long long>(peakResidentKb()));
    std::fflush(stdout);
    return status;
}
