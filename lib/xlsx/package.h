#ifndef LIB_XLSX_PACKAGE_H
#define LIB_XLSX_PACKAGE_H

#include <QByteArray>
#include <QList>
#include <QString>

#include <quazip/quazipfileinfo.h>

namespace QXlsx {

// The zip container of a workbook. Every entry is kept as it was read,
// compressed bytes included, so that an entry nobody replaced is written back
// byte for byte; replaced entries are compressed anew.
class Package
{
public:
    // Reads every entry of the file; false when it is missing or no sound zip.
    bool load(const QString &path);
    bool contains(const QString &name) const;
    // The uncompressed bytes of entry `name`; null when there is none.
    QByteArray read(const QString &name) const;
    void replace(const QString &name, const QByteArray &data);
    // Writes the whole package to `path`, replacing an older file only once
    // the new one is complete.
    bool save(const QString &path) const;

private:
    struct Entry
    {
        QuaZipFileInfo64 info;
        QByteArray raw;
        QByteArray data;
        int method = 0;
        int level = 0;
        bool replaced = false;
    };
    QList<Entry> m_entries;
};

} // namespace QXlsx

#endif // LIB_XLSX_PACKAGE_H
