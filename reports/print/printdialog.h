#ifndef REPORTS_PRINT_PRINTDIALOG_H
#define REPORTS_PRINT_PRINTDIALOG_H

#include "lib/report/reportengine.h"
#include "platform/thread.h"

#include <QDialog>
#include <QList>

#include <mutex>

class ReportInfo;

namespace Ui {
class PrintDialog;
}

namespace LimeReport {
class PreviewReportWidget;
}

// One candidate's result sheet: previewed, printed or written as PDF by the
// operator (setDetail), or built for automatic printing (setDetail2).
//
// Automatic printing, as the main window uses it (GUI thread throughout):
// - connect notifyPrintReport(int) to a slot of the main window (queued: it
//   is emitted on the notifier thread), then call startPrintNotifyThread();
//   setDetail2 also starts the notifier when it queues a sheet while none
//   runs, so automatic printing switched on later still prints.
// - setDetail2 for every result; a sheet whose template passes its check is
//   appended to the queue, and never moves.
// - notifyPrintReport(i) announces each queued sheet once, in queue order,
//   at most one per print period (10 s). The slot takes entry i of
//   getReportList(), prints it (printReport) or writes it (printToPDF), and
//   may then call releaseReport(i): the engine is deleted and its entry
//   becomes null, so the indices of the others stay valid. A slot must
//   therefore skip an entry that is null or past the end of the list.
// - destroying the dialog stops and joins the notifier, then deletes every
//   queued engine.
class PrintDialog : public QDialog
{
    Q_OBJECT

public:
    // printPeriodMs: the shortest time between two announcements.
    explicit PrintDialog(QWidget *parent = nullptr, int printPeriodMs = 10000);
    ~PrintDialog() override;

    // Fills and draws the preview. Afterwards isTemplateValid() says whether
    // the template passed its check; print and PDF refuse while it did not,
    // or while the result may not be printed.
    void setDetail(const ReportInfo &info);
    bool isTemplateValid();

    // Builds one automatic sheet and queues it when its template passed the
    // check.
    void setDetail2(ReportInfo *info);
    // A copy of the queue; an entry released since is null.
    QList<LimeReport::ReportEngine *> getReportList();
    // Starts the notifier unless it runs already.
    void startPrintNotifyThread();
    // Deletes the engine of an announced sheet once it is printed; its entry
    // stays, null. Out-of-range indices are ignored.
    void releaseReport(int index);

signals:
    void printClose();
    void notifyPrintReport(int count);

private slots:
    void on_pbClose_clicked();
    void on_pbPrint_clicked();
    void on_pbToPdf_clicked();

private:
    void printNotifyLoop();
    bool mayPrint();

    Ui::PrintDialog *ui;
    LimeReport::ReportEngine m_report;
    LimeReport::PreviewReportWidget *m_preview;
    QList<LimeReport::ReportEngine *> m_reportList;
    std::mutex m_reportListMutex;
    bool m_resultValid = true;
    bool m_templateValid = true;
    bool m_autoTemplateValid = true;
    const int m_printPeriodMs;
    Thread m_notifyThread;
};

#endif // REPORTS_PRINT_PRINTDIALOG_H
