#include "reports/print/printdialog.h"

#include "common/constants.h"
#include "lib/report/previewreportwidget.h"
#include "records/jp2image.h"
#include "records/reportinfo.h"
#include "records/safetext.h"
#include "records/utility.h"
#include "reports/print/qrimage.h"
#include "reports/print/sheetintegrity.h"
#include "ui_printdialog.h"

#include <QDebug>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QStandardItemModel>

namespace {

const QString TEMPLATE_PATH = "reportTemplate/orv04.lrxml";
const QString AUTO_TEMPLATE_PATH = "reportTemplate/orv04_new.lrxml";

// The digests of the two templates shipped in reportTemplate/, worked out
// with templateDigest and this salt: any change to a template needs a new
// value here (the print suite fails until it has one).
const QString TEMPLATE_DIGEST = "5a8b7e0f014706a4b2f593e1e1b28e8b";
const QString AUTO_TEMPLATE_DIGEST = "db2c53fa079d2f9f28cbfecd9f256863";
const QByteArray TEMPLATE_DIGEST_SALT =
    "4e7a1c9d0b3f6e2a8d5c1f7b3a9e0d6c2f8b4a1e7c0d5b9f1e6a3c8d5b2f9e0a9d4c7a1f6e0b3d8c0a7f2e5b8c1d6a3e3f9b0c7d5a2e8f1c7d6b4e0a1c8f3a9e";
const QByteArray QR_SIGNATURE_KEY = "6d0f3a8c5e2b71d94f0a6c3e8b5d27f1a9";

const QString CANCEL_IMAGE_PATH = ":/images/resources/cancel.png";
const int ANSWER_COUNT = 10;

// failure: the debug line written when the bytes are no picture.
QImage portraitOf(const QString &avatar, const char *failure)
{
    QImage image;
    if (!image.loadFromData(readablePhoto(QByteArray::fromBase64(avatar.toLatin1()))))
        qDebug() << failure;
    return image;
}

// The fields of the answer part (before the first "|"), empty ones kept.
QStringList answerFields(const QString &answers)
{
    return answers.section('|', 0, 0).split(';', Qt::KeepEmptyParts);
}

// What both sheets show: the candidate, the warning over a result not sat or
// altered (the cross over an altered one), and the signed QR code.
void setCommonVariables(LimeReport::IDataSourceManager *data, const ReportInfo &info, const char *portraitFailure)
{
    // A line break in a stored name would be drawn over the next line.
    const auto text = [](const QString &value) { return SafeText::withoutControls(value); };
    data->setReportVariable("ProvinceName", text(info.getProvinceName()));
    data->setReportVariable("Rank", text(info.getRank()));
    data->setReportVariable("OrderNumber", text(info.getOrderNumber()));
    data->setReportVariable("Score", info.getScore());
    data->setReportVariable("Result", Utility::getInstance()->resultLabel(info.getResult()));
    data->setReportVariable("Name", text(info.getName()));
    data->setReportVariable("DateOfBirth", text(info.getDateOfBirth()));
    data->setReportVariable("Id", text(info.getId()));
    data->setReportVariable("Course", text(info.getCourse()));
    // Not drawn: the automatic sheet's file name keeps it when the course
    // name is cut.
    data->setReportVariable("CourseCode", info.getCourseCode());
    data->setReportVariable("ContestOfDate", text(info.getContestDate()));
    data->setReportVariable("Place", text(info.getPlace()));
    data->setReportVariable("Avatar", portraitOf(info.getAvatar(), portraitFailure));

    if (info.getScore() == -1) {
        data->setReportVariable("Warning", MSG_STUDENT_NOT_EXAMINED);
        data->setReportVariable("Score", QString(""));
    } else if (!info.getResultValid()) {
        data->setReportVariable("Warning", MSG_RESULT_CHANGED);
        data->setReportVariable("Cancel", QImage(CANCEL_IMAGE_PATH));
    }
    data->setReportVariable("QRCode", makeQrImage(signQrText(resultSheetQrText(info), QR_SIGNATURE_KEY)));
}

} // namespace

PrintDialog::PrintDialog(QWidget *parent, int printPeriodMs)
    : QDialog(parent), ui(new Ui::PrintDialog), m_preview(nullptr), m_printPeriodMs(qMax(0, printPeriodMs))
{
    ui->setupUi(this);
    m_preview = m_report.createPreviewWidget();
    ui->verticalLayout->addWidget(m_preview);
}

PrintDialog::~PrintDialog()
{
    // The notifier reads the queue: it goes first.
    m_notifyThread.requestStop();
    m_notifyThread.join();
    // The preview draws from m_report, which is destroyed before the
    // dialog's children.
    delete m_preview;
    delete ui;
    std::lock_guard<std::mutex> guard(m_reportListMutex);
    qDeleteAll(m_reportList);
    m_reportList.clear();
}

