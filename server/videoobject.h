#ifndef SERVER_VIDEOOBJECT_H
#define SERVER_VIDEOOBJECT_H

#include <QObject>
#include <QString>

// The terminal-side receiver of a distributed video file. The server only
// sends videos: it never opens or writes a file whose path a peer names, so
// here the steps do nothing.
class VideoObject : public QObject
{
    Q_OBJECT

public:
    explicit VideoObject(QObject *parent = nullptr);

    void openFile(const QString &path);
    void writeData(const char *bytes, int n);
    void closeFile();
};

#endif // SERVER_VIDEOOBJECT_H
