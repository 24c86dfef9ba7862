#ifndef ORV_UI_MAINWINDOW_CANDIDATEVIEWS_H
#define ORV_UI_MAINWINDOW_CANDIDATEVIEWS_H

#include "records/course.h"
#include "ui/mainwindow/databaseoutage.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class BusinessController;
class BusinessControllerClient;
class CustomerBox;
class ElidedButton;
class ProxyStudentInfoModel;
class QGridLayout;
class QModelIndex;
class QWidget;
class StartingCourseModel;

namespace Ui {
class MainWindow;
}

// The main window's views of courses and candidates: the candidate table
// behind its search and filter proxy, the running courses' list, the course
// choice, the room grid of the running courses' candidates and the chosen
// course's counters. The models are children of the window. While the
// main database is away the views keep what they show.
class CandidateViews : public QObject
{
    Q_OBJECT

public:
    CandidateViews(QWidget *window, Ui::MainWindow *ui, BusinessController *businessController,
                   BusinessControllerClient *businessControllerClient, CustomerBox &notice);

    // Fills the course choice again; the list it was filled from.
    const QList<Course *> &listCourses();
    // Makes the course chosen in the course choice the business
    // controller's current one and shows its name. Its code; empty when the
    // choice is the prompt.
    QString chooseCourse();
    // The table takes the course's candidates. When they cannot be read the
    // table keeps its rows, and the course choice and the counters' title go
    // back to the course those rows belong to.
    void loadStudentsOfCourse(const QString &courseCode);
    // The running courses, in their list and in the room grid.
    void showStartingCourses();
    // Reads the running courses again into their list.
    void reloadStartingCourses();
    // Chooses the running course at `index` in the course choice.
    void chooseStartingCourse(const QModelIndex &index);

    void addRoomGrid(const QList<Course> &courses);
    void clearRoomGrid();
    // The room grid of the courses running now.
    void refreshRoomGrid();
    // The room grid and the chosen course's counters (blank while no course
    // is chosen), all read before anything shown changes.
    void refreshGridAndCounters();
    void repaintTable();

    ProxyStudentInfoModel *proxyModel() const { return m_proxyModel; }
    DatabaseOutage *outage() { return &m_outage; }

private:
    // For each course, the order numbers of the candidates in the room.
    QList<QStringList> readInRoom(const QList<Course> &courses);
    // The room grid's running courses and those in the room; false when they
    // could not be read.
    bool readCourseGrid(QList<Course> *courses, QList<QStringList> *inRoom);
    // Adds the courses' titles and order numbers to the grid, taking the
    // buttons from the spare ones given while there are any.
    void fillCourseGrid(const QList<Course> &courses, const QList<QStringList> &inRoom,
                        QList<ElidedButton *> *spareTitles = nullptr,
                        QList<ElidedButton *> *spareNumbers = nullptr);
    // The grid shows the courses and those in the room in place of what it
    // showed, with the buttons it has.
    void relayCourseGrid(const QList<Course> &courses, const QList<QStringList> &inRoom);
    // Chooses, without reading anything, the course whose candidates the
    // table holds.
    void showCourseOfRows();

    Ui::MainWindow *ui;
    BusinessController *m_businessController;
    DatabaseOutage m_outage;
    ProxyStudentInfoModel *m_proxyModel;
    StartingCourseModel *m_startingCourseModel;
    QGridLayout *m_courseGrid;
    // The code of the course whose candidates the table holds; empty for
    // none.
    QString m_rowsCourse;
};

#endif // ORV_UI_MAINWINDOW_CANDIDATEVIEWS_H
