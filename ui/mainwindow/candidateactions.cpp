#include "ui/mainwindow/candidateactions.h"

#include "connection/mysqlconnection.h"
#include "models/proxystudentinfomodel.h"
#include "models/studentmodel.h"
#include "records/course.h"
#include "records/crudstudentinfo.h"
#include "records/reportinfo.h"
#include "records/sqlresultinfo.h"
#include "reports/print/printdialog.h"
#include "server/business/businesscontroller.h"
#include "ui/addstudentdialog.h"
#include "ui/confirmdialog.h"
#include "ui/customerbox.h"
#include "ui/inforesetdialog.h"

#include "ui_mainwindow.h"

#include <QDate>
#include <QItemSelectionModel>
#include <QMessageBox>

namespace {
// The codes the add and confirm dialogs close with.
const int ADD_CODE = 5;
const int EDIT_CODE = 4;
const int REMOVE_CODE = 3;
} // namespace

CandidateActions::CandidateActions(QWidget *window, Ui::MainWindow *ui, BusinessController *businessController,
                                   const ProxyStudentInfoModel *proxyModel, CustomerBox &notice)
    : m_window(window), ui(ui), m_businessController(businessController), m_proxyModel(proxyModel),
      m_notice(notice), m_printDialog(new PrintDialog())
{
    m_confirmDialog = new ConfirmDialog(window);
    m_infoResetDialog = new InfoResetDialog(window);
    m_addStudentDialog = new AddStudentDialog(window);
}

CandidateActions::~CandidateActions() = default;

void CandidateActions::showNotice(const QString &title, const QString &content)
{
    m_notice.setTitle(title);
    m_notice.setContent(content);
    m_notice.setModal(true);
    m_notice.show();
}

bool CandidateActions::hasCurrentCandidate()
{
    if (ui->studentView->currentIndex().row() != -1)
        return true;
    showNotice("Thông tin", "Bạn chưa lựa chọn học viên");
    return false;
}

int CandidateActions::selectedModelRow() const
{
    const QItemSelection selection = m_proxyModel->mapSelectionToSource(ui->studentView->selectionModel()->selection());
    const QModelIndexList cells = selection.indexes();
    return cells.isEmpty() ? -1 : cells.first().row();
}

int CandidateActions::selectedId() const
{
    const int row = selectedModelRow();
    if (row < 0)
        return -1;
    return cell(row, StudentModel::ColumnId).toInt();
}

int CandidateActions::modelRowOf(int id) const
{
    const QAbstractItemModel *model = m_proxyModel->sourceModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->data(model->index(row, StudentModel::ColumnId)).toInt() == id)
            return row;
    }
    return -1;
}

QVariant CandidateActions::cell(int row, int column, int role) const
{
    const QAbstractItemModel *model = m_proxyModel->sourceModel();
    return model->data(model->index(row, column), role);
}

void CandidateActions::openAdd()
{
    m_addStudentDialog->showForAdd(ADD_CODE);
}

bool CandidateActions::openEdit()
{
    if (!hasCurrentCandidate())
        return false;
    const int row = selectedModelRow();
    if (row < 0)
        return false;
    auto cell = [this, row](int column, int role = Qt::DisplayRole) { return this->cell(row, column, role); };
    if (!cell(StudentModel::ColumnResult).toString().isEmpty()) {
        showNotice("Thông tin", "Thí sinh đã thi, không thể sửa thông tin");
        return false;
    }
    // The order number as the entry holds it ("007"): the shown number has
    // lost its leading zeros, and both the photo and the saved entry are
    // keyed by the text.
    const QString orderNumber = cell(StudentModel::ColumnOrderNumber, StudentModel::OrderNumberTextRole).toString();
    const Course *course = m_businessController->setCurrentCourse(ui->cmbCourse->currentIndex() - 1);
    const QString courseCode = course ? course->getIDKhoaHoc() : QString();
    const QString photo =
        m_businessController->getMySqlConnection()->getAvatarInfoForContestant(orderNumber, courseCode);

    m_editId = cell(StudentModel::ColumnId).toInt();
    m_addStudentDialog->updateStudentInfo(
        cell(StudentModel::ColumnName).toString(),
        QDate::fromString(cell(StudentModel::ColumnBirthDate).toString(), "yyyy-MM-dd"), orderNumber,
        cell(StudentModel::ColumnLicenceClass).toString(), cell(StudentModel::ColumnIdentityNumber).toString(),
        cell(StudentModel::ColumnGender).toString(), photo, cell(StudentModel::ColumnContent).toString());
    m_addStudentDialog->showForEdit(EDIT_CODE);
    return true;
}

