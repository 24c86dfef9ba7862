#include "server/videoobject.h"

VideoObject::VideoObject(QObject *parent)
    : QObject(parent)
{
}

void VideoObject::openFile(const QString &)
{
}

void VideoObject::writeData(const char *, int)
{
}

void VideoObject::closeFile()
{
}
