#ifndef TESTS_UI_EXPECTMODAL_H
#define TESTS_UI_EXPECTMODAL_H

// Answers a blocking box or dialog from inside its own event loop: from a
// zero-delay timer it waits until a modal widget of the expected type is
// active, then answers it once. Polling stops when the answer is given, on
// timeout, or when the ExpectModal goes out of scope, so a box that never
// came up cannot be answered by a stale poll in a later case.
// The answer runs inside the poll's timer event: a box that the answer
// itself opens (a menu entry that asks something) cannot be answered by a
// second ExpectModal, since no timer fires in a loop run from a timer.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class ExpectModal
{
public:
    // ExpectModal::of<QFileDialog>([](QFileDialog *d) { ... })
    template <typename T, typename Answer>
    static std::unique_ptr<ExpectModal> of(Answer answer, int timeoutMs = 5000)
    {
        return expect<T>(answer, timeoutMs, &QApplication::activeModalWidget);
    }

    // The same for a popup run blocking (QMenu::exec).
    template <typename T, typename Answer>
    static std::unique_ptr<ExpectModal> popup(Answer answer, int timeoutMs = 5000)
    {
        return expect<T>(answer, timeoutMs, &QApplication::activePopupWidget);
    }

    // A message box answered with `button`.
    static std::unique_ptr<ExpectModal> messageBox(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        return of<QMessageBox>(press(button));
    }

    ~ExpectModal() = default;
    ExpectModal(const ExpectModal &) = delete;
    ExpectModal &operator=(const ExpectModal &) = delete;

    // For a message box: the function that presses `button`.
    static std::function<void(QMessageBox *)> press(QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        return [button](QMessageBox *box) {
            if (QAbstractButton *b = box->button(button))
                b->click();
            else
                box->reject();
        };
    }

    bool answered() const { return m_state->answered; }
    // For a message box: its title and text, empty when none came up.
    QString title() const { return m_state->texts.value(0); }
    QString text() const { return m_state->texts.value(1); }

private:
    template <typename T, typename Answer>
    static std::unique_ptr<ExpectModal> expect(Answer answer, int timeoutMs, QWidget *(*active)())
    {
        std::unique_ptr<ExpectModal> handle(new ExpectModal());
        State *state = handle->m_state.get();
        state->timeoutMs = timeoutMs;
        state->clock.start();
        state->tryAnswer = [state, answer, active]() {
            T *widget = qobject_cast<T *>(active());
            if (!widget || !widget->isVisible())
                return false;
            state->answered = true;
            if (QMessageBox *box = qobject_cast<QMessageBox *>(widget))
                state->texts = QStringList{box->windowTitle(), box->text()};
            answer(widget);
            return true;
        };
        schedule(handle->m_state, 0);
        return handle;
    }

    struct State
    {
        bool answered = false;
        int timeoutMs = 0;
        QElapsedTimer clock;
        QStringList texts;
        std::function<bool()> tryAnswer;
    };

    ExpectModal() : m_state(std::make_shared<State>()) {}

    static void schedule(const std::weak_ptr<State> &weak, int delayMs)
    {
        QTimer::singleShot(delayMs, [weak]() {
            std::shared_ptr<State> state = weak.lock();
            if (!state || state->tryAnswer() || state->clock.elapsed() > state->timeoutMs)
                return;
            schedule(weak, 1);
        });
    }

    std::shared_ptr<State> m_state;
};

#endif // TESTS_UI_EXPECTMODAL_H