void PrintDialog::setDetail(const ReportInfo &info)
{
    QFile file(TEMPLATE_PATH);
    if (!file.open(QIODevice::ReadOnly)) {
        m_templateValid = false;
        QMessageBox::warning(this, QString::fromUtf8("Cảnh báo"),
                             QString::fromUtf8("Tập tin mẫu báo cáo không tồn tại"), QMessageBox::Ok);
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    m_templateValid = templateDigest(TEMPLATE_DIGEST_SALT, bytes) == TEMPLATE_DIGEST;

    // From the bytes just checked, not the file again: a file swapped in
    // between cannot print under the checked digest.
    m_report.loadFromByteArray(bytes);
    LimeReport::IDataSourceManager *data = m_report.dataManager();
    data->setReportVariable("Cancel", 0);
    setCommonVariables(data, info, "PrintDialog::setDetail: Can't load image file");
    m_resultValid = info.getResultValid();

    QStandardItemModel table(1, ANSWER_COUNT);
    if (!info.getAnswers().isEmpty()) {
        const QStringList fields = answerFields(info.getAnswers());
        for (int i = 0; i < ANSWER_COUNT && i < fields.size(); ++i)
            table.setItem(0, i, new QStandardItem(fields.at(i)));
    }
    data->addModel("result", &table, false);
    m_preview->refreshPages();
}

bool PrintDialog::isTemplateValid()
{
    return m_templateValid;
}

void PrintDialog::setDetail2(ReportInfo *info)
{
    if (!info)
        return;
    QByteArray bytes;
    QFile file(AUTO_TEMPLATE_PATH);
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
        file.close();
    }
    m_autoTemplateValid = templateDigest(TEMPLATE_DIGEST_SALT, bytes) == AUTO_TEMPLATE_DIGEST;

    auto *report = new LimeReport::ReportEngine;
    report->loadFromByteArray(bytes);
    LimeReport::IDataSourceManager *data = report->dataManager();
    setCommonVariables(data, *info, "PrintDialog::setDetail2: Can't load image file");

    QStringList points;
    if (!info->getAnswers().isEmpty()) {
        const QStringList fields = answerFields(info->getAnswers());
        for (int i = 0; i < ANSWER_COUNT; ++i)
            points << (fields.size() >= ANSWER_COUNT ? fields.at(i) : QString("0"));
    } else {
        for (int i = 0; i < ANSWER_COUNT; ++i)
            points << QString("");
    }
    for (int i = 0; i < ANSWER_COUNT; ++i)
        data->setReportVariable(QString("Point%1").arg(i + 1), points.at(i));

    if (!m_autoTemplateValid) {
        qDebug() << "PrintDialog::setDetail2: Don't print report because template file was changed!";
        qWarning() << "PrintDialog::setDetail2: automatic result sheets are not printed: the template"
                   << AUTO_TEMPLATE_PATH << "is missing or altered";
        delete report;
        return;
    }
    {
        std::lock_guard<std::mutex> guard(m_reportListMutex);
        m_reportList.append(report);
    }
    if (!m_notifyThread.isStarted())
        startPrintNotifyThread();
}

QList<LimeReport::ReportEngine *> PrintDialog::getReportList()
{
    std::lock_guard<std::mutex> guard(m_reportListMutex);
    return m_reportList;
}

void PrintDialog::startPrintNotifyThread()
{
    if (m_notifyThread.isStarted())
        return;
    if (!m_notifyThread.start([this] { printNotifyLoop(); }))
        qWarning() << "PrintDialog::startPrintNotifyThread: the print notifier did not start;"
                      " automatic result sheets are not printed";
}

void PrintDialog::releaseReport(int index)
{
    std::lock_guard<std::mutex> guard(m_reportListMutex);
    if (index < 0 || index >= m_reportList.size())
        return;
    delete m_reportList.at(index);
    m_reportList[index] = nullptr;
}

void PrintDialog::printNotifyLoop()
{
    int i = 0;
    while (!m_notifyThread.stopRequested()) {
        int count = 0;
        {
            std::lock_guard<std::mutex> guard(m_reportListMutex);
            count = m_reportList.size();
        }
        if (i < count) {
            emit notifyPrintReport(i);
            ++i;
        }
        if (m_notifyThread.waitForStop(m_printPeriodMs))
            break;
    }
}

bool PrintDialog::mayPrint()
{
    if (!m_templateValid) {
        QMessageBox::warning(this, QString::fromUtf8("Cảnh báo"),
                             QString::fromUtf8("Không in báo cáo do tập tin mẫu báo cáo đã bị thay đổi!!!"),
                             QMessageBox::Ok);
        return false;
    }
    if (!m_resultValid) {
        QMessageBox::warning(
            this, QString::fromUtf8("Cảnh báo"),
            QString::fromUtf8("Không in báo cáo do thí sinh chưa thi hoặc kết quả thi đã bị can thiệp!!!"),
            QMessageBox::Ok);
        return false;
    }
    return true;
}

void PrintDialog::on_pbPrint_clicked()
{
    if (mayPrint())
        m_preview->print();
}

void PrintDialog::on_pbToPdf_clicked()
{
    if (mayPrint())
        m_preview->printToPDF();
}

void PrintDialog::on_pbClose_clicked()
{
    hide();
    emit printClose();
}
