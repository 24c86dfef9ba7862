#ifndef TESTS_UI_STARTUPBOX_H
#define TESTS_UI_STARTUPBOX_H

// A start that is refused: the controller's box is answered, the event loop
// runs until the program ends, and what the operator saw is kept.

#include "tests/support/modalanswer.h"
#include "app/controller.h"
#include "app/loghandler.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QMessageBox>

#include <memory>

struct StartupBox
{
    QString title;
    QString text;
    int status = -1;
    bool mainWindowShown = false;
};

// Starts the controller in the current working folder with the program's
// own log handler; one call per test executable (the singletons stay).
inline StartupBox runRefusedStart()
{
    StartupBox seen;
    QtMessageHandler previous = qInstallMessageHandler(logMessageHandler);
    {
        Controller controller;
        std::unique_ptr<ModalAnswer> answer = ModalAnswer::messageBox(QMessageBox::Ok, 10000);
        controller.start();
        seen.status = QCoreApplication::exec();
        seen.title = answer->title();
        seen.text = answer->text();
        for (QWidget *window : QApplication::topLevelWidgets())
            seen.mainWindowShown |= qobject_cast<MainWindow *>(window) && window->isVisible();
    }
    qInstallMessageHandler(previous);
    return seen;
}

#endif // TESTS_UI_STARTUPBOX_H
