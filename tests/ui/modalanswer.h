#ifndef TESTS_UI_MODALANSWER_H
#define TESTS_UI_MODALANSWER_H

// Blocking boxes and dialogs (QMessageBox::question, exec) are answered from
// a zero-delay timer: it runs inside the box's own event loop and hands the
// modal widget to `answer` as soon as one is up.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <memory>

namespace ModalAnswer {

// Calls `answer` once with the first modal widget shown from now on (within
// `timeoutMs`; after that the timer gives up silently and the test's own
// check fails).
inline void next(std::function<void(QWidget *)> answer, int timeoutMs = 10000)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(0);
    auto since = std::make_shared<QElapsedTimer>();
    since->start();
    QObject::connect(timer, &QTimer::timeout, [timer, since, answer, timeoutMs]() {
        QWidget *modal = QApplication::activeModalWidget();
        const bool up = modal && modal->isVisible();
        if (!up && !since->hasExpired(timeoutMs))
            return;
        timer->stop();
        timer->deleteLater();
        if (up)
            answer(modal);
    });
    timer->start();
}

// Presses `button` of the next QMessageBox, after recording its title and
// text.
inline void pressInNextBox(QMessageBox::StandardButton button, QString *title = nullptr,
                           QString *text = nullptr)
{
    next([button, title, text](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        if (title)
            *title = box->windowTitle();
        if (text)
            *text = box->text();
        if (QAbstractButton *pressed = box->button(button))
            pressed->click();
    });
}

} // namespace ModalAnswer

#endif // TESTS_UI_MODALANSWER_H
