#ifndef ORV_UI_CUSTOMERBOX_H
#define ORV_UI_CUSTOMERBOX_H

#include <QDialog>
#include <QSize>
#include <QString>

namespace Ui {
class CustomerBox;
}

// The program's own message box: a title, one line of bold text and a close
// button, as wide as its text. Shown without blocking; "Đóng" hides it.
class CustomerBox : public QDialog
{
    Q_OBJECT

public:
    explicit CustomerBox(QWidget *parent = nullptr);
    ~CustomerBox() override;

    void setContent(const QString &content);
    void setTitle(const QString &title);

private slots:
    void on_btnOk_clicked();

private:
    Ui::CustomerBox *ui;
    // The form's own size, the least the box takes.
    QSize m_formSize;
};

#endif // ORV_UI_CUSTOMERBOX_H
