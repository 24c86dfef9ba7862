// The operator side's business object over a real main database: the
// candidate table kept in step with the database, the course selection, the
// settings, login, result sheets and XML exports. One controller per
// process, so the cases run in order on the same one.

#include "connection/mysqlconnection.h"
#include "records/course.h"
#include "records/crudstudentinfo.h"
#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"
#include "server/business/resultchecksum.h"
#include "server/network/iocontroller.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/workfolder.h"
#include "models/studentmodel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>

namespace {

enum Column { Id = 0, Name = 1, StartTime = 6, EndTime = 7, Score = 8, Result = 10, State = 13 };

QString md5(const QString &text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

} // namespace

class TestBusinessControllerServices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void readsSettingsAtConstruction();
    void recentCourseIdAt_data();
    void recentCourseIdAt();
    void courseSelection();
    void addingWithoutCourse();
    void candidateRowsFollowTheDatabase();
    void refusedRowOperations_data();
    void refusedRowOperations();
    void notTestTheoryResult_data();
    void notTestTheoryResult();
    void validateLogin_data();
    void validateLogin();
    void reportInfoVerifiesChecksum_data();
    void reportInfoVerifiesChecksum();
    void xmlExportsInARow();
    void updateConfig_data();
    void updateConfig();

private:
    QSqlDatabase db() { return m_folder->mainAdmin(); }
    void sql(const QString &statement) { QVERIFY2(TestDb::exec(db(), statement), qPrintable(statement)); }
    int scalarInt(const QString &statement);
    QString scalarText(const QString &statement);
    // Row index of entry `id` in the model, -1 when not shown.
    int modelRowOf(int id) const;
    QVariant cell(int row, int column) const;
    int courseIndex(const QString &id);

    std::unique_ptr<WorkFolder> m_folder;
    BusinessController *m_controller = nullptr;
    StudentModel *m_model = nullptr;
    // Entries of course K1, by order number 1 to 4.
    int m_entry[5] = {0, 0, 0, 0, 0};
};

int TestBusinessControllerServices::scalarInt(const QString &statement)
{
    QSqlQuery q(db());
    if (!q.exec(statement) || !q.next())
        return -999;
    return q.value(0).toInt();
}

QString TestBusinessControllerServices::scalarText(const QString &statement)
{
    QSqlQuery q(db());
    if (!q.exec(statement) || !q.next())
        return "<no row>";
    return q.value(0).toString();
}

int TestBusinessControllerServices::modelRowOf(int id) const
{
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->data(m_model->index(row, Id)).toInt() == id)
            return row;
    }
    return -1;
}

QVariant TestBusinessControllerServices::cell(int row, int column) const
{
    return m_model->data(m_model->index(row, column));
}

int TestBusinessControllerServices::courseIndex(const QString &id)
{
    QList<Course *> *courses = m_controller->getAllCourses();
    for (int i = 0; i < courses->size(); ++i) {
        if (courses->at(i)->getIDKhoaHoc() == id)
            return i;
    }
    return -1;
}

