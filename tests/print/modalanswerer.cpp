#include "tests/print/modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

ModalAnswerer::ModalAnswerer(const QString &saveAs) : m_saveAs(saveAs)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::answer);
    m_timer.start(0);
}

void ModalAnswerer::answer()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    m_timer.stop();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        m_seen = "box: " + box->windowTitle() + " / " + box->text();
        box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
    } else if (auto *files = qobject_cast<QFileDialog *>(modal)) {
        m_seen = "file dialog";
        if (m_saveAs.isEmpty()) {
            files->reject();
        } else {
            files->selectFile(m_saveAs);
            static_cast<QDialog *>(files)->accept(); // QFileDialog::accept is protected
        }
    } else {
        m_seen = modal->metaObject()->className();
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
}
