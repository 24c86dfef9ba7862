#include "tests/support/sheetfolder.h"

#include <QDir>
#include <QFile>

SheetFolder::SheetFolder() : m_previous(QDir::currentPath())
{
    if (!m_dir.isValid() || !QDir(m_dir.path()).mkpath("reportTemplate"))
        return;
    for (const QString name : {"orv04.lrxml", "orv04_new.lrxml"}) {
        if (!QFile::copy(QString(ORV_SOURCE_DIR) + "/reportTemplate/" + name, templatePath(name)))
            return;
    }
    m_valid = QDir::setCurrent(m_dir.path());
}

SheetFolder::~SheetFolder()
{
    QDir::setCurrent(m_previous);
}

QString SheetFolder::filePath(const QString &relative) const
{
    return m_dir.filePath(relative);
}

QString SheetFolder::templatePath(const QString &name) const
{
    return m_dir.filePath("reportTemplate/" + name);
}

bool SheetFolder::alterTemplate(const QString &name) const
{
    QFile file(templatePath(name));
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return false;
    bytes[bytes.size() / 2] = char(bytes.at(bytes.size() / 2) ^ 0x01);
    return file.seek(0) && file.write(bytes) == bytes.size();
}

bool SheetFolder::removeTemplate(const QString &name) const
{
    return QFile::remove(templatePath(name));
}
