// An exam day end to end, as the operator lives it: the start-up controller
// brings the server and the main window up in a working folder of their own;
// a course comes from the theory-test database and a second from the road
// authority's candidate list (photos in JPEG 2000); both are started in the
// course manager; twenty terminals connect, eighteen candidates are admitted
// and sit, two never come; the table, the room grid and the counters follow;
// every result becomes a signed sheet in ./pdf; one result is reset with a
// reason and sat again; the theory results are refreshed; the reports and
// the two XML forms are exported and read back by programs of their own; the
// exit menu ends it all, and no thread and no terminal's database session
// is left behind.
//
// The slots are the day's steps, in order: each builds on the one before.

#include "models/studentmodel.h"
#include "records/reportinfo.h"
#include "reports/print/printdialog.h"
#include "reports/print/sheetintegrity.h"
#include "server/business/businesscontrollerclient.h"
#include "tests/support/automaticdialog.h"
#include "tests/support/dialogprobe.h"
#include "tests/support/imagefile.h"
#include "tests/support/modalanswer.h"
#include "tests/support/openedfiles.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/sheettools.h"
#include "tests/support/terminalsteps.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/testterminal.h"
#include "tests/support/testterminalmessages.h"
#include "tests/support/typetext.h"
#include "tests/support/workbookreader.h"
#include "tests/support/workfolder.h"
#include "ui/addcoursedialog.h"
#include "app/controller.h"
#include "app/loghandler.h"
#include "ui/exportstudentsdialog.h"
#include "ui/importinfosdialog.h"
#include "ui/importxmldialog.h"
#include "ui/inforesetdialog.h"
#include "ui/mainwindow.h"
#include "ui/managecoursedialog.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMessageAuthenticationCode>
#include <QPushButton>
#include <QScrollArea>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

using Messages = TestTerminalMessages;

// Short enough for nineteen sheets to be written within seconds, also under
// the sanitizers.
const int PRINT_PERIOD_MS = 250;
// The signing key of the sheets' QR codes, as the centre's verifier holds it.
const QByteArray QR_KEY = "6d0f3a8c5e2b71d94f0a6c3e8b5d27f1a9";
const int TERMINALS = 20;
const int PASS_MARK = 35;

// The course of the theory-test system and the one of the candidate list.
const QString THEORY_ID = "LT01";
const QString THEORY_NAME = "Khóa Sáng 12-2026";
const QString LIST_ID = "XK02";
const QString LIST_NAME = "Khóa Chiều 12-2026";
// How the window lists them.
const QString THEORY_ENTRY = THEORY_ID + " – " + THEORY_NAME;
const QString LIST_ENTRY = LIST_ID + " – " + LIST_NAME;
const int THEORY_CANDIDATES = 12;
const int LIST_CANDIDATES = 8;

struct Seat
{
    QString course;
    int order;
    int score;
    bool passed() const { return score >= PASS_MARK; }
};

// Who sits where: terminal i seats SEATS[i]; the last two terminals wait
// for candidates 11 and 12 of the morning course, who never come.
const std::vector<Seat> SEATS = {
    {THEORY_ID, 1, 42}, {THEORY_ID, 2, 20}, {THEORY_ID, 3, 30}, {THEORY_ID, 4, 45}, {THEORY_ID, 5, 38},
    {LIST_ID, 1, 40},   {LIST_ID, 2, 33},   {LIST_ID, 3, 47},   {LIST_ID, 4, 36},
    // The midpoint: nine results in.
    {THEORY_ID, 6, 36}, {THEORY_ID, 7, 41}, {THEORY_ID, 8, 25}, {THEORY_ID, 9, 50}, {THEORY_ID, 10, 39},
    {LIST_ID, 5, 35},   {LIST_ID, 6, 12},   {LIST_ID, 7, 44},   {LIST_ID, 8, 49},
};
const int MIDPOINT = 9;
const QList<int> ABSENT = {11, 12};
// The morning candidate whose machine failed: reset, then sat again.
const int RESET_SEAT = 2;
const int RESAT_SCORE = 44;
const QString RESET_REASON = "Máy hỏng, thi lại";

QString candidateName(const QString &course, int order)
{
    return QString(course == THEORY_ID ? "Học Viên Sáng %1" : "Học Viên Chiều %1").arg(order);
}

QString courseName(const QString &course)
{
    return course == THEORY_ID ? THEORY_NAME : LIST_NAME;
}

QString pdfOf(const Seat &seat)
{
    return QString("pdf/%1_%2.pdf").arg(courseName(seat.course)).arg(seat.order);
}

// The text of a sheet's QR code without its signature line, and that line's
// Base64, as a verifier at the licensing office splits them.
bool splitSignedText(const QByteArray &qr, QByteArray *text, QByteArray *signature)
{
    const QByteArray marker = "Signature: ";
    const int at = qr.lastIndexOf(marker);
    if (at < 0 || !qr.endsWith('\n'))
        return false;
    *text = qr.left(at);
    *signature = qr.mid(at + marker.size()).trimmed();
    return true;
}

int threadCount()
{
    return QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
}