bool CandidateActions::openRemove()
{
    if (!hasCurrentCandidate())
        return false;
    m_removeId = selectedId();
    m_confirmDialog->setWindowModality(Qt::ApplicationModal);
    m_confirmDialog->setResultCode(REMOVE_CODE);
    m_confirmDialog->open();
    return true;
}

bool CandidateActions::openReset()
{
    if (!hasCurrentCandidate())
        return false;
    m_resetId = selectedId();
    m_infoResetDialog->setModal(true);
    m_infoResetDialog->showDialog();
    return true;
}

bool CandidateActions::openPreview()
{
    if (!ui->studentView->selectionModel()->hasSelection()) {
        showNotice("Thông tin", "Bạn chưa lựa chọn học viên");
        return false;
    }
    const int id = selectedId();
    if (id == -1)
        return false;
    m_printDialog->setDetail(m_businessController->getReportInfo(id));
    if (m_printDialog->isTemplateValid()) {
        m_printDialog->setModal(true);
        m_printDialog->show();
    } else {
        QMessageBox::warning(m_window, "Cảnh báo", "Không in báo cáo do tập tin mẫu báo cáo đã bị thay đổi!!!",
                             QMessageBox::Ok);
    }
    return true;
}

CandidateActions::Request CandidateActions::addDialogRequest() const
{
    const int result = m_addStudentDialog->result();
    if (result == EDIT_CODE)
        return EditRequest;
    if (result == ADD_CODE)
        return AddRequest;
    return NoRequest;
}

CandidateActions::Request CandidateActions::confirmDialogRequest() const
{
    return m_confirmDialog->result() == REMOVE_CODE ? RemoveRequest : NoRequest;
}

void CandidateActions::addContestant()
{
    const SqlResultInfo result = m_businessController->addContestantInfo(m_addStudentDialog->getStudentInfo());
    // A failed add opens again with what was typed, for correcting.
    m_addStudentDialog->setSaveOutcome(result.getSuccess());
    if (result.getSuccess()) {
        showNotice("Thông tin", "Thêm học viên thành công");
        emit candidatesChanged();
        return;
    }
    // A failed statement carries no message of its own.
    showNotice("Thông tin", result.getMessage().isEmpty() ? QString("Thêm học viên thất bại") : result.getMessage());
}

bool CandidateActions::editContestant()
{
    const int id = m_editId;
    m_editId = -1;
    if (id == -1)
        return false;
    const int row = modelRowOf(id);
    if (row >= 0 && m_businessController->updateContestantInfo(id, row, m_addStudentDialog->getStudentInfo())) {
        showNotice("Thông tin", "Cập nhật học viên thành công");
        emit candidatesChanged();
        return true;
    }
    showNotice("Thông tin", "Cập nhật học viên thất bại");
    return true;
}

bool CandidateActions::removeContestant()
{
    const int id = m_removeId;
    m_removeId = -1;
    if (id == -1)
        return false;
    if (m_businessController->removeContestantInfo(id)) {
        showNotice("Thông tin", "Xóa thông tin học viên thành công");
        emit candidatesChanged();
        return true;
    }
    showNotice("Thông tin", "Xóa thông tin học viên thất bại");
    return true;
}

bool CandidateActions::resetContestant(const QString &comment)
{
    const int id = m_resetId;
    m_resetId = -1;
    if (id == -1)
        return false;
    const int row = modelRowOf(id);
    if (row >= 0 && m_businessController->resetContestantResult(id, row, comment)) {
        showNotice("Thông tin", "Thiết lập lại thông tin thành công");
        emit roomGridChanged();
        return true;
    }
    showNotice("Thông tin", "Thiết lập lại thông tin thất bại");
    return true;
}
