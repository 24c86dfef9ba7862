#ifndef TESTS_PRINT_MODALANSWERER_H
#define TESTS_PRINT_MODALANSWERER_H

// Answers the next modal window from a zero-delay timer and records what it
// was: "box: <title> / <text>" for a message box (answered Ok), "file
// dialog" for a file dialog (given the file name set, or cancelled), else
// the window's class name (cancelled).

#include <QObject>
#include <QString>
#include <QTimer>

class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(const QString &saveAs = QString());
    QString seen() const { return m_seen; }

private:
    void answer();

    QTimer m_timer;
    QString m_saveAs;
    QString m_seen;
};

#endif // TESTS_PRINT_MODALANSWERER_H