void TestBusinessControllerServices::initTestCase()
{
    WorkFolder::Options options;
    options.autoPrint = 1;
    options.timeUpdateTheoryResult = 77;
    options.checkPassingTheory = true;
    options.importAvatarFolderOn = 1;
    m_folder.reset(new WorkFolder("bizsvc", options));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    // Content 0 listed, so a content text that is not a number is seen to
    // test as 0.
    QVERIFY(m_folder->writeFile("config/NDSH.json",
                                "{\"NOT_TEST_SIMULATION\": [5], \"NOT_TEST_THEORY_RESULT\": [0, 3],"
                                " \"CONTEST_CONTENT_LIST\": [1, 3]}"));

    sql("INSERT INTO tinh VALUES ('T1', 'Tỉnh Một')");
    sql("INSERT INTO donvi VALUES ('U1', 'T1', 'Trung tâm Một')");
    sql("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, TrangThai, TrungTam) VALUES"
        " ('K1', 'Khóa Một', 'U1', CURDATE(), 2024, 2, 'Sân Một'),"
        " ('K2', 'Khóa Hai', 'U1', CURDATE() - INTERVAL 30 DAY, 2024, 1, 'Sân Một'),"
        " ('K3', 'Khóa Ba', 'U1', CURDATE() - INTERVAL 2 YEAR, 2022, 3, 'Sân Một')");
    const QStringList names = {"Lê Văn Một", "Trần Thị Hai", "Phạm Văn Ba", "Đỗ Thị Bốn"};
    for (int n = 1; n <= 4; ++n) {
        sql(QString("INSERT INTO thisinh (IDThiSinh, HoTen, NgaySinh, SoCMT, Ma_Ky_SH) VALUES"
                    " (%1, '%2', '1990-01-0%1', '00000000000%1', 'KY1')")
                .arg(n)
                .arg(names.at(n - 1)));
        sql(QString("INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, DiemMoPhong,"
                    " DiemChuanMoPhong, TrangThai) VALUES ('K1', %1, '%1', 'B2', -1, 35, 0)")
                .arg(n));
        m_entry[n] = scalarInt(QString("SELECT ID FROM khoathi_thisinh WHERE SoBaoDanh = '%1'").arg(n));
    }
    // The fourth has sat its test already.
    sql(QString("UPDATE khoathi_thisinh SET DiemMoPhong = 41, KetQuaMoPhong = 'DAT', TrangThai = 2,"
                " ThoiGianBatDauThi = NOW(), ThoiGianKetThucThi = NOW() WHERE ID = %1")
            .arg(m_entry[4]));
    sql(QString("INSERT INTO taikhoan VALUES ('admin', 'Quản trị', 2, '%1'), ('super', 'Siêu', 3, '%2')")
            .arg(md5("matkhau"), md5("khac")));

    m_controller = BusinessController::getInstance();
    QVERIFY(m_controller);
    QCOMPARE(m_controller->isDbConnectionFailed(), 0);
    m_model = m_controller->getStudentModel();
    QVERIFY(m_model);
    QTRY_COMPARE(IOController::getInstance()->getStatus(), IOController::STATUS_LISTENING);
}

void TestBusinessControllerServices::cleanupTestCase()
{
    // Joins the listener and queue threads before the process ends.
    IOController::destroyInstance();
}

void TestBusinessControllerServices::readsSettingsAtConstruction()
{
    QCOMPARE(m_controller->getAutoPrint(), 1);
    QCOMPARE(m_controller->getTimeUpdateTheoryResult(), 77);
    QCOMPARE(m_controller->getCheckPassingTheoryExam(), true);
    QCOMPARE(m_controller->getImportAvatarFolderOn(), true);
}

void TestBusinessControllerServices::recentCourseIdAt_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    // Newest first; the two-year-old course is not recent.
    QTest::newRow("below the list") << -1 << QString();
    QTest::newRow("newest") << 0 << "K1";
    QTest::newRow("last") << 1 << "K2";
    QTest::newRow("list size") << 2 << QString();
}

void TestBusinessControllerServices::recentCourseIdAt()
{
    QFETCH(int, index);
    QFETCH(QString, expected);
    QCOMPARE(m_controller->getRecentCourseIdAt(index), expected);
}

void TestBusinessControllerServices::courseSelection()
{
    // Nothing loaded yet: nothing to refresh, and no course can be selected.
    m_controller->refreshAllCourses();
    QVERIFY(!m_controller->setCurrentCourse(0));

    QList<Course *> *courses = m_controller->getAllCourses();
    QCOMPARE(courses->size(), 3);
    QCOMPARE(m_controller->setCurrentCourse(-1), nullptr);
    QCOMPARE(m_controller->setCurrentCourse(courses->size()), nullptr);
    QCOMPARE(m_controller->getCurrentCourse(), nullptr);
    Course *first = m_controller->setCurrentCourse(0);
    QVERIFY(first);
    QCOMPARE(first->getIDKhoaHoc(), QString("K1"));

    // The course views hold the list itself: a refresh refills it in place
    // and lets go of the selected course, which was one of its elements.
    sql("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrangThai) VALUES"
        " ('K4', 'Khóa Bốn', 'U1', CURDATE() - INTERVAL 3 YEAR, 1)");
    m_controller->refreshAllCourses();
    QCOMPARE(m_controller->getAllCourses(), courses);
    QCOMPARE(courses->size(), 4);
    QCOMPARE(m_controller->getCurrentCourse(), nullptr);
}

