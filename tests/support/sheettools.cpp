#include "tests/support/sheettools.h"

#include <QDebug>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace SheetTools {

namespace {

QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        qWarning() << program << arguments << "failed:" << process.readAllStandardError();
        return QByteArray();
    }
    QByteArray out = process.readAllStandardOutput();
    // Present even when empty, so callers can tell success from failure.
    if (out.isNull())
        out = QByteArray("");
    return out;
}

} // namespace

QByteArray decodeQr(const QString &imageFile)
{
    return run("ZXingReader", {"-format", "QRCode", "-bytes", imageFile});
}

QString pdfText(const QString &pdfFile, bool layout)
{
    QStringList arguments;
    if (layout)
        arguments << "-layout";
    arguments << pdfFile << "-";
    const QByteArray out = run("pdftotext", arguments);
    return out.isNull() ? QString() : QString::fromUtf8(out);
}

QString renderPage(const QString &pdfFile, int dpi)
{
    const QString prefix = pdfFile + "-page";
    if (run("pdftoppm", {"-png", "-r", QString::number(dpi), "-f", "1", "-l", "1", "-singlefile", pdfFile, prefix})
            .isNull())
        return QString();
    const QString png = prefix + ".png";
    return QFileInfo::exists(png) ? png : QString();
}

int imageCount(const QString &pdfFile)
{
    const QByteArray out = run("pdfimages", {"-list", pdfFile});
    if (out.isNull())
        return -1;
    // Two heading lines, then one line per image; soft masks (transparency)
    // have lines of their own, typed "smask".
    int images = 0;
    for (const QByteArray &line : out.split('\n').mid(2)) {
        const QList<QByteArray> columns = line.simplified().split(' ');
        if (columns.size() > 2 && columns.at(2) == "image")
            ++images;
    }
    return images;
}

} // namespace SheetTools
