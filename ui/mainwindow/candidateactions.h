#ifndef ORV_UI_MAINWINDOW_CANDIDATEACTIONS_H
#define ORV_UI_MAINWINDOW_CANDIDATEACTIONS_H

#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

class AddStudentDialog;
class BusinessController;
class ConfirmDialog;
class CustomerBox;
class InfoResetDialog;
class PrintDialog;
class ProxyStudentInfoModel;
class QWidget;

namespace Ui {
class MainWindow;
}

// What the operator does to one candidate of the main window's table: add,
// edit, delete, reset the result and preview the result sheet, with their
// dialogs (children of the window; the preview has none) and the candidates
// the open dialogs were opened for.
class CandidateActions : public QObject
{
    Q_OBJECT

public:
    // What a closed dialog asks for.
    enum Request { NoRequest, AddRequest, EditRequest, RemoveRequest };

    // proxyModel: the candidate table's, through which studentView shows it.
    CandidateActions(QWidget *window, Ui::MainWindow *ui, BusinessController *businessController,
                     const ProxyStudentInfoModel *proxyModel, CustomerBox &notice);
    ~CandidateActions() override;

    ConfirmDialog *confirmDialog() const { return m_confirmDialog; }
    InfoResetDialog *infoResetDialog() const { return m_infoResetDialog; }
    AddStudentDialog *addStudentDialog() const { return m_addStudentDialog; }

    // The actions below return false when they find nothing to act on;
    // the window's slot then ends without its exit marker, as it always has.
    void openAdd();
    // The dialogs opened for the selected candidate: false when none is
    // selected, or, for editing, when the candidate has sat the exam.
    bool openEdit();
    bool openRemove();
    bool openReset();
    bool openPreview();

    Request addDialogRequest() const;
    Request confirmDialogRequest() const;

    // What the closed dialogs asked for, each with its notice; false when
    // the dialog was opened for no candidate.
    void addContestant();
    bool editContestant();
    bool removeContestant();
    bool resetContestant(const QString &comment);

signals:
    // A candidate was added, changed or deleted.
    void candidatesChanged();
    // A candidate's result was reset: the room grid and the counters are to
    // be shown again.
    void roomGridChanged();

private:
    void showNotice(const QString &title, const QString &content);
    // False, with a notice, when the table has no current candidate.
    bool hasCurrentCandidate();
    // The StudentModel row of studentView's selection, -1 when nothing is
    // selected.
    int selectedModelRow() const;
    // The entry id of studentView's selection, -1 when nothing is selected.
    int selectedId() const;
    // The StudentModel row now showing entry `id`, -1 when none.
    int modelRowOf(int id) const;
    // A cell of StudentModel row `row`.
    QVariant cell(int row, int column, int role = Qt::DisplayRole) const;

    QWidget *m_window;
    Ui::MainWindow *ui;
    BusinessController *m_businessController;
    const ProxyStudentInfoModel *m_proxyModel;
    CustomerBox &m_notice;
    std::unique_ptr<PrintDialog> m_printDialog;
    ConfirmDialog *m_confirmDialog = nullptr;
    InfoResetDialog *m_infoResetDialog = nullptr;
    AddStudentDialog *m_addStudentDialog = nullptr;
    // The candidates the open edit, delete and reset dialogs were opened
    // for: a table reload while a dialog is open must not move its action to
    // another candidate. -1 for none.
    int m_editId = -1;
    int m_removeId = -1;
    int m_resetId = -1;
};

#endif // ORV_UI_MAINWINDOW_CANDIDATEACTIONS_H
