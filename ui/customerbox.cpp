#include "ui/customerbox.h"
#include "ui_customerbox.h"

#include <QLayout>

CustomerBox::CustomerBox(QWidget *parent)
    : QDialog(parent), ui(new Ui::CustomerBox)
{
    ui->setupUi(this);
    m_formSize = size();
}

CustomerBox::~CustomerBox()
{
    delete ui;
}

void CustomerBox::setContent(const QString &content)
{
    ui->lbContent->setText(content);
    // Sized to the text shown now, never below the form's size: a long
    // message widens the box and the next short one narrows it again (the
    // layout alone would only ever grow it).
    for (QLayout *level : {static_cast<QLayout *>(ui->horizontalLayout_2), layout()}) {
        level->invalidate();
        level->activate();
    }
    const QSize fitting = sizeHint().expandedTo(minimumSizeHint());
    resize(fitting.expandedTo(m_formSize));
}

void CustomerBox::setTitle(const QString &title)
{
    setWindowTitle(title);
}

void CustomerBox::on_btnOk_clicked()
{
    hide();
}