// A candidate list as the road authority sends it.
QByteArray candidateList(const QByteArray &photo)
{
    QString people;
    for (int n = 1; n <= LIST_CANDIDATES; ++n) {
        people += QString(R"(
            <NGUOI_LX>
                <SO_TT>%1</SO_TT>
                <MA_DK>DKC-%1</MA_DK>
                <HO_VA_TEN>%2</HO_VA_TEN>
                <GIOI_TINH>M</GIOI_TINH>
                <NGAY_SINH>1995030%1</NGAY_SINH>
                <SO_CMT>00109500001%1</SO_CMT>
                <NOI_CT>Hà Nội</NOI_CT>
                <HO_SO>
                    <SO_HO_SO>HS-C%1</SO_HO_SO>
                    <MA_KY_SH>KYC</MA_KY_SH>
                    <SO_BAO_DANH>00%1</SO_BAO_DANH>
                    <HANG_GPLX>B2</HANG_GPLX>
                    <NOI_DUNG_SH>1</NOI_DUNG_SH>
                    <ANH_CHAN_DUNG>%3</ANH_CHAN_DUNG>
                </HO_SO>
            </NGUOI_LX>)")
                      .arg(n)
                      .arg(candidateName(LIST_ID, n))
                      .arg(QString::fromLatin1(photo.toBase64()));
    }
    return QString(R"(<?xml version="1.0" encoding="UTF-8"?>
<BAO_CAO1>
    <HEADER>
        <TONG_SO_BAN_GHI>%1</TONG_SO_BAN_GHI>
    </HEADER>
    <DATA>
        <KY_SH>KYC</KY_SH>
        <NGUOI_LXS>%2
        </NGUOI_LXS>
    </DATA>
</BAO_CAO1>
)")
        .arg(LIST_CANDIDATES)
        .arg(people)
        .toUtf8();
}

bool isReddish(QRgb p)
{
    return qRed(p) > 150 && qGreen(p) < 100 && qBlue(p) < 100;
}
bool isBluish(QRgb p)
{
    return qBlue(p) > 150 && qRed(p) < 100 && qGreen(p) < 100;
}
bool isGreenish(QRgb p)
{
    return qGreen(p) > 150 && qRed(p) < 100 && qBlue(p) < 100;
}

} // namespace

class TestExamDay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void importTwoCourses();
    void startBothCourses();
    void twentyTerminalsConnect();
    void eighteenCandidatesAdmitted();
    void resultsComeIn();
    void oneSignedSheetPerResult();
    void resetAndSatAgain();
    void theoryResultsRefreshed();
    void excelReports();
    void xmlForms();
    void exitThroughTheMenu();

private:
    void auxSql(const QString &s) { QVERIFY2(TestDb::exec(m_folder->auxAdmin(), s), qPrintable(s)); }
    int mainCount(const QString &sql) { return TestDb::count(m_folder->mainAdmin(), sql); }
    // Sessions on this suite's own databases.
    int sessions();
    QAction *action(const char *name) const { return m_window->findChild<QAction *>(name); }
    QString counter(const char *label) const { return m_window->findChild<QLabel *>(label)->text(); }
    QTableView *table() const { return m_window->findChild<QTableView *>("studentView"); }
    // The table's row of the candidate with order number `order`, -1 when
    // not shown.
    int shownRow(int order) const;
    QString shownCell(int order, int column) const;
    // Per course shown in the room grid (by its title), the order numbers of
    // the candidates in the room.
    std::map<QString, QStringList> grid() const;
    QString notice();
    void admit(int seat);
    void sendResult(int seat, int score);
    void checkSheet(int seat);
    // Exports `course` through the export dialog opened by `actionName`.
    void exportFrom(const char *actionName, const QString &course);
    QJsonObject workbook(const QString &file);
    QDomDocument xmlForm(const char *actionName, const QString &course, const QString &file);
    // The entry id of a seat's candidate.
    int entryOf(const Seat &seat);

    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<Controller> m_controller;
    MainWindow *m_window = nullptr;
    std::vector<std::unique_ptr<TestTerminal>> m_terminals;
    std::vector<quint64> m_clientIds;
    QByteArray m_jp2;
    OpenedFiles m_opened;
    int m_threadsBefore = 0;
    int m_sessionsBefore = 0;
    QtMessageHandler m_previousHandler = nullptr;
    // Where the day's log is kept once the working folder goes: beside the
    // suite, for scripts/check-log (the examday-log test).
    QString m_keptLog;
};

int TestExamDay::sessions()
{
    QSqlQuery q(m_folder->mainAdmin());
    q.prepare("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE DB = :main OR DB = :aux");
    q.bindValue(":main", m_folder->mainDbName());
    q.bindValue(":aux", m_folder->auxDbName());
    if (!q.exec() || !q.next())
        return -1;
    return q.value(0).toInt();
}

int TestExamDay::shownRow(int order) const
{
    const QAbstractItemModel *model = table()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, StudentModel::ColumnOrderNumber).data().toInt() == order)
            return row;
    }
    return -1;
}

QString TestExamDay::shownCell(int order, int column) const
{
    const int row = shownRow(order);
    return row < 0 ? QString("(not shown)") : table()->model()->index(row, column).data().toString();
}

std::map<QString, QStringList> TestExamDay::grid() const
{
    // The grid lists, course by course, a title button across the three
    // columns, then one button per candidate in the room.
    std::map<QString, QStringList> shown;
    auto *contents = m_window->findChild<QWidget *>("scrollAreaWidgetContents");
    auto *layout = qobject_cast<QGridLayout *>(contents->layout());
    QString current;
    for (int i = 0; i < layout->count(); ++i) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        layout->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        auto *button = qobject_cast<QPushButton *>(layout->itemAt(i)->widget());
        if (!button)
            continue;
        if (columnSpan == 3) {
            current = button->text();
            shown[current];
        } else {
            shown[current] << button->text();
        }
    }
    return shown;
}

