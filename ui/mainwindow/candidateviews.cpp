#include "ui/mainwindow/candidateviews.h"

#include "common/constants.h"
#include "records/coursereportsummary.h"
#include "records/studentinfo.h"
#include "records/studentinfolist.h"
#include "server/business/businesscontroller.h"
#include "ui/models/proxystudentinfomodel.h"
#include "ui/models/startingcoursemodel.h"
#include "ui/models/studentmodel.h"

#include "ui_mainwindow.h"

#include <QDebug>
#include <QFont>
#include <QGridLayout>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>

#include <iterator>
#include <memory>

namespace {

// Width of each of studentView's columns, and whether it is hidden; a width
// of 0 keeps the default.
struct ColumnLayout
{
    StudentModel::Column column;
    int width;
    bool hidden;
};
const ColumnLayout STUDENT_COLUMNS[] = {
    {StudentModel::ColumnId, 60, true},
    {StudentModel::ColumnName, 180, false},
    {StudentModel::ColumnOrderNumber, 120, false},
    {StudentModel::ColumnIdentityNumber, 180, false},
    {StudentModel::ColumnBirthDate, 100, false},
    {StudentModel::ColumnLicenceClass, 130, false},
    {StudentModel::ColumnStartTime, 160, false},
    {StudentModel::ColumnEndTime, 160, false},
    {StudentModel::ColumnScore, 120, false},
    {StudentModel::ColumnPassMark, 150, false},
    {StudentModel::ColumnResult, 120, false},
    {StudentModel::ColumnGender, 0, true},
    {StudentModel::ColumnTheoryResult, 120, false},
    {StudentModel::ColumnState, 60, true},
    {StudentModel::ColumnContent, 60, true},
};
static_assert(std::size(STUDENT_COLUMNS) == std::size_t(StudentModel::ColumnCount),
              "every column of the candidate table is laid out");

const char *const COURSE_BUTTON_STYLE = "QPushButton {"
                                        "padding: 10px;"
                                        "color: #0058cc;"
                                        "border: 2px solid #8f8f91;"
                                        "background-color: #bac1ca;"
                                        "}";

} // namespace

CandidateViews::CandidateViews(QWidget *window, Ui::MainWindow *ui, BusinessController *businessController)
    : ui(ui), m_businessController(businessController)
{
    ui->leSearch->setClearButtonEnabled(true);
    ui->leSearch->addAction(QIcon(":/icon/resources/icon/search.svg"), QLineEdit::TrailingPosition);

    m_proxyModel = new ProxyStudentInfoModel(window);
    ui->startingCourseView->horizontalHeader()->hide();
    ui->startingCourseView->verticalHeader()->hide();
    m_startingCourseModel = new StartingCourseModel(window);
    ui->cbStudentType->addItems(RESULT_FILTER_LIST);

    const QFont headerFont("Tahoma", 11);
    ui->studentView->horizontalHeader()->setFont(headerFont);
    ui->studentView->verticalHeader()->setFont(headerFont);
    ui->studentView->setContextMenuPolicy(Qt::CustomContextMenu);
    m_proxyModel->setSourceModel(m_businessController->getStudentModel());
    ui->studentView->setModel(m_proxyModel);
    for (const ColumnLayout &layout : STUDENT_COLUMNS) {
        if (layout.width > 0)
            ui->studentView->setColumnWidth(layout.column, layout.width);
        ui->studentView->setColumnHidden(layout.column, layout.hidden);
    }
    ui->studentView->horizontalHeader()->setStretchLastSection(true);

    m_courseGrid = new QGridLayout();
    m_courseGrid->setSpacing(0);
    m_courseGrid->setContentsMargins(0, 0, 0, 0);
    // The rows stay together at the top however few there are, three equal
    // columns wide.
    m_courseGrid->setAlignment(Qt::AlignTop);
    for (int column = 0; column < 3; ++column) {
        m_courseGrid->setColumnStretch(column, 1);
        // An empty column would otherwise take no room at all.
        m_courseGrid->setColumnMinimumWidth(column, 1);
    }
    ui->scrollAreaWidgetContents->setLayout(m_courseGrid);

    connect(ui->leSearch, &QLineEdit::textChanged, m_proxyModel, &ProxyStudentInfoModel::search_data_by_string);
    connect(ui->cbStudentType, SIGNAL(currentIndexChanged(int)), m_proxyModel,
            SLOT(filterByStudentTypeIndex(int)));
}

