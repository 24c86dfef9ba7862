#ifndef ORV_APP_SIGNALWATCHER_H
#define ORV_APP_SIGNALWATCHER_H

#include <QObject>

class QSocketNotifier;

// SIGINT and SIGTERM (Ctrl+C, the session or the service manager) reach the
// event loop as a signal of this object: the handler itself only writes one
// byte to a socket pair, and the GUI thread does the rest. After the first
// of them the default action is back, so a second one ends a program that
// hangs on its way out.
//
// Work that holds the GUI thread cannot hear that signal until it returns;
// `onSignal`, called inside the handler itself, is how it is told at once
// (it must be async-signal-safe: set a lock-free atomic flag, no more).
class SignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatcher(void (*onSignal)() = nullptr, QObject *parent = nullptr);
    ~SignalWatcher() override;

    // False when the socket pair or the handlers could not be set up.
    bool isValid() const;

signals:
    void notifyTerminationRequested(int signalNumber);

private slots:
    void onSignalReceived();

private:
    QSocketNotifier *m_notifier = nullptr;
};

#endif // ORV_APP_SIGNALWATCHER_H
