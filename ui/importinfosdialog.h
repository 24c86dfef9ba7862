#ifndef ORV_UI_IMPORTINFOSDIALOG_H
#define ORV_UI_IMPORTINFOSDIALOG_H

#include <QDialog>
#include <QStringList>

namespace Ui {
class ImportInfosDialog;
}

// Asks which course of the theory-test database to copy into the main
// database. It only shows names: the main window keeps the courses and
// turns the chosen position back into one.
class ImportInfosDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ImportInfosDialog(QWidget *parent = nullptr);
    ~ImportInfosDialog() override;

    void setCourses(const QStringList &courses);

signals:
    // The position of the chosen course, -1 when the list is empty.
    void notifyImportCourse(int index);

private slots:
    void on_btnOk_clicked();
    void on_btnCancel_clicked();

private:
    Ui::ImportInfosDialog *ui;
};

#endif // ORV_UI_IMPORTINFOSDIALOG_H
