#ifndef ORV_UI_MAINWINDOW_AUTOPRINTER_H
#define ORV_UI_MAINWINDOW_AUTOPRINTER_H

#include "ui/customerbox.h"

#include <QObject>
#include <QString>

#include <memory>

class BusinessController;
class BusinessControllerClient;
class PrintDialog;

// The result sheets printed without the operator, as terminals hand in
// their results: the second printing dialog queues them and announces each
// once; each announced sheet goes to a PDF file or to the default printer
// by the run mode, and is then released. A sheet that could not be written
// or printed is told on the screen, once for each kind of failure until a
// sheet goes through again; it stays printable from the candidate table.
class AutoPrinter : public QObject
{
    Q_OBJECT

public:
    // printPeriodMs: the shortest time between two sheets.
    AutoPrinter(BusinessController *businessController, BusinessControllerClient *businessControllerClient,
                int printPeriodMs);
    // Joins the dialog's notifier.
    ~AutoPrinter() override;

    // The dialog whose notifyPrintReport announces the queued sheets.
    PrintDialog *dialog() const { return m_dialog.get(); }
    // Starts the announcements when the run mode prints automatically.
    void start();
    // Removes the files a previous run left in the PDF folder.
    void clearPdfFolder();

    // Queues the sheet of the terminal's result.
    void updateReport(quint64 idClient, int id, const QString &contestCode);
    // Prints or writes the announced sheet `index` and releases it; false
    // when that sheet is not there (any more).
    bool printReport(int index);

private:
    enum Failure { NoFailure, FileFailure, PrinterFailure };
    // Shows the failure unless its kind was shown since the last sheet that
    // went through; NoFailure is such a sheet.
    void tell(Failure failure, const QString &content);

    BusinessController *m_businessController;
    BusinessControllerClient *m_businessControllerClient;
    std::unique_ptr<PrintDialog> m_dialog;
    // The kinds of failure the operator has been told of since the last
    // sheet that went through.
    bool m_toldFile = false;
    bool m_toldPrinter = false;
    CustomerBox m_failureNotice;
};

#endif // ORV_UI_MAINWINDOW_AUTOPRINTER_H
