#include "app/controller.h"
#include "ui/desktopsetup.h"
#include "app/loghandler.h"
#include "ui/mainwindow.h"
#include "app/signalwatcher.h"
#include "server/business/serverrun.h"
#include "server/business/videodistributor.h"

#include <QApplication>
#include <QTextCodec>

#include <csignal>

int main(int argc, char *argv[])
{
    qInstallMessageHandler(logMessageHandler);
    // Texts the terminals and the checksums read as local 8-bit bytes are
    // the same under any locale.
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    // A terminal that goes away mid-send is handled where the send fails.
    std::signal(SIGPIPE, SIG_IGN);
    // Nothing is drawn with OpenGL: on a display the xcb plugin would still
    // load the machine's GL drivers, which keep and leak memory of their own.
    // An operator's or a check's own setting wins.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    // A room's terminals each hold a socket: not the desktop's 1024 only.
    ServerRun::raiseDescriptorLimit();

    QApplication app(argc, argv);
    // Before the first widget: its fonts are resolved when it is made.
    setUpDesktop(&app);
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
