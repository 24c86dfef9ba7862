#ifndef ORV_UI_CONTROLLER_H
#define ORV_UI_CONTROLLER_H

#include <QObject>
#include <QString>

class BusinessController;
class MainWindow;

// Kept by main for the whole run: owns the top-level windows, decides at
// start-up whether the server may run (listening port open, main database
// reachable) and routes a login to the window of the account's role.
class Controller : public QObject
{
    Q_OBJECT

public:
    explicit Controller(QObject *parent = nullptr);
    ~Controller() override;

    // Waits for the listener to settle (holding the calling thread), then
    // shows the main window, or says why the server cannot run and queues
    // the end of the event loop with status 1.
    void start();

private:
    BusinessController *m_businessController = nullptr;
    MainWindow *m_mainWindow = nullptr;
};

#endif // ORV_UI_CONTROLLER_H