QString TestExamDay::notice()
{
    const QString shown = DialogProbe::shownBoxes();
    DialogProbe::hideBoxes();
    return shown;
}

int TestExamDay::entryOf(const Seat &seat)
{
    QSqlQuery q(m_folder->mainAdmin());
    q.prepare("SELECT ID FROM khoathi_thisinh WHERE IDKhoaHoc = :course AND SoBaoDanh = :order");
    q.bindValue(":course", seat.course);
    q.bindValue(":order", QString::number(seat.order));
    return q.exec() && q.next() ? q.value(0).toInt() : -1;
}

void TestExamDay::initTestCase()
{
    QCOMPARE(qEnvironmentVariableIntValue("ORV_AUTO_PRINT"), 2);
    // An earlier day's log would pass for this one's.
    m_keptLog = QDir::current().absoluteFilePath("log.txt");
    QVERIFY(!QFile::exists(m_keptLog) || QFile::remove(m_keptLog));
    WorkFolder::Options options;
    options.autoPrint = 2;
    m_folder.reset(new WorkFolder("examday", options));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    QVERIFY(QDir(m_folder->path()).mkpath("reportTemplate"));
    for (const QString name : {"orv04.lrxml", "orv04_new.lrxml", "Template_BaoCaoTongHop.xlsx",
                               "Template_BaoCaoPhanLoai.xlsx"})
        QVERIFY(QFile::copy(TestDb::sourcePath("reportTemplate/" + name),
                            m_folder->filePath("reportTemplate/" + name)));
    QFile jp2(TestDb::sourcePath("tests/fixtures/photos/portrait.jp2"));
    QVERIFY(jp2.open(QIODevice::ReadOnly));
    m_jp2 = jp2.readAll();

    // The theory-test system's course; its photos are JPEG files, green.
    QVERIFY(ProvinceUnitRows::insert(m_folder->auxAdmin(), {{"AT1", "Hà Nội"}}, {{"AU1", "AT1", "Trung tâm Sát hạch Một"}}));
    auxSql(QString("INSERT INTO khoahoc (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, Thi, HoiDong,"
                   " TrungTam, TrangThai) VALUES ('%1', '%2', 'AU1', CURDATE(), 2026, 1, 'Hội đồng Một',"
                   " 'Trung tâm Sát hạch Một', 1)")
               .arg(THEORY_ID, THEORY_NAME));
    const QByteArray green = ImageFile::filled(90, 120, QColor(20, 200, 20), "JPG");
    for (int n = 1; n <= THEORY_CANDIDATES; ++n) {
        QSqlQuery person(m_folder->auxAdmin());
        person.prepare("INSERT INTO thisinh (IDThiSinh, IDKhoaHoc, Ma_Dang_Ky, Ma_Ky_SH, HoTen, GioiTinh,"
                       " NgaySinh, SoCMT, noidungSH, Anh) VALUES (:id, :course, :code, 'KYS', :name, 'F',"
                       " '1992-04-01', :idNumber, '1', :photo)");
        person.bindValue(":id", n);
        person.bindValue(":course", THEORY_ID);
        person.bindValue(":code", QString("DKS-%1").arg(n));
        person.bindValue(":name", candidateName(THEORY_ID, n));
        person.bindValue(":idNumber", QString("0010920000%1").arg(n, 2, 10, QChar('0')));
        person.bindValue(":photo", green);
        QVERIFY(person.exec());
        auxSql(QString("INSERT INTO khoahoc_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, Diem_Chuan)"
                       " VALUES ('%1', %2, '%2', 'B2', 21)")
                   .arg(THEORY_ID)
                   .arg(n));
    }
    QDesktopServices::setUrlHandler("file", &m_opened, "openUrl");
    // Opened before the counts are taken: the suite's own sessions stay.
    QVERIFY(sessions() > 0);

    m_threadsBefore = threadCount();
    // The program's own log, as a real day writes it.
    m_previousHandler = qInstallMessageHandler(logMessageHandler);
    m_controller.reset(new Controller(nullptr, PRINT_PERIOD_MS));
    m_controller->start();
    m_window = DialogProbe::topLevel<MainWindow>();
    QVERIFY(m_window);
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QVERIFY(m_window->isMaximized());
}

void TestExamDay::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler("file");
    m_terminals.clear();
    m_controller.reset();
    qInstallMessageHandler(m_previousHandler);
    const bool kept = QFile::copy(m_folder->filePath("log.txt"), m_keptLog);
    m_folder.reset();
    QVERIFY(kept);
}

