#ifndef ORV_UI_IMPORTAGAINDIALOG_H
#define ORV_UI_IMPORTAGAINDIALOG_H

#include "ui/customerbox.h"

#include <QDialog>
#include <QString>

namespace Ui {
class ImportAgainDialog;
}

// Asks for a new course code and a note under which a candidate list is
// imported again. A confirmed entry hides the dialog and is announced by
// confirmImportXml; the dialog then holds the code and the note.
class ImportAgainDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ImportAgainDialog(QWidget *parent = nullptr);
    ~ImportAgainDialog() override;

    QString getCourseCode() const { return m_courseCode; }
    QString getComment() const { return m_comment; }

signals:
    void confirmImportXml();

private slots:
    void on_btnConfirm_clicked();
    void on_btnCancel_clicked();

private:
    void warn(const QString &message);

    Ui::ImportAgainDialog *ui;
    QString m_courseCode;
    CustomerBox m_box;
    QString m_comment;
};

#endif // ORV_UI_IMPORTAGAINDIALOG_H