void TestBusinessControllerServices::addingWithoutCourse()
{
    m_controller->setCurrentCourse(-1);
    const int before = scalarInt("SELECT COUNT(*) FROM khoathi_thisinh");
    CRUDStudentInfo info;
    info.setHoTen("Ngô Văn Năm");
    info.setSoBaoDanh("5");
    info.setSoCMT("000000000005");
    const SqlResultInfo result = m_controller->addContestantInfo(info);
    QCOMPARE(result.getSuccess(), false);
    QCOMPARE(result.getId(), -1);
    QCOMPARE(result.getCode(), -1);
    QCOMPARE(result.getMessage(), QString("Thêm học viên không thành công vì chưa chọn khóa học"));
    QCOMPARE(scalarInt("SELECT COUNT(*) FROM khoathi_thisinh"), before);
}

void TestBusinessControllerServices::candidateRowsFollowTheDatabase()
{
    QVERIFY(m_controller->setCurrentCourse(courseIndex("K1")));
    QCOMPARE(m_controller->loadStudentsOfCourse("K1"), m_model);
    QCOMPARE(m_model->rowCount(), 4);

    // Remove the second: gone from the database, the model and the rows.
    QVERIFY(m_controller->removeContestantInfo(m_entry[2]));
    QCOMPARE(scalarInt(QString("SELECT COUNT(*) FROM khoathi_thisinh WHERE ID = %1").arg(m_entry[2])), 0);
    QCOMPARE(m_model->rowCount(), 3);
    QCOMPARE(modelRowOf(m_entry[2]), -1);

    // The views still pass the index they showed before the removal: the
    // change must reach the third candidate, not the fourth.
    CRUDStudentInfo info;
    info.setHoTen("Phạm Văn Ba Mới");
    info.setNgaySinh(QDate(1991, 2, 3));
    info.setSoBaoDanh("3");
    info.setLoaiBang("C");
    info.setSoCMT("000000000003");
    QSignalSpy changed(m_model, &StudentModel::dataChanged);
    QVERIFY(m_controller->updateContestantInfo(m_entry[3], 2, info));
    QCOMPARE(scalarText("SELECT HoTen FROM thisinh WHERE IDThiSinh = 3"), QString("Phạm Văn Ba Mới"));
    QCOMPARE(scalarText("SELECT HoTen FROM thisinh WHERE IDThiSinh = 4"), QString("Đỗ Thị Bốn"));
    QCOMPARE(cell(modelRowOf(m_entry[3]), Name).toString(), QString("Phạm Văn Ba Mới"));
    QCOMPARE(cell(modelRowOf(m_entry[4]), Name).toString(), QString("Đỗ Thị Bốn"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex().row(), modelRowOf(m_entry[3]));

    // Reset the fourth, again with its index from before the removal.
    QVERIFY(m_controller->resetContestantResult(m_entry[4], 3, "Máy hỏng"));
    QCOMPARE(scalarInt(QString("SELECT DiemMoPhong FROM khoathi_thisinh WHERE ID = %1").arg(m_entry[4])), -1);
    QCOMPARE(scalarInt(QString("SELECT TrangThai FROM khoathi_thisinh WHERE ID = %1").arg(m_entry[4])), 0);
    const int fourth = modelRowOf(m_entry[4]);
    QCOMPARE(cell(fourth, Score).toString(), QString());
    QCOMPARE(cell(fourth, EndTime).toString(), QString());
    QCOMPARE(cell(modelRowOf(m_entry[3]), Name).toString(), QString("Phạm Văn Ba Mới"));

    // A terminal starts the third and the first, and stores the first's
    // result: the database and the rows of those two candidates follow.
    const quint64 terminal = 9001;
    BusinessControllerClient *client = BusinessControllerClient::getInstance();
    client->insertNewDbConnection(terminal);
    QVERIFY(client->findConnection(terminal));
    QSignalSpy courseInfo(m_controller, &BusinessController::notifyUpdateCourseInfo);
    client->infoConfirmUpdated(terminal, m_entry[3], true, false);
    client->infoConfirmUpdated(terminal, m_entry[1], true, false);
    client->contestResultUpdated(terminal, 30, 35, false, m_entry[1], "K1", "1|2|3");
    QTRY_COMPARE(courseInfo.count(), 3);
    const QString timeText("DATE_FORMAT(%1, '%Y-%m-%d %H:%i:%s')");
    const QString entryRow(" FROM khoathi_thisinh WHERE ID = %1");
    QCOMPARE(scalarInt("SELECT TrangThai" + entryRow.arg(m_entry[3])), 1);
    QCOMPARE(scalarInt("SELECT TrangThai" + entryRow.arg(m_entry[1])), 2);
    QCOMPARE(scalarInt("SELECT DiemMoPhong" + entryRow.arg(m_entry[1])), 30);
    QCOMPARE(scalarInt("SELECT TrangThai" + entryRow.arg(m_entry[4])), 0);
    const int first = modelRowOf(m_entry[1]);
    const int third = modelRowOf(m_entry[3]);
    QCOMPARE(cell(third, StartTime).toString(),
             scalarText("SELECT " + timeText.arg("ThoiGianBatDauThi") + entryRow.arg(m_entry[3])));
    QCOMPARE(cell(third, State).toInt(), 1);
    QCOMPARE(cell(first, StartTime).toString(),
             scalarText("SELECT " + timeText.arg("ThoiGianBatDauThi") + entryRow.arg(m_entry[1])));
    QCOMPARE(cell(first, EndTime).toString(),
             scalarText("SELECT " + timeText.arg("ThoiGianKetThucThi") + entryRow.arg(m_entry[1])));
    QCOMPARE(cell(first, Score).toInt(), 30);
    QCOMPARE(cell(first, State).toInt(), 2);
    QCOMPARE(cell(modelRowOf(m_entry[4]), EndTime).toString(), QString());
    client->removeDbConnection(terminal);

    // A result for a candidate of another course changes no row but still
    // refreshes the course's counters.
    changed.clear();
    emit client->notifyContestResultStored(987654, 40, 35, true, "2024-03-05 08:30:00");
    QTRY_COMPARE(courseInfo.count(), 4);
    QCOMPARE(changed.count(), 0);

    // Added to the loaded course: a new last row with the new entry's id.
    CRUDStudentInfo added;
    added.setHoTen("Ngô Văn Năm");
    added.setSoBaoDanh("5");
    added.setSoCMT("000000000005");
    added.setLoaiBang("B2");
    added.setNgaySinh(QDate(1995, 5, 5));
    const SqlResultInfo result = m_controller->addContestantInfo(added);
    QVERIFY(result.getSuccess());
    QCOMPARE(m_model->rowCount(), 4);
    QCOMPARE(cell(3, Id).toInt(), result.getId());
    QCOMPARE(cell(3, Name).toString(), QString("Ngô Văn Năm"));
    QCOMPARE(scalarText(QString("SELECT SoBaoDanh FROM khoathi_thisinh WHERE ID = %1").arg(result.getId())),
             QString("5"));
    // It can be removed again by its id.
    QVERIFY(m_controller->removeContestantInfo(result.getId()));
    QCOMPARE(m_model->rowCount(), 3);
}

void TestBusinessControllerServices::refusedRowOperations_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("withCourse");
    QTest::addColumn<int>("entry");
    // The second was removed above: its id is no longer in the table.
    for (const char *op : {"update", "remove", "reset"}) {
        QTest::addRow("%s unknown id", op) << QString(op) << true << 2;
        QTest::addRow("%s without course", op) << QString(op) << false << 3;
    }
}