void TestExamDay::importTwoCourses()
{
    // The morning course from the theory-test database.
    action("actionAuxDb")->trigger();
    auto *importer = m_window->findChild<ImportInfosDialog *>();
    QVERIFY(importer->isVisible());
    auto *theoryCourses = importer->findChild<QComboBox *>("cmbCourse");
    theoryCourses->setCurrentIndex(theoryCourses->findData(THEORY_ID));
    QVERIFY(theoryCourses->currentIndex() >= 0);
    importer->findChild<QPushButton *>("btnOk")->click();
    QCOMPARE(notice(), QString("Thông tin|Đã nhập thành công %1/%1 học viên của khóa thi %2")
                           .arg(THEORY_CANDIDATES)
                           .arg(THEORY_ID));

    // The afternoon course is made in the course manager, under the unit
    // the import brought, and filled from the authority's list.
    action("actionCourseList")->trigger();
    auto *manager = m_window->findChild<ManageCourseDialog *>();
    QVERIFY(manager->isVisible());
    manager->findChild<QToolButton *>("btnAdd")->click();
    auto *editor = manager->findChild<AddCourseDialog *>();
    QVERIFY(editor->isVisible());
    auto *units = editor->findChild<QComboBox *>("cbUnit");
    units->setCurrentIndex(units->findText("AU1 - Trung tâm Sát hạch Một"));
    QVERIFY(units->currentIndex() >= 0);
    editor->findChild<QLineEdit *>("leCourseCode")->setText(LIST_ID);
    editor->findChild<QLineEdit *>("leCourseName")->setText(LIST_NAME);
    editor->findChild<QPushButton *>("btnUpdate")->click();
    QCOMPARE(notice(), QString("Thông tin|Tạo khóa học thành công"));
    manager->reject();

    QVERIFY(m_folder->writeFile("danhsach.xml", candidateList(m_jp2)));
    action("actionImport_XML")->trigger();
    auto *listImporter = m_window->findChild<ImportXmlDialog *>();
    QVERIFY(listImporter->isVisible());
    auto *listCourses = listImporter->findChild<QComboBox *>("cbCourse");
    listCourses->setCurrentIndex(listCourses->findData(LIST_ID));
    QVERIFY(listCourses->currentIndex() >= 0);
    listImporter->findChild<QLineEdit *>("leXmlPath")->setText(m_folder->filePath("danhsach.xml"));
    listImporter->findChild<QPushButton *>("btnImport")->click();
    QCOMPARE(notice(), QString("Thông tin|Đã nhập thành công %1/%1 học viên của khóa thi %2")
                           .arg(LIST_CANDIDATES)
                           .arg(LIST_ID));
    // The photos are kept as the file gave them.
    QCOMPARE(mainCount(QString("SELECT COUNT(*) FROM khoathi_thisinh WHERE IDKhoaHoc = '%1' AND AnhChanDung = '%2'")
                           .arg(LIST_ID, QString::fromLatin1(m_jp2.toBase64()))),
             LIST_CANDIDATES);
    QCOMPARE(mainCount(QString("SELECT COUNT(*) FROM khoathi_thisinh WHERE IDKhoaHoc = '%1' AND AnhChanDung <> ''")
                           .arg(THEORY_ID)),
             THEORY_CANDIDATES);
}

void TestExamDay::startBothCourses()
{
    action("actionCourseList")->trigger();
    auto *manager = m_window->findChild<ManageCourseDialog *>();
    auto *view = manager->findChild<QTableView *>();
    auto *editor = manager->findChild<AddCourseDialog *>();
    for (const QString &course : {THEORY_ID, LIST_ID}) {
        int found = -1;
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            if (view->model()->index(row, 1).data().toString() == course)
                found = row;
        }
        QVERIFY2(found >= 0, qPrintable(course));
        view->setCurrentIndex(view->model()->index(found, 1));
        manager->findChild<QToolButton *>("btnEdit")->click();
        QVERIFY(editor->isVisible());
        auto *state = editor->findChild<QComboBox *>("cbStatus");
        state->setCurrentIndex(state->findText("Đang thi"));
        editor->findChild<QPushButton *>("btnUpdate")->click();
        QCOMPARE(notice(), QString("Thông tin|Cập nhật khóa học thành công"));
    }
    manager->reject();
    QCOMPARE(mainCount("SELECT COUNT(*) FROM khoathi WHERE TrangThai = 2"), 2);

    // Both are listed as running, each heading the room grid; the morning
    // course is chosen from that list.
    auto *running = m_window->findChild<QTableView *>("startingCourseView");
    QStringList names;
    QModelIndex morning;
    for (int row = 0; row < running->model()->rowCount(); ++row) {
        const QModelIndex index = running->model()->index(row, 0);
        names << index.data().toString();
        if (index.data().toString() == THEORY_ENTRY)
            morning = index;
    }
    names.sort();
    QCOMPARE(names, QStringList({THEORY_ENTRY, LIST_ENTRY}));
    QCOMPARE(grid(), (std::map<QString, QStringList>{{THEORY_ENTRY, {}}, {LIST_ENTRY, {}}}));
    const QPoint cell = running->visualRect(morning).center();
    QTest::mouseClick(running->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseDClick(running->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QTRY_COMPARE(m_window->findChild<QComboBox *>("cmbCourse")->currentText(), THEORY_ENTRY);
    QCOMPARE(table()->model()->rowCount(), THEORY_CANDIDATES);
    QCOMPARE(counter("lbTotal"), QString::number(THEORY_CANDIDATES));
    QCOMPARE(counter("lbNotContest"), QString::number(THEORY_CANDIDATES));
    QCOMPARE(counter("lbContest"), QString("0"));
}

void TestExamDay::twentyTerminalsConnect()
{
    m_sessionsBefore = sessions();
    QVERIFY(m_sessionsBefore > 0);
    for (int i = 0; i < TERMINALS; ++i) {
        const QSet<quint64> before = TerminalSteps::clientIds();
        m_terminals.emplace_back(new TestTerminal);
        TestTerminal &terminal = *m_terminals.back();
        QVERIFY2(terminal.connectTo("127.0.0.1", m_folder->port()) && terminal.handshake(),
                 qPrintable(terminal.errorString()));
        QTRY_COMPARE(TerminalSteps::clientIds().size(), before.size() + 1);
        const QSet<quint64> added = TerminalSteps::clientIds() - before;
        QCOMPARE(added.size(), 1);
        m_clientIds.push_back(*added.begin());
    }
    // Each terminal asks which courses run, and has a session of its own.
    for (auto &terminal : m_terminals) {
        Messages::ContestNameFields names;
        QString error;
        QVERIFY2(TerminalSteps::requestContestNames(*terminal, &names, &error), qPrintable(error));
        QStringList codes = QString::fromUtf8(names.codes).split(';');
        codes.sort();
        QCOMPARE(codes, QStringList({THEORY_ID, LIST_ID}));
    }
    QTRY_COMPARE(sessions(), m_sessionsBefore + TERMINALS);
}

void TestExamDay::admit(int seatIndex)
{
    const Seat &seat = SEATS.at(seatIndex);
    TestTerminal &terminal = *m_terminals.at(seatIndex);
    Messages::EnterResponseFields reply;
    QString error;
    QVERIFY2(TerminalSteps::enter(terminal, seat.course.toLatin1(), QByteArray::number(seat.order), &reply, &error),
             qPrintable(error));
    QCOMPARE(int(reply.status), 0);
    QCOMPARE(QString::fromUtf8(reply.name), candidateName(seat.course, seat.order));
    QCOMPARE(reply.entryId, entryOf(seat));
    // The portrait, as the terminal shows it: the list's JPEG 2000 photo
    // (red over blue) and the theory-test system's (green) alike.
    QImage portrait;
    QVERIFY2(portrait.loadFromData(QByteArray::fromBase64(reply.portrait), "JPG"), "a JPEG portrait");
    QVERIFY(portrait.width() <= 114 && portrait.height() <= 152);
    const QRgb top = portrait.pixel(portrait.width() / 2, portrait.height() / 5);
    const QRgb bottom = portrait.pixel(portrait.width() / 2, portrait.height() * 4 / 5);
    if (seat.course == LIST_ID)
        QVERIFY(isReddish(top) && isBluish(bottom));
    else
        QVERIFY(isGreenish(top) && isGreenish(bottom));
    QVERIFY(terminal.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(true, reply.entryId, false)));
}

