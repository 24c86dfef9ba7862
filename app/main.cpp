#include "app/controller.h"
#include "ui/desktopsetup.h"
#include "ui/mainwindow.h"
#include "app/programstart.h"
#include "app/signalwatcher.h"
#include "server/business/videodistributor.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The working folder's lock before anything else: a second start there
    // writes nothing into it, its log included.
    const bool ownsFolder = ProgramStart::begin();

    QApplication app(argc, argv);
    // Before the first widget: its fonts are resolved when it is made.
    setUpDesktop(&app);
    if (!ownsFolder)
        return ProgramStart::refuse();
    // Closing a window never ends the exam server: only the exit menu (or
    // SIGINT/SIGTERM) does.
    QApplication::setQuitOnLastWindowClosed(false);

    // A video send holds the GUI thread: it hears the signal in the handler.
    SignalWatcher terminationSignals(&VideoDistributor::requestStop);
    QObject::connect(&terminationSignals, &SignalWatcher::notifyTerminationRequested, &app,
                     [](int) { MainWindow::exitProgram(); });

    // --login: the login dialog first (the super-administrator's way in).
    const bool loginFirst = QCoreApplication::arguments().contains(QStringLiteral("--login"));
    Controller controller;
    controller.start(loginFirst ? Controller::FirstWindow::Login : Controller::FirstWindow::Main);
    return app.exec();
}
