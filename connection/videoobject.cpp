#include "connection/videoobject.h"

#include "common/constants.h"

#include <QDebug>
#include <QDir>
#include <QFile>

namespace {

// The path is a peer's word: it must name a file inside the video folder,
// relative to the working folder, and may not climb out with "..". A
// backslash is refused outright: here it is no separator, so "videos\a"
// would land beside the video folder, not in it.
bool isBelowVideoFolder(const QString &path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path) || path.contains('\\'))
        return false;
    QStringList parts = path.split('/', Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    if (parts.contains(QStringLiteral("..")))
        return false;
    QStringList folder = VIDEO_FOLDER.split('/', Qt::SkipEmptyParts);
    folder.removeAll(QStringLiteral("."));
    if (parts.size() <= folder.size())
        return false;
    for (int i = 0; i < folder.size(); ++i) {
        if (parts.at(i) != folder.at(i))
            return false;
    }
    return true;
}

} // namespace

VideoObject::VideoObject(QObject *parent)
    : QObject(parent)
{
}

VideoObject::~VideoObject()
{
    closeFile();
}

void VideoObject::openFile(const QString &path)
{
    // A start without an end must not leave the earlier file open.
    closeFile();
    if (!isBelowVideoFolder(path)) {
        qWarning().noquote() << "Refused video path outside the video folder:" << path;
        return;
    }
    m_file = new QFile(QDir::cleanPath(path));
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        qInfo("Error open mp4 file");
}

int VideoObject::writeData(const char *data, int length)
{
    if (!m_file || !m_file->isOpen() || length < 0 || (!data && length > 0))
        return -1;
    return static_cast<int>(m_file->write(data, length));
}

void VideoObject::closeFile()
{
    if (!m_file)
        return;
    m_file->close();
    delete m_file;
    m_file = nullptr;
}
