#include "ui/mainwindow/candidateviews.h"

#include "common/constants.h"
#include "connection/sqlfailurewatch.h"
#include "models/courseentry.h"
#include "models/proxystudentinfomodel.h"
#include "models/startingcoursemodel.h"
#include "models/studentmodel.h"
#include "records/coursereportsummary.h"
#include "records/studentinfo.h"
#include "records/studentinfolist.h"
#include "server/business/businesscontroller.h"
#include "ui/courseentrydelegate.h"
#include "ui/elidedbutton.h"

#include "ui_mainwindow.h"

#include <QComboBox>
#include <QDebug>
#include <QFont>
#include <QGridLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLineEdit>
#include <QSignalBlocker>

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

// The entry under the cursor or chosen in a drop-down list: the selection
// colours of the window's buttons, white on blue.
const char *const COMBO_LIST_STYLE = "QComboBox QAbstractItemView {"
                                     " selection-background-color: #0058cc; selection-color: #fff; }"
                                     "QComboBox::item:selected { background-color: #0058cc; color: #fff; }";

} // namespace

CandidateViews::CandidateViews(QWidget *window, Ui::MainWindow *ui, BusinessController *businessController,
                               BusinessControllerClient *businessControllerClient, CustomerBox &notice)
    : ui(ui), m_businessController(businessController),
      m_outage(businessController, businessControllerClient, notice)
{
    ui->leSearch->setClearButtonEnabled(true);
    ui->leSearch->addAction(QIcon(":/icon/resources/icon/search.svg"), QLineEdit::TrailingPosition);

    m_proxyModel = new ProxyStudentInfoModel(window);
    ui->startingCourseView->horizontalHeader()->hide();
    ui->startingCourseView->verticalHeader()->hide();
    // Courses whose names differ only at the end read apart.
    ui->startingCourseView->setItemDelegate(new CourseEntryDelegate(ui->startingCourseView));
    m_startingCourseModel = new StartingCourseModel(window);
    ui->cbStudentType->addItems(RESULT_FILTER_LIST);
    // A long course name does not widen the combo (and with it the window
    // beyond the screen): the form's minimum width holds.
    ui->cmbCourse->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // The tool row's white background reaches the lists through the style
    // sheet and left their highlighted entry white on white.
    for (QComboBox *combo : {ui->cmbCourse, ui->cbStudentType})
        combo->setStyleSheet(COMBO_LIST_STYLE);

    QFont headerFont("Tahoma", 11);
    // A header text too long for its column ends in "…" rather than being
    // cut at both ends. The form's style sheet draws the sections bold, and
    // the header measures its texts in its own font: bold too.
    headerFont.setBold(true);
    ui->studentView->horizontalHeader()->setFont(headerFont);
    ui->studentView->verticalHeader()->setFont(headerFont);
    ui->studentView->horizontalHeader()->setTextElideMode(Qt::ElideRight);
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
        ui->cmbCourse->addCourse(course->getIDKhoaHoc(), course->getTenKhoaHoc());
    // Emptying the list chose the prompt, whose empty table could not be
    // read: the rows kept are those of a course the list now holds again.
    if (!m_rowsCourse.isEmpty() && ui->cmbCourse->currentIndex() == 0)
        showCourseOfRows();
    return *courses;
}

QString CandidateViews::chooseCourse()
{
    const int index = ui->cmbCourse->currentIndex();
    const Course *course = m_businessController->setCurrentCourse(index - 1);
    QString courseCode;
    if (course) {
        courseCode = course->getIDKhoaHoc();
        ui->lbCourse2->setFullText(course->getTenKhoaHoc());
    }
    return courseCode;
}

void CandidateViews::loadStudentsOfCourse(const QString &courseCode)
{
    bool failed = false;
    m_businessController->loadStudentsOfCourse(courseCode, &failed);
    if (!failed) {
        m_rowsCourse = courseCode;
        return;
    }
    showCourseOfRows();
    m_outage.onDatabaseUnreachable();
}

void CandidateViews::showCourseOfRows()
{
    const QList<Course *> *courses = m_businessController->getAllCourses();
    int position = -1;
    for (int i = 0; courses && i < courses->size(); ++i) {
        if (courses->at(i)->getIDKhoaHoc() == m_rowsCourse) {
            position = i;
            break;
        }
    }
    // The course list is being filled again: the check after filling it
    // comes back here.
    if (!m_rowsCourse.isEmpty() && (position < 0 || position + 1 >= ui->cmbCourse->count()))
        return;
    {
        // Choosing would read the course again.
        const QSignalBlocker blocker(ui->cmbCourse);
        ui->cmbCourse->setCurrentIndex(position + 1);
    }
    const Course *course = m_businessController->setCurrentCourse(position);
    ui->lbCourse2->setFullText(course ? course->getTenKhoaHoc() : QString());
}

void CandidateViews::showStartingCourses()
{
    const QList<Course> starting = m_businessController->getStartingCourses();
    m_startingCourseModel->setCourseList(starting);
    ui->startingCourseView->setModel(m_startingCourseModel);
    ui->startingCourseView->setColumnWidth(0, ui->startingCourseView->width());
    ui->startingCourseView->horizontalHeader()->setStretchLastSection(true);
    // Filling the course combo has already built the grid once.
    clearRoomGrid();
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
    // By its code: two courses may bear one name.
    const QString code = m_startingCourseModel->getCourseCodeAt(index.row());
    if (code == INVALID_ID)
        return;
    const int found = ui->cmbCourse->findData(code);
    if (found >= 0)
        ui->cmbCourse->setCurrentIndex(found);
}