void TestExamDay::sendResult(int seatIndex, int score)
{
    const Seat &seat = SEATS.at(seatIndex);
    QVERIFY(m_terminals.at(seatIndex)->sendEncrypted(
        Messages::EncryptedContestResult,
        Messages::contestResult(score, PASS_MARK, score >= PASS_MARK, entryOf(seat), seat.course.toLatin1(),
                                "1A;2B;3C;4D;5A;6B;7C;8D;9A;10B")));
}

void TestExamDay::eighteenCandidatesAdmitted()
{
    for (int i = 0; i < int(SEATS.size()); ++i)
        admit(i);
    QStringList morning;
    QStringList afternoon;
    for (const Seat &seat : SEATS)
        (seat.course == THEORY_ID ? morning : afternoon) << QString::number(seat.order);
    // The room as the operator sees it: every seated candidate in the grid,
    // those of the chosen course counted; the two who did not come wait.
    QTRY_COMPARE(counter("lbContest"), QString::number(morning.size()));
    QCOMPARE(counter("lbNotContest"), QString::number(ABSENT.size()));
    QCOMPARE(counter("lbContested"), QString("0"));
    std::sort(morning.begin(), morning.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    QTRY_COMPARE(grid(), (std::map<QString, QStringList>{{THEORY_ENTRY, morning}, {LIST_ENTRY, afternoon}}));
}

void TestExamDay::resultsComeIn()
{
    for (int i = 0; i < MIDPOINT; ++i)
        sendResult(i, SEATS.at(i).score);
    // Midpoint: five of the morning course done, five still in the room.
    int done = 0, passed = 0;
    QStringList morningInRoom, afternoonInRoom;
    for (int i = 0; i < int(SEATS.size()); ++i) {
        const Seat &seat = SEATS.at(i);
        if (i < MIDPOINT) {
            if (seat.course == THEORY_ID) {
                ++done;
                passed += seat.passed() ? 1 : 0;
            }
        } else {
            (seat.course == THEORY_ID ? morningInRoom : afternoonInRoom) << QString::number(seat.order);
        }
    }
    QTRY_COMPARE(counter("lbContested"), QString::number(done));
    QCOMPARE(counter("lbContest"), QString::number(morningInRoom.size()));
    QCOMPARE(counter("lbPass"), QString::number(passed));
    QCOMPARE(counter("lbNotPass"), QString::number(done - passed));
    QTRY_COMPARE(grid(), (std::map<QString, QStringList>{{THEORY_ENTRY, morningInRoom}, {LIST_ENTRY, afternoonInRoom}}));
    for (int i = 0; i < MIDPOINT; ++i) {
        const Seat &seat = SEATS.at(i);
        if (seat.course == THEORY_ID)
            QTRY_COMPARE(shownCell(seat.order, StudentModel::ColumnScore), QString::number(seat.score));
    }
    QCOMPARE(shownCell(SEATS.at(MIDPOINT).order, StudentModel::ColumnResult), QString());
    if (!qEnvironmentVariableIsEmpty("ORV_SCREENSHOT_DIR")) {
        m_window->showNormal();
        m_window->resize(1700, 860);
        // The grid's buttons are shown by events the layout posted.
        QTest::qWait(100);
        DialogProbe::screenshot(m_window, "examday-midpoint");
        m_window->showMaximized();
    }

    for (int i = MIDPOINT; i < int(SEATS.size()); ++i)
        sendResult(i, SEATS.at(i).score);
    // All in: of the morning course ten sat, seven passed, two never came.
    QTRY_COMPARE(counter("lbContest"), QString("0"));
    QCOMPARE(counter("lbContested"), QString("10"));
    QCOMPARE(counter("lbPass"), QString("7"));
    QCOMPARE(counter("lbNotPass"), QString("3"));
    QCOMPARE(counter("lbNotContest"), QString::number(ABSENT.size()));
    QCOMPARE(counter("lbTotal"), QString::number(THEORY_CANDIDATES));
    QTRY_COMPARE(grid(), (std::map<QString, QStringList>{{THEORY_ENTRY, {}}, {LIST_ENTRY, {}}}));
    for (const Seat &seat : SEATS) {
        if (seat.course == THEORY_ID)
            QTRY_COMPARE(shownCell(seat.order, StudentModel::ColumnScore), QString::number(seat.score));
    }
    for (int order : ABSENT)
        QCOMPARE(shownCell(order, StudentModel::ColumnResult), QString());
}

void TestExamDay::checkSheet(int seatIndex)
{
    const Seat &seat = SEATS.at(seatIndex);
    // Read from a copy beside the folder, so ./pdf holds only the sheets.
    const QString copy = m_folder->filePath(QString("sheets/%1_%2.pdf").arg(seat.course).arg(seat.order));
    QFile::remove(copy);
    QVERIFY(QDir(m_folder->path()).mkpath("sheets"));
    QVERIFY(QFile::copy(m_folder->filePath(pdfOf(seat)), copy));
    QVERIFY2(SheetTools::pdfText(copy).contains(candidateName(seat.course, seat.order)), qPrintable(pdfOf(seat)));
    const QString page = SheetTools::renderPage(copy, 200);
    QVERIFY(!page.isEmpty());
    const QByteArray qr = SheetTools::decodeQr(page);
    QVERIFY2(!qr.isEmpty(), qPrintable(pdfOf(seat)));

    // The signature verifies with the key over the text above it...
    QByteArray text;
    QByteArray signature;
    QVERIFY2(splitSignedText(qr, &text, &signature), qr.constData());
    QCOMPARE(signature, QMessageAuthenticationCode::hash(text, QR_KEY, QCryptographicHash::Sha256).toBase64());
    // ...and the text is the candidate's result as stored.
    std::unique_ptr<ReportInfo> info(
        BusinessControllerClient::getInstance()->getReportInfo(m_clientIds.at(seatIndex), entryOf(seat), seat.course));
    QVERIFY(info);
    QCOMPARE(QString::fromUtf8(qr), signQrText(resultSheetQrText(*info), QR_KEY));
    QVERIFY(QString::fromUtf8(text).contains(candidateName(seat.course, seat.order)));
}

void TestExamDay::oneSignedSheetPerResult()
{
    // Every sheet is announced, written and released, one a period.
    QTRY_VERIFY_WITH_TIMEOUT(automaticDialog() && automaticDialog()->getReportList().size() == int(SEATS.size())
                                 && automaticDialog()->getReportList().count(nullptr) == int(SEATS.size()),
                             60000);
    QStringList expected;
    for (const Seat &seat : SEATS)
        expected << QFileInfo(pdfOf(seat)).fileName();
    expected.sort();
    QStringList written = QDir(m_folder->filePath("pdf")).entryList(QDir::Files);
    written.sort();
    QCOMPARE(written, expected);
    for (int i = 0; i < int(SEATS.size()); ++i)
        checkSheet(i);
}

void TestExamDay::resetAndSatAgain()
{
    const Seat &seat = SEATS.at(RESET_SEAT);
    QVERIFY(!seat.passed());
    const int row = shownRow(seat.order);
    QVERIFY(row >= 0);
    table()->selectRow(row);

    // The table's context menu, then the reset dialog with the reason.
    std::unique_ptr<ModalAnswer> menu = ModalAnswer::popup<QMenu>([](QMenu *shown) {
        for (QAction *entry : shown->actions()) {
            if (entry->text() == "Thiết lập lại") {
                shown->setActiveAction(entry);
                QTest::keyClick(shown, Qt::Key_Return);
                return;
            }
        }
        shown->close();
    });
    emit table()->customContextMenuRequested(
        table()->visualRect(table()->model()->index(row, StudentModel::ColumnName)).center());
    QVERIFY(menu->answered());
    auto *reset = m_window->findChild<InfoResetDialog *>();
    QTRY_VERIFY(reset->isVisible());
    typeText(reset->findChild<QLineEdit *>("leComment"), RESET_REASON);
    reset->findChild<QPushButton *>("startButton")->click();
    QCOMPARE(notice(), QString("Thông tin|Thiết lập lại thông tin thành công"));
    QCOMPARE(shownCell(seat.order, StudentModel::ColumnResult), QString());
    QCOMPARE(shownCell(seat.order, StudentModel::ColumnScore), QString());

    // The candidate is admitted again on the same terminal and sits again.
    admit(RESET_SEAT);
    QTRY_COMPARE(counter("lbContest"), QString("1"));
    QCOMPARE(counter("lbContested"), QString("9"));
    QTRY_COMPARE(grid()[THEORY_ENTRY], QStringList{QString::number(seat.order)});
    sendResult(RESET_SEAT, RESAT_SCORE);
    // Failed first, passed now.
    QTRY_COMPARE(counter("lbContested"), QString("10"));
    QCOMPARE(counter("lbContest"), QString("0"));
    QCOMPARE(counter("lbPass"), QString("8"));
    QCOMPARE(counter("lbNotPass"), QString("2"));
    QCOMPARE(shownCell(seat.order, StudentModel::ColumnScore), QString::number(RESAT_SCORE));

    // Its second sheet replaces the first, and carries the second result.
    QTRY_VERIFY_WITH_TIMEOUT(automaticDialog()->getReportList().size() == int(SEATS.size()) + 1
                                 && automaticDialog()->getReportList().count(nullptr) == int(SEATS.size()) + 1,
                             20000);
    QCOMPARE(QDir(m_folder->filePath("pdf")).entryList(QDir::Files).size(), int(SEATS.size()));
    checkSheet(RESET_SEAT);
    QVERIFY(mainCount(QString("SELECT COUNT(*) FROM khoathi_thisinh WHERE ID = %1 AND DiemMoPhong = %2")
                          .arg(entryOf(seat))
                          .arg(RESAT_SCORE))
            == 1);
}

void TestExamDay::theoryResultsRefreshed()
{
    // The theory-test system has marked ten of the morning candidates.
    auxSql(QString("UPDATE khoahoc_thisinh SET KetQua = 'DAT' WHERE IDKhoaHoc = '%1' AND SoBaoDanh * 1 <= 10")
               .arg(THEORY_ID));
    std::unique_ptr<ModalAnswer> answer = ModalAnswer::messageBox();
    action("actionCapNhatKetQuaSHLyThuyet")->trigger();
    QVERIFY(answer->answered());
    QCOMPARE(answer->text(), QString("Có 10 học viên được cập nhật kết quả thi lý thuyết"));
    for (int order = 1; order <= THEORY_CANDIDATES; ++order)
        QCOMPARE(shownCell(order, StudentModel::ColumnTheoryResult), order <= 10 ? QString("DAT") : QString());
}

void TestExamDay::exportFrom(const char *actionName, const QString &course)
{
    action(actionName)->trigger();
    auto *dialog = m_window->findChild<ExportStudentsDialog *>();
    QVERIFY(dialog->isVisible());
    auto *courses = dialog->findChild<QComboBox *>("cmbCourse");
    courses->setCurrentIndex(courses->findData(course));
    QVERIFY(courses->currentIndex() >= 0);
    dialog->findChild<QPushButton *>("btnOk")->click();
}

QJsonObject TestExamDay::workbook(const QString &file)
{
    QString error;
    const QJsonObject read = WorkbookReader::read(m_folder->filePath("reports/" + file), &error);
    if (read.isEmpty())
        qWarning() << file << error;
    return read.value("cells").toObject();
}

namespace {
QString cellText(const QJsonObject &cells, const QString &ref)
{
    const QJsonValue value = cells.value(ref).toObject().value("value");
    return value.isDouble() ? QString::number(value.toInt()) : value.toString();
}
} // namespace

void TestExamDay::excelReports()
{
    struct List
    {
        const char *action;
        QString file;
        QString notice;
        QStringList orders;
    };
    const QList<List> lists = {
        {"actionExportPassedStudents_excel", "LT01_BaoCaoDat.xlsx", "thí sinh ĐẠT của khóa học",
         {"1", "3", "4", "5", "6", "7", "9", "10"}},
        {"actionExportFailedStudents_excel", "LT01_BaoCaoTruot.xlsx", "thí sinh TRƯỢT của khóa học", {"2", "8"}},
        {"actionExportAbsentStudents_excel", "LT01_BaoCaoVang.xlsx", "thí sinh VẮNG của khóa học", {"11", "12"}},
    };
    for (const List &list : lists) {
        exportFrom(list.action, THEORY_ID);
        QCOMPARE(notice(), "Thông tin|Xuất danh sách " + list.notice + " thành công");
        const QJsonObject cells = workbook(list.file);
        QVERIFY2(!cells.isEmpty(), qPrintable(list.file));
        QCOMPARE(cellText(cells, "F6"), QString::number(list.orders.size()));
        QStringList orders;
        for (int r = 11; !cellText(cells, QString("C%1").arg(r)).isEmpty(); ++r)
            orders << cellText(cells, QString("C%1").arg(r));
        QCOMPARE(orders, list.orders);
    }

    exportFrom("actionExportExcel", THEORY_ID);
    QCOMPARE(notice(), QString("Thông tin|Xuất danh sách khóa học thành công"));
    const QJsonObject cells = workbook("LT01_BaoCaoTongHop.xlsx");
    QVERIFY(!cells.isEmpty());
    QCOMPARE(cellText(cells, "E6"), QString::number(THEORY_CANDIDATES));
    QCOMPARE(cellText(cells, "H6"), QString("8"));
    QCOMPARE(cellText(cells, "H7"), QString("2"));
    QCOMPARE(cellText(cells, "H8"), QString::number(ABSENT.size()));
    QMap<QString, QString> results;
    QString resetNote;
    for (int r = 11; r < 11 + THEORY_CANDIDATES; ++r) {
        const QString order = cellText(cells, QString("B%1").arg(r));
        results[order] = cellText(cells, QString("G%1").arg(r));
        if (order == QString::number(SEATS.at(RESET_SEAT).order))
            resetNote = cellText(cells, QString("H%1").arg(r));
    }
    QCOMPARE(results.size(), THEORY_CANDIDATES);
    const QString passLabel = results.value("1");
    const QString failLabel = results.value("2");
    QVERIFY(!passLabel.isEmpty() && !failLabel.isEmpty() && passLabel != failLabel);
    QCOMPARE(results.value(QString::number(SEATS.at(RESET_SEAT).order)), passLabel);
    QCOMPARE(results.values().count(passLabel), 8);
    QCOMPARE(results.values().count(failLabel), 2);
    for (int order : ABSENT)
        QCOMPARE(results.value(QString::number(order)), QString());
    QVERIFY2(resetNote.contains(RESET_REASON), qPrintable(resetNote));
    QCOMPARE(m_opened.paths.size(), 4);
}

QDomDocument TestExamDay::xmlForm(const char *actionName, const QString &course, const QString &file)
{
    const QString target = m_folder->filePath(file);
    std::unique_ptr<ModalAnswer> answer = ModalAnswer::of<QFileDialog>([&](QFileDialog *dialog) {
        dialog->selectFile(target);
        static_cast<QDialog *>(dialog)->accept();
    });
    exportFrom(actionName, course);
    QDomDocument document;
    if (!answer->answered() || notice() != "Cảnh báo|Export thành công.")
        return document;
    QFile written(target);
    if (written.open(QIODevice::ReadOnly))
        document.setContent(&written);
    return document;
}

void TestExamDay::xmlForms()
{
    // The first form: the whole course with its results.
    const QDomDocument first = xmlForm("actionExport_XML", THEORY_ID, "LT01.xml");
    const QDomElement root = first.documentElement();
    QVERIFY(!root.isNull());
    QCOMPARE(root.firstChildElement("HEADER").firstChildElement("TONG_SO_BAN_GHI").text(),
             QString::number(THEORY_CANDIDATES));
    QMap<int, QStringList> firstRows;
    const QDomNodeList drivers = root.elementsByTagName("NGUOI_LX");
    for (int i = 0; i < drivers.size(); ++i) {
        const QDomElement driver = drivers.at(i).toElement();
        const QDomElement file = driver.firstChildElement("HO_SO");
        firstRows[file.firstChildElement("SO_BAO_DANH").text().toInt()] =
            QStringList{driver.firstChildElement("DIEM_MP").text(), driver.firstChildElement("KET_QUA_MO_PHONG").text(),
                        file.firstChildElement("KQ_SH_LYTHUYET").text()};
    }
    QCOMPARE(firstRows.size(), THEORY_CANDIDATES);
    QMap<int, QStringList> expected;
    for (int order = 1; order <= THEORY_CANDIDATES; ++order)
        expected[order] = QStringList{"-1", "", order <= 10 ? "DAT" : ""};
    for (const Seat &seat : SEATS) {
        if (seat.course != THEORY_ID)
            continue;
        const int score = seat.order == SEATS.at(RESET_SEAT).order ? RESAT_SCORE : seat.score;
        expected[seat.order] = QStringList{QString::number(score), score >= PASS_MARK ? "DAT" : "KHONG DAT", "DAT"};
    }
    QCOMPARE(firstRows, expected);

    // The second form: one THI_SINH per candidate, the simulation score
    // under KETQUA_SATHACH_M.
    const QDomDocument second = xmlForm("actionKQSHMPXML", THEORY_ID, "LT01_KQSHMP.xml");
    QVERIFY(!second.documentElement().isNull());
    QMap<int, QStringList> secondRows;
    const QDomNodeList candidates = second.documentElement().elementsByTagName("THI_SINH");
    for (int i = 0; i < candidates.size(); ++i) {
        const QDomElement candidate = candidates.at(i).toElement();
        secondRows[candidate.firstChildElement("SO_BAO_DANH").text().toInt()] =
            QStringList{candidate.firstChildElement("KETQUA_SATHACH_M").firstChildElement("DIEM_DAT_DUOC").text()};
    }
    QMap<int, QStringList> expectedScores;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        expectedScores[it.key()] = QStringList{it.value().at(0)};
    QCOMPARE(secondRows, expectedScores);

    // The afternoon course's photos leave as they came.
    const QDomDocument afternoon = xmlForm("actionKQSHMPXML", LIST_ID, "XK02_KQSHMP.xml");
    const QDomNodeList photos = afternoon.documentElement().elementsByTagName("ANH_CHAN_DUNG");
    QCOMPARE(photos.size(), LIST_CANDIDATES);
    for (int i = 0; i < photos.size(); ++i)
        QCOMPARE(photos.at(i).toElement().text(), QString::fromLatin1(m_jp2.toBase64()));
}

void TestExamDay::exitThroughTheMenu()
{
    QString question;
    QTimer::singleShot(0, [this, &question]() {
        std::unique_ptr<ModalAnswer> answer = ModalAnswer::messageBox(QMessageBox::Yes, 10000);
        action("actionExit")->trigger();
        question = answer->text();
    });
    // A guard: the loop would otherwise run for ever on a failure.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, []() { QCoreApplication::exit(99); });
    guard.start(20000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(question.startsWith("Tắt chương trình sẽ mất kết nối"));

    // What main does next: the controller goes, and with it the window, the
    // listener and every terminal's connection.
    m_controller.reset();
    m_window = nullptr;
    for (auto &terminal : m_terminals)
        QVERIFY(terminal->waitForClosed(5000));
    QTRY_COMPARE(threadCount(), m_threadsBefore);
    QTRY_COMPARE(sessions(), m_sessionsBefore);
}

ORV_TEST_MAIN_DESKTOP(TestExamDay)
#include "tst_examday.moc"