void TestBusinessControllerServices::refusedRowOperations()
{
    QFETCH(QString, operation);
    QFETCH(bool, withCourse);
    QFETCH(int, entry);
    const int id = m_entry[entry];
    if (withCourse)
        QVERIFY(m_controller->setCurrentCourse(courseIndex("K1")));
    else
        QVERIFY(!m_controller->setCurrentCourse(-1));
    const QString before = scalarText(
        "SELECT GROUP_CONCAT(CONCAT_WS(',', ID, IFNULL(DiemMoPhong, ''), IFNULL(GhiChu, '')) ORDER BY ID)"
        " FROM khoathi_thisinh");
    const QString names = scalarText("SELECT GROUP_CONCAT(HoTen ORDER BY IDThiSinh) FROM thisinh");
    const int rows = m_model->rowCount();

    CRUDStudentInfo info;
    info.setHoTen("Không Được Đổi");
    info.setSoBaoDanh(QString::number(entry));
    bool done = true;
    if (operation == "update")
        done = m_controller->updateContestantInfo(id, 1, info);
    else if (operation == "remove")
        done = m_controller->removeContestantInfo(id);
    else
        done = m_controller->resetContestantResult(id, 1, "Không được");

    QCOMPARE(done, false);
    QCOMPARE(m_model->rowCount(), rows);
    QCOMPARE(scalarText(
                 "SELECT GROUP_CONCAT(CONCAT_WS(',', ID, IFNULL(DiemMoPhong, ''), IFNULL(GhiChu, ''))"
                 " ORDER BY ID) FROM khoathi_thisinh"),
             before);
    QCOMPARE(scalarText("SELECT GROUP_CONCAT(HoTen ORDER BY IDThiSinh) FROM thisinh"), names);
}

