#include "server/business/serverrun.h"

#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"
#include "server/network/iocontroller.h"

#include <QThread>

#include <sys/resource.h>

bool ServerRun::raiseDescriptorLimit()
{
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return false;
    if (limit.rlim_cur == limit.rlim_max)
        return true;
    limit.rlim_cur = limit.rlim_max;
    return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

ServerRun::Outcome ServerRun::start()
{
    BusinessController *controller = BusinessController::getInstance();
    // No listener was started to wait for.
    if (controller->isWorkFolderTaken())
        return Outcome::FolderTaken;
    // The listener starts on its own thread; each of its steps ends (it is
    // tried twice at most), so the wait does too.
    const IOController *io = IOController::getInstance();
    while (io->getStatus() == IOController::STATUS_NOT_STARTED)
        QThread::msleep(10);
    if (io->getStatus() != IOController::STATUS_LISTENING)
        return Outcome::ListenerFailed;
    if (controller->isDbConnectionFailed() != 0)
        return Outcome::DatabaseFailed;
    // What the terminals sent while the database was away (or before the
    // last exit) is stored now, without holding up the caller.
    BusinessControllerClient::getInstance()->startReplay();
    return Outcome::Running;
}

void ServerRun::stop()
{
    IOController::destroyInstance();
    // No terminal sends any more: what is not stored stays in the journal.
    BusinessControllerClient *client = BusinessControllerClient::getInstance();
    client->stopReplay();
    // The listener closed the terminals without a word to the business
    // logic: their database sessions end now, not with the process.
    client->closeTerminalConnections();
}
