// Builds N automatic result sheets the way the automatic printing path does
// (template check, variables, portrait, signed QR code) and writes each as a
// PDF, then prints the median and worst time per sheet and the PDF sizes.
// The design prints one sheet per 10 s, so a sheet must take a small
// fraction of that.
//
//   bench_result_sheet [-n N] [--keep DIR]
//
// --keep writes the PDFs into DIR (kept) instead of a temporary folder.

#include "lib/report/reportengine.h"
#include "records/reportinfo.h"
#include "reports/print/printdialog.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextCodec>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A portrait of the size the centres scan (about 3 x 4 cm at 300 dpi).
QString portraitBase64()
{
    QImage image(354, 472, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient ground(0, 0, 0, image.height());
    ground.setColorAt(0, QColor(170, 200, 235));
    ground.setColorAt(1, QColor(90, 130, 190));
    painter.fillRect(image.rect(), ground);
    painter.setBrush(QColor(230, 195, 160));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRect(107, 80, 140, 180));
    painter.setBrush(QColor(40, 50, 70));
    painter.drawRoundedRect(QRect(47, 290, 260, 220), 80, 80);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    return QString::fromLatin1(bytes.toBase64());
}

ReportInfo sheet(int i, const QString &portrait)
{
    ReportInfo info;
    info.setProvinceName(QString::fromUtf8("SỞ GIAO THÔNG VẬN TẢI ĐỒNG NAI"));
    info.setName(QString::fromUtf8("Nguyễn Thị Hồng Nhung %1").arg(i));
    info.setDateOfBirth("12.03.1998");
    info.setId(QString("0790980%1").arg(i, 5, 10, QChar('0')));
    info.setRank("B2");
    info.setOrderNumber(QString::number(i + 1));
    info.setScore(40 + i % 10);
    info.setResult(i % 10 < 5 ? "KHONG DAT" : "DAT");
    info.setCourse("K01");
    info.setContestDate("10.12.2026");
    info.setPlace(QString::fromUtf8("Trung tâm đào tạo và sát hạch lái xe Long Thành"));
    info.setAnswers("5;4;5;3;5;4;5;5;4;5|11;12;13");
    info.setResultValid(true);
    info.setAvatar(portrait);
    info.setAttemptCount(1);
    return info;
}

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({{"n", "sheets"}, "Number of sheets (default 100).", "N", "100"});
    parser.addOption({"keep", "Write the PDFs into DIR and keep them.", "DIR"});
    parser.process(app);
    const int count = qMax(1, parser.value("sheets").toInt());

    QTemporaryDir work;
    const QString folder = work.path();
    if (!QDir(folder).mkpath("reportTemplate")
        || !QFile::copy(ORV_SOURCE_DIR "/reportTemplate/orv04_new.lrxml", folder + "/reportTemplate/orv04_new.lrxml")) {
        std::fprintf(stderr, "cannot prepare the working folder\n");
        return 1;
    }
    QString out = parser.isSet("keep") ? QDir(parser.value("keep")).absolutePath() : folder + "/pdf";
    QDir().mkpath(out);
    QDir::setCurrent(folder);

    const QString portrait = portraitBase64();
    // The notifier runs as in the program; nothing is connected to it.
    PrintDialog dialog(nullptr, 10000);
    std::vector<double> times, builds;
    std::vector<qint64> sizes;
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        ReportInfo info = sheet(i, portrait);
        timer.start();
        dialog.setDetail2(&info);
        builds.push_back(timer.nsecsElapsed() / 1e6);
        LimeReport::ReportEngine *engine = dialog.getReportList().value(i);
        const QString file = QString("%1/K01_%2.pdf").arg(out).arg(i + 1);
        if (!engine || !engine->printToPDF(file)) {
            std::fprintf(stderr, "sheet %d was not written\n", i + 1);
            return 1;
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
        dialog.releaseReport(i);
        sizes.push_back(QFileInfo(file).size());
    }
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    const double median = medianOf(times);
    std::vector<double> writes;
    for (size_t i = 0; i < times.size(); ++i)
        writes.push_back(times[i] - builds[i]);
    const qint64 largest = *std::max_element(sizes.begin(), sizes.end());
    qint64 total = 0;
    for (qint64 s : sizes)
        total += s;
    std::printf("result_sheet: %d automatic sheets, built and written as PDF\n", count);
    std::printf("time per sheet: median %.1f ms, worst %.1f ms (first %.1f ms)\n", median, sorted.back(), times[0]);
    std::printf("  of which building the sheet (template check, portrait, QR code, img.png): median %.1f ms;"
                " writing the PDF: median %.1f ms\n",
                medianOf(builds), medianOf(writes));
    std::printf("PDF size: mean %.1f KiB, largest %.1f KiB\n", total / double(count) / 1024, largest / 1024.0);
    std::printf("aim: under 100 ms and 200 KiB a sheet; one sheet is printed per 10 s\n");
    if (parser.isSet("keep"))
        std::printf("PDFs kept in %s\n", qPrintable(out));
    return 0;
}
