#ifndef ORV_UI_MAINWINDOW_CANDIDATEVIEWS_H
#define ORV_UI_MAINWINDOW_CANDIDATEVIEWS_H

#include "records/course.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

class BusinessController;
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
// course's counters. The models are children of the window.
class CandidateViews : public QObject
{
    Q_OBJECT

public:
    CandidateViews(QWidget *window, Ui::MainWindow *ui, BusinessController *businessController);

    // Fills the course choice again; the list it was filled from.
    const QList<Course *> &listCourses();
    // Makes the course chosen in the course choice the business
    // controller's current one and shows its name. Its code; empty when the
    // choice is the prompt.
    QString chooseCourse();
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
    // The chosen course's counters; blank while no course is chosen.
    void showCounters();
    void repaintTable();

    // The StudentModel row of studentView's selection, -1 when nothing is
    // selected.
    int selectedModelRow() const;
    // The entry id of studentView's selection, -1 when nothing is selected.
    int selectedId() const;
    // The StudentModel row now showing entry `id`, -1 when none.
    int modelRowOf(int id) const;
    // A cell of StudentModel row `row`.
    QVariant cell(int row, int column, int role = Qt::DisplayRole) const;

private:
    Ui::MainWindow *ui;
    BusinessController *m_businessController;
    ProxyStudentInfoModel *m_proxyModel;
    StartingCourseModel *m_startingCourseModel;
    QGridLayout *m_courseGrid;
};

#endif // ORV_UI_MAINWINDOW_CANDIDATEVIEWS_H
