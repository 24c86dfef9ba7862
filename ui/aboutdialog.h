#ifndef ORV_UI_ABOUTDIALOG_H
#define ORV_UI_ABOUTDIALOG_H

#include <QDialog>
#include <QString>

namespace Ui {
class AboutDialog;
}

// The program's title, version and emblem.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

    void setTitle(const QString &title);

private slots:
    void on_closeButton_clicked();

private:
    Ui::AboutDialog *ui;
};

#endif // ORV_UI_ABOUTDIALOG_H
