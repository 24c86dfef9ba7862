#ifndef ORV_UI_CUSTOMERBOX_H
#define ORV_UI_CUSTOMERBOX_H

#include <QDialog>

class QLabel;

// Stand-in until the program's message box lands: the same interface.
class CustomerBox : public QDialog
{
    Q_OBJECT

public:
    explicit CustomerBox(QWidget *parent = nullptr);
    void setContent(const QString &content);
    void setTitle(const QString &title);

private slots:
    void on_btnOk_clicked();

private:
    QLabel *m_content;
};

#endif // ORV_UI_CUSTOMERBOX_H