void CandidateViews::addRoomGrid(const QList<Course> &courses)
{
    fillCourseGrid(courses, readInRoom(courses));
}

QList<QStringList> CandidateViews::readInRoom(const QList<Course> &courses)
{
    QList<QStringList> inRoom;
    for (const Course &course : courses) {
        QStringList orderNumbers;
        std::unique_ptr<StudentInfoList> rows(m_businessController->getSoBaoDanhByState(course.getIDKhoaHoc()));
        for (int j = 0; rows && j < rows->size(); ++j)
            orderNumbers << rows->at(j)->getSoBaoDanh();
        inRoom << orderNumbers;
    }
    return inRoom;
}

bool CandidateViews::readCourseGrid(QList<Course> *courses, QList<QStringList> *inRoom)
{
    const SqlFailureWatch watch;
    *courses = m_businessController->getStartingCourses();
    *inRoom = readInRoom(*courses);
    return !watch.failed();
}

void CandidateViews::fillCourseGrid(const QList<Course> &courses, const QList<QStringList> &inRoom,
                                    QList<ElidedButton *> *spareTitles, QList<ElidedButton *> *spareNumbers)
{
    // A spare button takes the text; a new one is made only when none is
    // left.
    auto button = [](QList<ElidedButton *> *spare, const QString &text, bool *made) {
        *made = !spare || spare->isEmpty();
        if (*made)
            return new ElidedButton(text);
        ElidedButton *reused = spare->takeFirst();
        if (reused->text() != text)
            reused->setText(text);
        return reused;
    };
    bool made = false;
    int row = 0;
    for (int i = 0; i < courses.size(); ++i) {
        const QString code = courses.at(i).getIDKhoaHoc();
        const QString name = courses.at(i).getTenKhoaHoc();
        ElidedButton *title = button(spareTitles, CourseEntry::text(code, name), &made);
        title->setCourse(code, name);
        if (made)
            title->setStyleSheet(COURSE_BUTTON_STYLE);
        m_courseGrid->addWidget(title, row, 0, 1, 3);
        ++row;

        const QStringList orderNumbers = inRoom.value(i);
        if (orderNumbers.isEmpty())
            continue;
        int column = 0;
        for (int j = 0; j < orderNumbers.size(); ++j) {
            if (j > 0 && j % 3 == 0) {
                ++row;
                column = 0;
            }
            m_courseGrid->addWidget(button(spareNumbers, orderNumbers.at(j), &made), row, column, 1, 1);
            ++column;
        }
        ++row;
    }
}

void CandidateViews::relayCourseGrid(const QList<Course> &courses, const QList<QStringList> &inRoom)
{
    // The buttons stay and take their new texts and places: while a room
    // finishes the grid is laid out again several times a second, and
    // making and deleting hundreds of buttons each time (each new one
    // shown, polished and sized by events posted for it) held the window
    // far longer than the refresh itself.
    QList<ElidedButton *> titles;
    QList<ElidedButton *> numbers;
    QList<QWidget *> others;
    for (int i = 0; i < m_courseGrid->count(); ++i) {
        int row = 0;
        int column = 0;
        int rowSpan = 0;
        int columnSpan = 0;
        m_courseGrid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        // A course's title spans the grid's three columns.
        QWidget *cell = m_courseGrid->itemAt(i)->widget();
        if (auto *gridButton = qobject_cast<ElidedButton *>(cell))
            (columnSpan > 1 ? titles : numbers) << gridButton;
        else
            others << cell;
    }
    while (QLayoutItem *item = m_courseGrid->takeAt(0))
        delete item;
    fillCourseGrid(courses, inRoom, &titles, &numbers);
    // Fewer in the room than before.
    qDeleteAll(titles);
    qDeleteAll(numbers);
    qDeleteAll(others);
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
    QList<Course> starting;
    QList<QStringList> inRoom;
    if (!readCourseGrid(&starting, &inRoom)) {
        m_outage.onDatabaseUnreachable();
        return;
    }
    relayCourseGrid(starting, inRoom);
}

void CandidateViews::refreshGridAndCounters()
{
    // Everything is read before anything shown changes: during an outage
    // the grid and the counters keep what they showed.
    QList<Course> starting;
    QList<QStringList> inRoom;
    bool read = readCourseGrid(&starting, &inRoom);
    CourseReportSummary summary;
    const bool courseChosen = ui->cmbCourse->currentIndex() != 0;
    if (read && courseChosen) {
        const SqlFailureWatch watch;
        summary = m_businessController->getCourseReportSummary();
        read = !watch.failed();
    }
    if (!read) {
        m_outage.onDatabaseUnreachable();
        return;
    }
    relayCourseGrid(starting, inRoom);
    QLabel *const counters[] = {ui->lbTotal, ui->lbNotContest, ui->lbContest,
                                ui->lbContested, ui->lbPass, ui->lbNotPass};
    if (courseChosen) {
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