void TestBusinessControllerServices::notTestTheoryResult_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("expected");
    // The file lists 0 and 3.
    QTest::newRow("listed") << "3" << true;
    QTest::newRow("not listed") << "1" << false;
    QTest::newRow("letters test as 0") << "abc" << true;
    QTest::newRow("empty tests as 0") << "" << true;
    QTest::newRow("trailing letter tests as 0") << "1a" << true;
}

void TestBusinessControllerServices::notTestTheoryResult()
{
    QFETCH(QString, content);
    QFETCH(bool, expected);
    QCOMPARE(m_controller->isNotTestTheoryResult(content), expected);
}

void TestBusinessControllerServices::validateLogin_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("role");
    QTest::newRow("administrator") << "admin" << md5("matkhau") << 2;
    QTest::newRow("super-administrator") << "super" << md5("khac") << 3;
    QTest::newRow("upper-case digest") << "admin" << md5("matkhau").toUpper() << -1;
    QTest::newRow("plain password") << "admin" << "matkhau" << -1;
    QTest::newRow("another account's digest") << "admin" << md5("khac") << -1;
    QTest::newRow("unknown user") << "nobody" << md5("matkhau") << -1;
}

void TestBusinessControllerServices::validateLogin()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(int, role);
    QCOMPARE(m_controller->validateLogin(user, password), role);
}

void TestBusinessControllerServices::reportInfoVerifiesChecksum_data()
{
    QTest::addColumn<QString>("tamper");
    QTest::addColumn<bool>("valid");
    QTest::newRow("as stored") << QString() << true;
    QTest::newRow("score changed") << "DiemMoPhong = 35" << false;
    QTest::newRow("answers changed") << "TraLoiMoPhong = '1A2C|tail'" << false;
}

