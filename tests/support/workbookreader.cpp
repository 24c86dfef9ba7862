#include "tests/support/workbookreader.h"

#include "tests/support/testdb.h"

#include <QJsonDocument>
#include <QProcess>

namespace WorkbookReader {

QJsonObject read(const QString &path, QString *error)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {TestDb::sourcePath(QStringLiteral("tests/support/readxlsx.py")), path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        if (error)
            *error = QString::fromUtf8(python.readAllStandardError());
        return QJsonObject();
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

bool deflatedCopy(const QString &from, const QString &to)
{
    const QString script = QStringLiteral(
        "import sys, zipfile\n"
        "with zipfile.ZipFile(sys.argv[1]) as src, zipfile.ZipFile(sys.argv[2], 'w', zipfile.ZIP_DEFLATED) as dst:\n"
        "    for i in src.infolist():\n"
        "        dst.writestr(i.filename, src.read(i.filename))\n");
    return QProcess::execute(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, from, to}) == 0;
}

} // namespace WorkbookReader
