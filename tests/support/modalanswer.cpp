#include "tests/support/modalanswer.h"

ModalAnswer::ModalAnswer(Finder find, Answerer answer, int timeoutMs)
    : m_find(std::move(find)), m_answer(std::move(answer)), m_timeoutMs(timeoutMs)
{
    m_clock.start();
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, [this]() { poll(); });
    m_timer.start();
}

ModalAnswer::~ModalAnswer() = default;

std::unique_ptr<ModalAnswer> ModalAnswer::messageBox(QMessageBox::StandardButton button, int timeoutMs)
{
    return of<QMessageBox>(press(button), timeoutMs);
}

std::function<void(QMessageBox *)> ModalAnswer::press(QMessageBox::StandardButton button)
{
    return [button](QMessageBox *box) {
        if (QAbstractButton *b = box->button(button))
            b->click();
        else
            box->reject();
    };
}

std::function<void(QFileDialog *)> ModalAnswer::choose(const QString &path)
{
    return [path](QFileDialog *dialog) {
        if (path.isEmpty()) {
            dialog->reject();
        } else {
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept is protected
        }
    };
}

void ModalAnswer::poll()
{
    QWidget *widget = m_find();
    if (!widget) {
        if (m_clock.hasExpired(m_timeoutMs))
            m_timer.stop();
        return;
    }
    m_timer.stop();
    m_answered = true;
    if (auto *box = qobject_cast<QMessageBox *>(widget)) {
        m_title = box->windowTitle();
        m_text = box->text();
    }
    m_answer(widget);
}