const QList<Course *> &CandidateViews::listCourses()
{
    ui->cmbCourse->clear();
    ui->cmbCourse->insertItem(0, "Chọn khóa thi...");
    const QList<Course *> *courses = m_businessController->getAllCourses();
    for (const Course *course : *courses)
        ui->cmbCourse->addItem(course->getTenKhoaHoc());
    return *courses;
}

QString CandidateViews::chooseCourse()
{
    const int index = ui->cmbCourse->currentIndex();
    const Course *course = m_businessController->setCurrentCourse(index - 1);
    QString courseCode;
    if (course) {
        courseCode = course->getIDKhoaHoc();
        ui->lbCourse2->setText(course->getTenKhoaHoc());
    }
    return courseCode;
}

void CandidateViews::loadStudentsOfCourse(const QString &courseCode)
{
    m_businessController->loadStudentsOfCourse(courseCode);
}

void CandidateViews::showStartingCourses()
{
    const QList<Course> starting = m_businessController->getStartingCourses();
    m_startingCourseModel->setCourseList(starting);
    ui->startingCourseView->setModel(m_startingCourseModel);
    ui->startingCourseView->setColumnWidth(0, ui->startingCourseView->width());
    ui->startingCourseView->horizontalHeader()->setStretchLastSection(true);
    addRoomGrid(starting);
}

void CandidateViews::reloadStartingCourses()
{
    m_startingCourseModel->clear();
    m_startingCourseModel->addCourses(m_businessController->getStartingCourses());
    ui->startingCourseView->viewport()->update();
}

void CandidateViews::chooseStartingCourse(const QModelIndex &index)
{
    const QString name = m_startingCourseModel->getCourseNameAt(index.row());
    if (name == INVALID_ID)
        return;
    const int found = ui->cmbCourse->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found >= 0)
        ui->cmbCourse->setCurrentIndex(found);
}

void CandidateViews::addRoomGrid(const QList<Course> &courses)
{
    int row = 0;
    for (const Course &course : courses) {
        auto *title = new QPushButton(course.getTenKhoaHoc());
        title->setStyleSheet(COURSE_BUTTON_STYLE);
        m_courseGrid->addWidget(title, row, 0, 1, 3);
        ++row;

        std::unique_ptr<StudentInfoList> inRoom(m_businessController->getSoBaoDanhByState(course.getIDKhoaHoc()));
        if (!inRoom || inRoom->size() == 0)
            continue;
        int column = 0;
        for (int j = 0; j < inRoom->size(); ++j) {
            if (j > 0 && j % 3 == 0) {
                ++row;
                column = 0;
            }
            m_courseGrid->addWidget(new QPushButton(inRoom->at(j)->getSoBaoDanh()), row, column, 1, 1);
            ++column;
        }
        ++row;
    }
}

void CandidateViews::clearRoomGrid()
{
    while (QLayoutItem *item = m_courseGrid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

void CandidateViews::refreshRoomGrid()
{
    const QList<Course> starting = m_businessController->getStartingCourses();
    clearRoomGrid();
    addRoomGrid(starting);
}

void CandidateViews::showCounters()
{
    QLabel *const counters[] = {ui->lbTotal, ui->lbNotContest, ui->lbContest,
                                ui->lbContested, ui->lbPass, ui->lbNotPass};
    if (ui->cmbCourse->currentIndex() != 0) {
        const CourseReportSummary summary = m_businessController->getCourseReportSummary();
        const int counts[] = {summary.getTotal(), summary.getNotContest(), summary.getContest(),
                              summary.getContested(), summary.getPass(), summary.getNotPass()};
        for (int i = 0; i < 6; ++i)
            counters[i]->setText(QString::number(counts[i]));
    } else {
        for (QLabel *label : counters)
            label->setText(QString());
    }
}

void CandidateViews::repaintTable()
{
    ui->studentView->viewport()->update();
}

int CandidateViews::selectedModelRow() const
{
    const QItemSelection selection = m_proxyModel->mapSelectionToSource(ui->studentView->selectionModel()->selection());
    const QModelIndexList cells = selection.indexes();
    return cells.isEmpty() ? -1 : cells.first().row();
}

int CandidateViews::selectedId() const
{
    const int row = selectedModelRow();
    if (row < 0)
        return -1;
    return cell(row, StudentModel::ColumnId).toInt();
}

int CandidateViews::modelRowOf(int id) const
{
    const QAbstractItemModel *model = m_proxyModel->sourceModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->data(model->index(row, StudentModel::ColumnId)).toInt() == id)
            return row;
    }
    return -1;
}

QVariant CandidateViews::cell(int row, int column, int role) const
{
    const QAbstractItemModel *model = m_proxyModel->sourceModel();
    return model->data(model->index(row, column), role);
}