void TestBusinessControllerServices::reportInfoVerifiesChecksum()
{
    QFETCH(QString, tamper);
    QFETCH(bool, valid);
    QVERIFY(m_controller->setCurrentCourse(courseIndex("K1")));
    m_controller->loadStudentsOfCourse("K1");
    const int id = m_entry[1];
    sql(QString("UPDATE khoathi_thisinh SET DiemMoPhong = 33, DiemChuanMoPhong = 35, KetQuaMoPhong ="
                " 'KHONG DAT', TraLoiMoPhong = '1A2B|tail', ThoiGianBatDauThi = NOW() - INTERVAL 20 MINUTE,"
                " ThoiGianKetThucThi = NOW(), TrangThai = 2, ChiTietThi = 1 WHERE ID = %1")
            .arg(id));
    const ContestantResultInfo stored = m_controller->getMySqlConnection()->getContestantResultInfo(id);
    const QString checksum = ResultChecksum::make(stored, QDateTime::currentDateTime());
    QCOMPARE(checksum.size(), 96);
    sql(QString("UPDATE khoathi_thisinh SET CheckSumKQMP = '%1' WHERE ID = %2").arg(checksum).arg(id));
    if (!tamper.isEmpty())
        sql(QString("UPDATE khoathi_thisinh SET %1 WHERE ID = %2").arg(tamper).arg(id));

    const ReportInfo report = m_controller->getReportInfo(id);
    QCOMPARE(report.getContestantId(), id);
    QCOMPARE(report.getOrderNumber(), QString("1"));
    QCOMPARE(report.getCheckSum(), checksum);
    QVERIFY(report.getAnswers().startsWith("1A2"));
    QVERIFY(!report.getAnswers().contains('|'));
    QCOMPARE(report.getResultValid(), valid);
}

void TestBusinessControllerServices::xmlExportsInARow()
{
    // Each export replaces the builder of the one before; the documents
    // outlive their builders.
    const QDomDocument first = m_controller->exportXml("K1");
    const QDomDocument second = m_controller->exportKQSHMPXml("K1");
    const QDomDocument third = m_controller->exportXml("K1");
    QCOMPARE(first.documentElement().tagName(), QString("SAT_HACH"));
    QVERIFY(!second.documentElement().isNull());
    // The sending time is the clock's; two builds may fall in different seconds.
    const auto withoutSendingTime = [](QDomDocument document) {
        QDomElement sent = document.documentElement().firstChildElement("HEADER").firstChildElement("NGAY_GUI");
        if (!sent.isNull() && !sent.firstChild().isNull())
            sent.firstChild().setNodeValue(QString());
        return document.toString();
    };
    QCOMPARE(withoutSendingTime(third.cloneNode().toDocument()),
             withoutSendingTime(first.cloneNode().toDocument()));
}

void TestBusinessControllerServices::updateConfig_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<int>("autoPrint");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<bool>("checkTheory");
    QTest::newRow("written") << true << 0 << 45 << false;
    // The values hold for the run even when the file cannot be written.
    QTest::newRow("file not writable") << false << 1 << 300 << true;
}

void TestBusinessControllerServices::updateConfig()
{
    QFETCH(bool, writable);
    QFETCH(int, autoPrint);
    QFETCH(int, seconds);
    QFETCH(bool, checkTheory);
    const QByteArray before = m_folder->readFile("config/run_mode.csv");
    if (!writable) {
        QVERIFY(QFile::remove(m_folder->filePath("config/run_mode.csv")));
        QVERIFY(QDir(m_folder->path()).mkpath("config/run_mode.csv"));
    }

    m_controller->onUpdateConfig(autoPrint, seconds, checkTheory);

    QCOMPARE(m_controller->getAutoPrint(), autoPrint);
    QCOMPARE(m_controller->getTimeUpdateTheoryResult(), seconds);
    QCOMPARE(m_controller->getCheckPassingTheoryExam(), checkTheory);
    if (writable) {
        QCOMPARE(m_folder->readFile("config/run_mode.csv"),
                 QByteArray("AUTO_PRINT:0\nAUTO_UPDATE_RESULT_OF_FRIEND_DB:45\nCHECK_PASSING_THEORY:0\n"));
    } else {
        QVERIFY(QDir(m_folder->filePath("config/run_mode.csv")).removeRecursively());
        QVERIFY(m_folder->writeFile("config/run_mode.csv", before));
    }
}

ORV_TEST_MAIN_GUI(TestBusinessControllerServices)
#include "tst_businesscontrollerservices.moc"
