#include "ui/managecoursedialog.h"

#include "records/course.h"
#include "server/business/businesscontroller.h"
#include "ui/addcoursedialog.h"
#include "models/coursemodel.h"
#include "ui_managecoursedialog.h"

namespace {
ManageRecordDialog::Setup courseSetup()
{
    return {AddCourseDialog::CreatedCode, AddCourseDialog::UpdatedCode, ManageCourseDialog::DeleteCode,
            QStringLiteral("Bạn chưa lựa chọn khóa học"), {250, 120, 190, 140, 120, 100}};
}
} // namespace

ManageCourseDialog::ManageCourseDialog(QWidget *parent)
    : ManageRecordDialog(courseSetup(), parent), ui(new Ui::ManageCourseDialog)
{
    ui->setupUi(this);
    m_model = new CourseModel(this);
    m_editor = new AddCourseDialog(this);
    attach(ui->courseView, m_model, m_editor);
    connect(m_model, &CourseModel::dataChanged, this, &ManageCourseDialog::onUpdateCourseTable);
}

ManageCourseDialog::~ManageCourseDialog()
{
    delete ui;
}

void ManageCourseDialog::loadList()
{
    m_courses = BusinessController::getInstance()->getAllCourses();
    m_model->setCourseList(m_courses);
}

int ManageCourseDialog::listSize() const
{
    return m_courses ? m_courses->size() : 0;
}

QString ManageCourseDialog::idAt(int row) const
{
    return m_courses->at(row)->getIDKhoaHoc();
}

void ManageCourseDialog::openForCreate()
{
    m_editor->showForCreate();
}

void ManageCourseDialog::openForEdit(int row)
{
    m_editor->showForEdit(m_courses->at(row));
}

SqlResultInfo ManageCourseDialog::deleteById(const QString &id)
{
    return BusinessController::getInstance()->deleteCourse(id);
}

void ManageCourseDialog::takeAdded()
{
    m_model->addCourse(*m_editor->getCourse());
}

void ManageCourseDialog::takeChanged(int row)
{
    updateCourse(*m_editor->getCourse(), row);
}

QString ManageCourseDialog::editedId() const
{
    return m_editor->getCourse()->getIDKhoaHoc();
}

void ManageCourseDialog::afterAddOrChange()
{
    emit notifyChangeStartingCourse();
}

void ManageCourseDialog::afterDelete()
{
    emit notifyRemoveCourse();
}

void ManageCourseDialog::updateCourse(const Course &course, int row)
{
    if (!m_courses || row < 0 || row >= m_courses->size())
        return;
    Course *listed = m_courses->at(row);
    listed->setIDKhoaHoc(course.getIDKhoaHoc());
    listed->setTenKhoaHoc(course.getTenKhoaHoc());
    listed->setNgayThi(course.getNgayThi());
    listed->setNamHoc(course.getNamHoc());
    listed->setTrangThai(course.getTrangThai());
    listed->setHoiDong(course.getHoiDong());
    listed->setIDDonVi(course.getIDDonVi());
    listed->setTrungTam(course.getTrungTam());
    listed->setGhiChu(course.getGhiChu());
}

void ManageCourseDialog::refreshCourseList()
{
    if (!m_courses) {
        BusinessController::getInstance()->refreshAllCourses();
        return;
    }
    m_model->beginRefresh();
    BusinessController::getInstance()->refreshAllCourses();
    m_model->endRefresh();
}

void ManageCourseDialog::onInsertCouserFromDB()
{
    loadIfNeeded();
    m_model->insertRowAtEnd();
}

void ManageCourseDialog::onUpdateCourseTable()
{
    repaintTable();
}
