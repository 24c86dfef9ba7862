#ifndef TESTS_SUPPORT_OPENEDFILES_H
#define TESTS_SUPPORT_OPENEDFILES_H

#include <QObject>
#include <QStringList>
#include <QUrl>

// Stands in for the desktop's file opener (QDesktopServices::setUrlHandler
// with the slot "openUrl").
class OpenedFiles : public QObject
{
    Q_OBJECT

public:
    QStringList paths;

public slots:
    void openUrl(const QUrl &url) { paths << url.toLocalFile(); }
};

#endif // TESTS_SUPPORT_OPENEDFILES_H
