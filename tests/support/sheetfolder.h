#ifndef TESTS_SUPPORT_SHEETFOLDER_H
#define TESTS_SUPPORT_SHEETFOLDER_H

// A working folder holding the two shipped result-sheet templates under
// reportTemplate/, made current for its lifetime (the printing dialog reads
// its templates relative to the working folder).

#include <QString>
#include <QTemporaryDir>

class SheetFolder
{
public:
    SheetFolder();
    ~SheetFolder();
    SheetFolder(const SheetFolder &) = delete;
    SheetFolder &operator=(const SheetFolder &) = delete;

    bool isValid() const { return m_valid; }
    QString filePath(const QString &relative) const;

    // "orv04.lrxml" or "orv04_new.lrxml": the template below the folder.
    QString templatePath(const QString &name) const;
    // Flips one bit of one byte in the middle of the template.
    bool alterTemplate(const QString &name) const;
    bool removeTemplate(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
    bool m_valid = false;
};

#endif // TESTS_SUPPORT_SHEETFOLDER_H
