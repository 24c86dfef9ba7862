#include "ui/managerecorddialog.h"

#include "ui/confirmdialog.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>

ManageRecordDialog::ManageRecordDialog(const Setup &setup, QWidget *parent)
    : QDialog(parent), m_setup(setup), m_box(this)
{
}

void ManageRecordDialog::attach(QTableView *view, QAbstractItemModel *model, QDialog *editor)
{
    m_view = view;
    m_model = model;
    m_view->horizontalHeader()->setFont(QFont(QStringLiteral("Tahoma"), 11));
    m_confirm = new ConfirmDialog(this);
    connect(editor, &QDialog::finished, this, &ManageRecordDialog::onProcessAddDialog);
    connect(m_confirm, &QDialog::finished, this, &ManageRecordDialog::onProcessConfirmDialog);
}

void ManageRecordDialog::loadIfNeeded()
{
    if (m_loaded)
        return;
    m_loaded = true;
    loadList();
    m_view->setModel(m_model);
    for (int column = 0; column < m_setup.columnWidths.size(); ++column)
        m_view->setColumnWidth(column, m_setup.columnWidths.at(column));
    m_view->horizontalHeader()->setStretchLastSection(true);
    repaintTable();
}

void ManageRecordDialog::repaintTable()
{
    m_view->viewport()->update();
}

void ManageRecordDialog::showDialog()
{
    loadIfNeeded();
    setWindowModality(Qt::ApplicationModal);
    open();
}

int ManageRecordDialog::currentRow() const
{
    const int row = m_view->currentIndex().row();
    return row < listSize() ? row : -1;
}

int ManageRecordDialog::rowOfId(const QString &id, int hint) const
{
    const int rows = qMin(listSize(), m_model->rowCount());
    if (hint >= 0 && hint < rows && idAt(hint) == id)
        return hint;
    for (int row = 0; row < rows; ++row) {
        if (idAt(row) == id)
            return row;
    }
    return -1;
}

void ManageRecordDialog::showNotice(const QString &content)
{
    m_box.setTitle(QStringLiteral("Thông tin"));
    m_box.setContent(content);
    m_box.setModal(true);
    m_box.show();
}

void ManageRecordDialog::on_btnAdd_clicked()
{
    openForCreate();
}

void ManageRecordDialog::on_btnEdit_clicked()
{
    const int row = currentRow();
    if (row < 0) {
        showNotice(m_setup.noRowNotice);
        return;
    }
    m_editRow = row;
    openForEdit(row);
}

void ManageRecordDialog::on_btnDelete_clicked()
{
    const int row = currentRow();
    if (row < 0) {
        showNotice(m_setup.noRowNotice);
        return;
    }
    m_deleteId = idAt(row);
    m_deleteRow = row;
    m_confirm->setResultCode(m_setup.deleteCode);
    m_confirm->setWindowModality(Qt::ApplicationModal);
    m_confirm->open();
}

void ManageRecordDialog::onProcessAddDialog(int result)
{
    if (result == m_setup.addedCode) {
        takeAdded();
    } else if (result == m_setup.changedCode) {
        const int row = rowOfId(editedId(), m_editRow);
        if (row < 0)
            return;
        takeChanged(row);
        emit m_model->dataChanged(m_model->index(row, 0),
                                  m_model->index(row, m_model->columnCount() - 1));
    } else {
        return;
    }
    afterAddOrChange();
}

void ManageRecordDialog::onProcessConfirmDialog(int result)
{
    if (result != m_setup.deleteCode)
        return;
    const SqlResultInfo outcome = deleteById(m_deleteId);
    if (outcome.getCode() != 0) {
        showNotice(outcome.getMessage());
        return;
    }
    const int row = rowOfId(m_deleteId, m_deleteRow);
    if (row >= 0)
        removeRecordRow(row);
    afterDelete();
}

void ManageRecordDialog::removeRecordRow(int row)
{
    m_model->removeRows(row, 1);
}
