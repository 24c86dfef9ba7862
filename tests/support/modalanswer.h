#ifndef TESTS_SUPPORT_MODALANSWER_H
#define TESTS_SUPPORT_MODALANSWER_H

// Answers a blocking box, dialog or popup (QMessageBox, exec, QMenu::exec)
// from inside its own event loop: a zero-delay timer waits until a visible
// widget of the expected type is the active modal (or popup) widget, then
// answers it once. Polling stops when the answer is given, on timeout, or
// when the ModalAnswer goes out of scope, so a box that never came up
// cannot be answered by a stale poll in a later case. Keep the ModalAnswer
// alive until the code that shows the box has returned.
//
// The timer is stopped before the answer runs, and the answer runs inside
// its timer event: a box that the answer itself opens (a menu entry that
// asks something) cannot be answered by a second ModalAnswer.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class ModalAnswer
{
public:
    // How long a ModalAnswer waits for its widget unless told otherwise.
    static constexpr int DefaultTimeoutMs = 5000;
    // A timeout that never ends: the ModalAnswer waits for as long as it lives.
    static constexpr int NoTimeout = -1;

    // ModalAnswer::of<QFileDialog>([](QFileDialog *d) { ... }); of<QWidget>
    // answers whatever modal widget comes up first.
    template <typename T, typename Answer>
    static std::unique_ptr<ModalAnswer> of(Answer answer, int timeoutMs = DefaultTimeoutMs)
    {
        return expect<T>(answer, timeoutMs, &QApplication::activeModalWidget);
    }

    // The same for a popup run blocking (QMenu::exec).
    template <typename T, typename Answer>
    static std::unique_ptr<ModalAnswer> popup(Answer answer, int timeoutMs = DefaultTimeoutMs)
    {
        return expect<T>(answer, timeoutMs, &QApplication::activePopupWidget);
    }

    // A message box answered with `button`.
    static std::unique_ptr<ModalAnswer> messageBox(QMessageBox::StandardButton button = QMessageBox::Ok,
                                                   int timeoutMs = DefaultTimeoutMs);

    // For a message box: the function that presses `button`, or rejects the
    // box when it has no such button.
    static std::function<void(QMessageBox *)> press(QMessageBox::StandardButton button = QMessageBox::Ok);

    // For a file dialog: the function that chooses `path`, or cancels the
    // dialog when `path` is empty.
    static std::function<void(QFileDialog *)> choose(const QString &path);

    ~ModalAnswer();
    ModalAnswer(const ModalAnswer &) = delete;
    ModalAnswer &operator=(const ModalAnswer &) = delete;

    bool answered() const { return m_answered; }
    // For a message box: its title and text, empty when none came up.
    QString title() const { return m_title; }
    QString text() const { return m_text; }

private:
    using Finder = std::function<QWidget *()>;
    using Answerer = std::function<void(QWidget *)>;

    template <typename T, typename Answer>
    static std::unique_ptr<ModalAnswer> expect(Answer answer, int timeoutMs, QWidget *(*active)())
    {
        Finder find = [active]() -> QWidget * {
            T *widget = qobject_cast<T *>(active());
            return widget && widget->isVisible() ? widget : nullptr;
        };
        Answerer give = [answer](QWidget *widget) { answer(static_cast<T *>(widget)); };
        return std::unique_ptr<ModalAnswer>(new ModalAnswer(find, give, timeoutMs));
    }

    ModalAnswer(Finder find, Answerer answer, int timeoutMs);
    void poll();

    Finder m_find;
    Answerer m_answer;
    int m_timeoutMs;
    QElapsedTimer m_clock;
    QTimer m_timer;
    bool m_answered = false;
    QString m_title;
    QString m_text;
};

#endif // TESTS_SUPPORT_MODALANSWER_H
