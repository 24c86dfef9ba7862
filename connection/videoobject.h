#ifndef CONNECTION_VIDEOOBJECT_H
#define CONNECTION_VIDEOOBJECT_H

#include <QObject>
#include <QString>

class QFile;

// The receiving end of a video transfer: writes one incoming video file chunk
// by chunk, between an openFile and a closeFile.
class VideoObject : public QObject
{
    Q_OBJECT

public:
    explicit VideoObject(QObject *parent = nullptr);
    ~VideoObject() override;

    // The path comes from the peer: only a relative path below the video
    // folder, without "..", is opened; an existing file is truncated.
    void openFile(const QString &path);
    // Appends to the current file: the number of bytes written, -1 when
    // nothing could be written (no file open, or an I/O error).
    int writeData(const char *data, int length);
    // Ends the current transfer; nothing happens without one.
    void closeFile();

private:
    QFile *m_file = nullptr;
};

#endif // CONNECTION_VIDEOOBJECT_H
