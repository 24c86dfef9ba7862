#include "lib/xlsx/package.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace QXlsx {

bool Package::load(const QString &path)
{
    m_entries.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readAll();
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip))
        return false;
    QList<Entry> entries;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        Entry entry;
        if (!zip.getCurrentFileInfo(&entry.info))
            return false;
        // Encrypted entries cannot be read, so neither edited nor trusted.
        if (entry.info.flags & 1)
            return false;
        QuaZipFile raw(&zip);
        if (!raw.open(QIODevice::ReadOnly, &entry.method, &entry.level, true))
            return false;
        entry.raw = raw.readAll();
        raw.close();
        // Reading every entry through once checks its checksum, so a damaged
        // template is refused here instead of being copied on.
        QuaZipFile plain(&zip);
        if (!plain.open(QIODevice::ReadOnly))
            return false;
        entry.data = plain.readAll();
        plain.close();
        if (plain.getZipError() != UNZ_OK || quint64(entry.data.size()) != entry.info.uncompressedSize)
            return false;
        entries.append(entry);
    }
    if (zip.getZipError() != UNZ_OK)
        return false;
    zip.close();
    m_entries = entries;
    return !m_entries.isEmpty();
}

bool Package::contains(const QString &name) const
{
    for (const Entry &entry : m_entries)
        if (entry.info.name == name)
            return true;
    return false;
}

QByteArray Package::read(const QString &name) const
{
    for (const Entry &entry : m_entries)
        if (entry.info.name == name)
            return entry.data;
    return QByteArray();
}

void Package::replace(const QString &name, const QByteArray &data)
{
    for (Entry &entry : m_entries) {
        if (entry.info.name == name) {
            entry.data = data;
            entry.replaced = true;
            return;
        }
    }
}

bool Package::save(const QString &path) const
{
    if (m_entries.isEmpty())
        return false;
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        QuaZip zip(&buffer);
        // Sizes go into the local headers: the buffer can seek back.
        zip.setDataDescriptorWritingEnabled(false);
        if (!zip.open(QuaZip::mdCreate))
            return false;
        for (const Entry &entry : m_entries) {
            QuaZipFile out(&zip);
            bool opened;
            if (entry.replaced) {
                QuaZipNewInfo info(entry.info.name);
                info.dateTime = entry.info.dateTime;
                info.externalAttr = entry.info.externalAttr;
                opened = out.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, Z_DEFAULT_COMPRESSION);
            } else {
                opened = out.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.info), nullptr, entry.info.crc,
                                  entry.method, entry.level, true);
            }
            if (!opened)
                return false;
            const QByteArray &payload = entry.replaced ? entry.data : entry.raw;
            if (out.write(payload) != payload.size())
                return false;
            out.close();
            if (out.getZipError() != ZIP_OK)
                return false;
        }
        zip.close();
        if (zip.getZipError() != ZIP_OK)
            return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

} // namespace QXlsx
