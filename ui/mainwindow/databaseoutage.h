#ifndef ORV_UI_MAINWINDOW_DATABASEOUTAGE_H
#define ORV_UI_MAINWINDOW_DATABASEOUTAGE_H

#include "ui/customerbox.h"

#include <QObject>
#include <QTimer>

class BusinessController;
class BusinessControllerClient;

// An outage of the main database as the candidate views live through it:
// the operator is told once per outage, what is shown stays, and the views
// are read again every few seconds until the database answers, and at once
// when news comes that it does. The operator is also told, each time, that
// the terminals' journal cannot be written.
class DatabaseOutage : public QObject
{
    Q_OBJECT

public:
    DatabaseOutage(BusinessController *businessController, BusinessControllerClient *businessControllerClient,
                   CustomerBox &notice);

    // A read failed or a terminal's write was kept for later.
    void onDatabaseUnreachable();

signals:
    // The current course has been read again: the window is to show it.
    void refreshRequested();

private:
    void onDatabaseReachable();
    void onJournalUnwritable();
    void refreshAfterOutage();

    BusinessController *m_businessController;
    CustomerBox &m_notice;
    // The operator has been told of the outage under way.
    bool m_outageNoticed = false;
    QTimer m_outageRefresh;
    // Its own box: it may come with the outage notice, and each is read.
    CustomerBox m_journalNotice;
};

#endif // ORV_UI_MAINWINDOW_DATABASEOUTAGE_H
