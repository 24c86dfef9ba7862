// A terminal sits candidates' tests against the server built in a working
// folder of its own, over loopback, with the real database: admission in
// every state, the start, the result with its checksum, the review, the
// course list, the result sheet, and a terminal that goes away.
// Run mode: automatic printing switched per case, theory check and photo
// import off.

#include "common/checksumkeys.h"
#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"
#include "server/network/iocontroller.h"
#include "tests/endtoend/endtoendfixture.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testmain.h"
#include "tests/support/workfolder.h"
#include "models/studentmodel.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QMessageAuthenticationCode>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include <memory>

using namespace EndToEnd;

namespace {

const int ColumnId = 0;
const int ColumnStart = 6;
const int ColumnScore = 8;
const int ColumnResult = 10;
const int ColumnState = 13;

} // namespace

class TestTerminalSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void contestEnter_data();
    void contestEnter();
    void sitTest_data();
    void sitTest();
    void startOfFinishedEntryIsRefused();
    void resultThatIsNotStored();
    void terminalGone();
    void lostConnectionsReopened();
    void connectionRetriedOnce_data();
    void connectionRetriedOnce();
    void contestNames();

private:
    // Connects a terminal, answers the handshake and returns the id the
    // server gave it.
    bool connectTerminal(TestTerminal &terminal, quint64 *id);
    QVariant entryField(int id, const QString &column);
    QVariant modelField(int id, int column);
    // Checks the stored result of entry `id` against its checksum,
    // recomputed here from the stored fields.
    void verifyStoredChecksum(int id);
    void sitUntilStored(TestTerminal &terminal, int id, int score, int passMark, bool passed,
                        const QByteArray &answers);

    std::unique_ptr<WorkFolder> m_folder;
    QSqlDatabase m_db;
    TestTerminal m_terminal;
    quint64 m_clientId = 0;
    QList<QList<QVariant>> m_printed;
};

bool TestTerminalSession::connectTerminal(TestTerminal &terminal, quint64 *id)
{
    const QSet<quint64> before = clientIds();
    if (!terminal.connectTo("127.0.0.1", m_folder->port()) || !terminal.handshake())
        return false;
    // The challenge is sent once the connection is registered.
    const QSet<quint64> added = clientIds() - before;
    if (added.size() != 1)
        return false;
    *id = *added.begin();
    return true;
}

void TestTerminalSession::initTestCase()
{
    WorkFolder::Options options;
    options.autoPrint = 0;
    m_folder.reset(new WorkFolder("e2esession", options));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    m_db = m_folder->mainAdmin();

    const QString photo = QString::fromLatin1(imageFile(300, 200).toBase64());
    QVERIFY(ProvinceUnitRows::insert(m_db, {{"T1", "Hà Nội"}}, {{"D1", "T1", "Trung tâm Một"}}));
    const QStringList seed = {
        "INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrungTam, TrangThai) VALUES "
        "('C1', 'Khóa một', 'D1', CURDATE(), 'Trung tâm Một', 2), "
        "('C2', 'Khóa hai', 'D1', CURDATE(), 'Trung tâm Một', 2), "
        "('C3', 'Khóa ba', 'D1', CURDATE(), 'Trung tâm Một', 1)",
        "INSERT INTO thisinh (IDThiSinh, HoTen, NgaySinh, SoCMT) VALUES "
        "(1, 'Nguyễn Văn A', '1990-05-17', '0123'), "
        "(2, 'Trần Thị Bình', '1985-01-02', '001234567890'), "
        "(3, 'Lê Văn Cường', '1970-03-04', '0012345678901')",
        QString("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, NoiDungSH, "
                "LoaiBang, AnhChanDung, TraLoiMoPhong, ChiTietThi) VALUES "
                "(11, 'C1', 1, '1', 0, '1', 'B2', '%1', NULL, NULL), "
                "(12, 'C1', 2, '2', 1, '1', 'B2', NULL, NULL, NULL), "
                "(13, 'C1', 2, '3', 2, '1', 'C', NULL, '1A;2B', 1), "
                "(14, 'C1', 1, '4', 0, '7', 'B2', NULL, NULL, NULL), "
                "(15, 'C1', 2, '5', 9, '1', 'B2', NULL, NULL, NULL), "
                "(16, 'C1', 3, '6', NULL, '1', 'B2', NULL, NULL, NULL), "
                "(21, 'C1', 1, '21', 0, '1', 'B2', NULL, NULL, 2), "
                "(22, 'C1', 2, '22', 0, '1', 'B2', NULL, NULL, NULL), "
                "(23, 'C1', 3, '23', 0, '1', 'B2', NULL, NULL, NULL), "
                "(24, 'C1', 3, '24', 0, '1', 'B2', NULL, NULL, NULL), "
                "(25, 'C1', 1, '25', 0, '1', 'B2', NULL, NULL, NULL), "
                "(26, 'C1', 2, '26', 0, '1', 'B2', NULL, NULL, NULL), "
                "(31, 'C3', 1, '1', 0, '1', 'B2', NULL, NULL, NULL)")
            .arg(photo),
    };
    for (const QString &statement : seed)
        QVERIFY2(TestDb::exec(m_db, statement), qPrintable(statement.left(80)));

    BusinessController *controller = BusinessController::getInstance();
    QCOMPARE(controller->isDbConnectionFailed(), 0);
    QVERIFY(controller->loadStudentsOfCourse("C1") != nullptr);
    connect(BusinessControllerClient::getInstance(), &BusinessControllerClient::notifyUpdateReport, this,
            [this](qulonglong client, int id, QString course) {
                m_printed.append({client, id, course});
            });

    QVERIFY2(connectTerminal(m_terminal, &m_clientId), qPrintable(m_terminal.errorString()));
}

void TestTerminalSession::cleanupTestCase()
{
    m_terminal.close();
    // Joins the listener, the handler queue and every connection.
    IOController::destroyInstance();
    m_db = QSqlDatabase();
    m_folder.reset();
}

QVariant TestTerminalSession::entryField(int id, const QString &column)
{
    return scalar(m_db, QString("SELECT %1 FROM khoathi_thisinh WHERE ID = %2").arg(column).arg(id));
}

QVariant TestTerminalSession::modelField(int id, int column)
{
    const QAbstractItemModel *model = BusinessController::getInstance()->getStudentModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->data(model->index(row, ColumnId)).toInt() == id)
            return model->data(model->index(row, column));
    }
    return QVariant();
}

void TestTerminalSession::contestEnter_data()
{
    QTest::addColumn<QByteArray>("course");
    QTest::addColumn<QByteArray>("order");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("rank");
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("soCmt");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("portrait");

    const QByteArray none;
    QTest::newRow("admitted, identity number padded")
        << QByteArray("C1") << QByteArray("1") << 0 << 2 << 11 << QByteArray("0123        ")
        << QString("Nguyễn Văn A") << true;
    QTest::newRow("admitted without state or photo, long number kept")
        << QByteArray("C1") << QByteArray("6") << 0 << 2 << 16 << QByteArray("0012345678901")
        << QString("Lê Văn Cường") << false;
    QTest::newRow("result stored: details for the review")
        << QByteArray("C1") << QByteArray("3") << 2 << 3 << 13 << QByteArray("001234567890")
        << QString("Trần Thị Bình") << false;
    QTest::newRow("in the examination") << QByteArray("C1") << QByteArray("2") << 3 << 0 << 0 << none
                                        << QString() << false;
    QTest::newRow("no such order number") << QByteArray("C1") << QByteArray("99") << 1 << 0 << 0 << none
                                          << QString() << false;
    QTest::newRow("course not running") << QByteArray("C3") << QByteArray("1") << 4 << 0 << 0 << none
                                        << QString() << false;
    QTest::newRow("unknown course") << QByteArray("C9") << QByteArray("1") << 4 << 0 << 0 << none
                                    << QString() << false;
    QTest::newRow("no simulation test, whatever the state")
        << QByteArray("C1") << QByteArray("4") << 6 << 0 << 0 << none << QString() << false;
    QTest::newRow("unexpected state") << QByteArray("C1") << QByteArray("5") << 1 << 0 << 0 << none
                                      << QString() << false;
}

void TestTerminalSession::contestEnter()
{
    QFETCH(QByteArray, course);
    QFETCH(QByteArray, order);
    QFETCH(bool, portrait);

    Messages::EnterResponseFields reply;
    QString error;
    QVERIFY2(enter(m_terminal, course, order, &reply, &error), qPrintable(error));
    QTEST(int(reply.status), "status");
    QTEST(int(reply.rankIndex), "rank");
    QTEST(int(reply.entryId), "id");
    QTEST(reply.soCmt, "soCmt");
    QTEST(QString::fromUtf8(reply.name), "name");
    if (!portrait) {
        QVERIFY(reply.portrait.isEmpty());
        return;
    }
    const QByteArray jpeg = QByteArray::fromBase64(reply.portrait);
    QVERIFY(jpeg.startsWith("\xff\xd8"));
    // 300 × 200 fitted into 114 × 152.
    QCOMPARE(QImage::fromData(jpeg, "JPG").size(), QSize(114, 76));
    // Admission alone changes nothing.
    QCOMPARE(entryField(reply.entryId, "TrangThai").toInt(), 0);
}

void TestTerminalSession::verifyStoredChecksum(int id)
{
    QSqlQuery q(m_db);
    QVERIFY(q.exec(QString("SELECT t.SoCMT, t.HoTen, t.NgaySinh, e.SoBaoDanh, e.ThoiGianBatDauThi, "
                           "e.ThoiGianKetThucThi, e.KetQuaMoPhong, e.TraLoiMoPhong, e.DiemMoPhong, "
                           "e.ChiTietThi, e.CheckSumKQMP FROM khoathi_thisinh e JOIN thisinh t ON "
                           "t.IDThiSinh = e.IDThiSinh WHERE e.ID = %1")
                       .arg(id)));
    QVERIFY(q.next());
    // Times enter the message by their date only, followed by the letters
    // of the time pattern.
    const auto day = [](const QVariant &value) {
        return value.toDateTime().date().toString("yyyy-MM-dd") + " hh:mm:ss";
    };
    const QString message = q.value(0).toString() + q.value(1).toString()
                            + q.value(2).toDate().toString("yyyy-MM-dd") + q.value(3).toString()
                            + day(q.value(4)) + day(q.value(5)) + q.value(6).toString()
                            + q.value(7).toString() + QString::number(q.value(8).toInt())
                            + QString::number(q.value(9).toInt());
    const QString stored = q.value(10).toString();
    QCOMPARE(stored.size(), 96);
    const QByteArray salt = stored.left(32).toLatin1();
    QVERIFY(QByteArray::fromHex(salt).toHex() == salt);
    const QByteArray code = QMessageAuthenticationCode::hash(message.toUtf8(),
                                                             salt + RESULT_CHECKSUM_KEY_SUFFIX,
                                                             QCryptographicHash::Sha256)
                                .toHex();
    QCOMPARE(stored.mid(32), QString::fromLatin1(code));
}

void TestTerminalSession::sitUntilStored(TestTerminal &terminal, int id, int score, int passMark,
                                         bool passed, const QByteArray &answers)
{
    QVERIFY(terminal.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(false, id, false)));
    QTRY_COMPARE(entryField(id, "TrangThai").toInt(), 1);
    QVERIFY(terminal.sendEncrypted(Messages::EncryptedContestResult,
                                   Messages::contestResult(score, passMark, passed, id, "C1", answers)));
    // The checksum is the last thing written.
    QTRY_VERIFY(!entryField(id, "CheckSumKQMP").isNull());
}

void TestTerminalSession::sitTest_data()
{
    QTest::addColumn<int>("autoPrint");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("score");
    QTest::addColumn<bool>("passed");
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<int>("attempts");
    QTest::addColumn<QString>("label");

    QTest::newRow("passed, automatic printing off")
        << 0 << 21 << 42 << true << QByteArray("1A;2B;3C") << 3 << QString("Đạt");
    QTest::newRow("failed, automatic printing on")
        << 1 << 22 << 20 << false << QByteArray("1C;2C;3C") << 1 << QString("Không đạt");
}

void TestTerminalSession::sitTest()
{
    QFETCH(int, autoPrint);
    QFETCH(int, id);
    QFETCH(int, score);
    QFETCH(bool, passed);
    QFETCH(QByteArray, answers);

    BusinessController::getInstance()->onUpdateConfig(autoPrint, 120, false);
    m_printed.clear();

    Messages::EnterResponseFields reply;
    QString error;
    QVERIFY2(enter(m_terminal, "C1", QByteArray::number(id), &reply, &error), qPrintable(error));
    QCOMPARE(int(reply.status), 0);

    // The start: in the database, then in the operator's table.
    QVERIFY(m_terminal.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(true, id, false)));
    QTRY_COMPARE(entryField(id, "TrangThai").toInt(), 1);
    QTRY_COMPARE(modelField(id, ColumnState).toInt(), 1);
    QCOMPARE(modelField(id, ColumnStart).toString(),
             entryField(id, "ThoiGianBatDauThi").toDateTime().toString("yyyy-MM-dd hh:mm:ss"));

    // The result.
    QVERIFY(m_terminal.sendEncrypted(Messages::EncryptedContestResult,
                                     Messages::contestResult(score, 35, passed, id, "C1", answers)));
    QTRY_VERIFY(!entryField(id, "CheckSumKQMP").isNull());
    QCOMPARE(entryField(id, "TrangThai").toInt(), 2);
    QCOMPARE(entryField(id, "DiemMoPhong").toInt(), score);
    QCOMPARE(entryField(id, "DiemChuanMoPhong").toInt(), 35);
    QCOMPARE(entryField(id, "KetQuaMoPhong").toString(), QString(passed ? "DAT" : "KHONG DAT"));
    QCOMPARE(entryField(id, "TraLoiMoPhong").toByteArray(), answers);
    QTEST(entryField(id, "ChiTietThi").toInt(), "attempts");
    QVERIFY(entryField(id, "ThoiGianKetThucThi").toDateTime().isValid());
    verifyStoredChecksum(id);
    QTRY_COMPARE(modelField(id, ColumnState).toInt(), 2);
    QCOMPARE(modelField(id, ColumnScore).toInt(), score);
    QTEST(modelField(id, ColumnResult).toString(), "label");

    // Once the terminal's next answer is in, every signal of the result has
    // been queued.
    Messages::ContestNameFields names;
    QVERIFY2(requestContestNames(m_terminal, &names, &error), qPrintable(error));
    QCoreApplication::processEvents();
    if (autoPrint == 0) {
        QVERIFY(m_printed.isEmpty());
    } else {
        QCOMPARE(m_printed.size(), 1);
        QCOMPARE(m_printed.first(), (QList<QVariant>{m_clientId, id, QString("C1")}));
    }

    // A second result for the same entry is refused and changes nothing.
    const QString checksum = entryField(id, "CheckSumKQMP").toString();
    const QVariant end = entryField(id, "ThoiGianKetThucThi");
    QVERIFY(m_terminal.sendEncrypted(Messages::EncryptedContestResult,
                                     Messages::contestResult(1, 35, !passed, id, "C1", "9Z")));
    QVERIFY2(requestContestNames(m_terminal, &names, &error), qPrintable(error));
    QCoreApplication::processEvents();
    QCOMPARE(entryField(id, "CheckSumKQMP").toString(), checksum);
    QCOMPARE(entryField(id, "DiemMoPhong").toInt(), score);
    QCOMPARE(entryField(id, "TraLoiMoPhong").toByteArray(), answers);
    QCOMPARE(entryField(id, "ThoiGianKetThucThi"), end);
    QTEST(entryField(id, "ChiTietThi").toInt(), "attempts");
    QCOMPARE(modelField(id, ColumnScore).toInt(), score);
    QCOMPARE(m_printed.size(), autoPrint == 0 ? 0 : 1);

    // The review.
    QVERIFY(m_terminal.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(false, id, true)));
    QByteArray payload;
    QVERIFY2(expectFrame(m_terminal, Messages::Review, &payload, &error), qPrintable(error));
    QByteArray reviewed;
    QVERIFY(Messages::parseReview(payload, &reviewed));
    QCOMPARE(reviewed, answers);

    // The result sheet, read through the terminal's connection.
    std::unique_ptr<ReportInfo> sheet(
        BusinessControllerClient::getInstance()->getReportInfo(m_clientId, id, "C1"));
    QVERIFY(sheet);
    QCOMPARE(sheet->getOrderNumber(), QString::number(id));
    QCOMPARE(sheet->getScore(), score);
    QVERIFY(sheet->getResultValid());
}

void TestTerminalSession::startOfFinishedEntryIsRefused()
{
    // Entry 13 holds a result: a start must not put it back into the
    // examination, neither in the database nor in the operator's table.
    QVERIFY(m_terminal.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(false, 13, false)));
    Messages::ContestNameFields names;
    QString error;
    QVERIFY2(requestContestNames(m_terminal, &names, &error), qPrintable(error));
    QCoreApplication::processEvents();
    QCOMPARE(entryField(13, "TrangThai").toInt(), 2);
    QVERIFY(entryField(13, "ThoiGianBatDauThi").isNull());
    QCOMPARE(modelField(13, ColumnState).toInt(), 2);
}

void TestTerminalSession::resultThatIsNotStored()
{
    // A result naming another course than the entry's finds no row to
    // update: nothing may be sealed with a checksum, shown or printed.
    BusinessController::getInstance()->onUpdateConfig(1, 120, false);
    m_printed.clear();
    QVERIFY(m_terminal.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(false, 24, false)));
    QTRY_COMPARE(modelField(24, ColumnState).toInt(), 1);
    QVERIFY(m_terminal.sendEncrypted(Messages::EncryptedContestResult,
                                     Messages::contestResult(42, 35, true, 24, "C2", "1A")));
    Messages::ContestNameFields names;
    QString error;
    QVERIFY2(requestContestNames(m_terminal, &names, &error), qPrintable(error));
    QCoreApplication::processEvents();
    QCOMPARE(entryField(24, "TrangThai").toInt(), 1);
    QVERIFY(entryField(24, "CheckSumKQMP").isNull());
    QVERIFY(entryField(24, "DiemMoPhong").isNull());
    QCOMPARE(modelField(24, ColumnState).toInt(), 1);
    QVERIFY(m_printed.isEmpty());
}

void TestTerminalSession::terminalGone()
{
    BusinessController::getInstance()->onUpdateConfig(0, 120, false);
    const int sessions = sessionsOn(m_db, m_folder->mainDbName());
    QVERIFY(sessions > 0);

    TestTerminal terminal;
    quint64 id = 0;
    QVERIFY2(connectTerminal(terminal, &id), qPrintable(terminal.errorString()));
    // Connected and greeted, it holds no session until it asks for something.
    QCOMPARE(BusinessControllerClient::getInstance()->findConnection(id), nullptr);
    QCOMPARE(sessionsOn(m_db, m_folder->mainDbName()), sessions);
    sitUntilStored(terminal, 23, 40, 35, true, "1B;2B");
    QVERIFY(BusinessControllerClient::getInstance()->findConnection(id) != nullptr);
    QCOMPARE(sessionsOn(m_db, m_folder->mainDbName()), sessions + 1);

    terminal.close();
    QTRY_VERIFY(!clientIds().contains(id));
    QCOMPARE(BusinessControllerClient::getInstance()->findConnection(id), nullptr);
    QTRY_COMPARE(sessionsOn(m_db, m_folder->mainDbName()), sessions);

    // The sheet of its last result still prints, from the operator's
    // connection; an entry of another course is not taken for it.
    std::unique_ptr<ReportInfo> sheet(BusinessControllerClient::getInstance()->getReportInfo(id, 23, "C1"));
    QVERIFY(sheet);
    QCOMPARE(sheet->getContestantId(), 23);
    QCOMPARE(sheet->getScore(), 40);
    QCOMPARE(sheet->getProvinceName(), QString("Hà Nội"));
    QVERIFY(sheet->getResultValid());
    sheet.reset(BusinessControllerClient::getInstance()->getReportInfo(id, 31, "C1"));
    QVERIFY(!sheet);
}

// The database server ends every session of the server (a restart, an
// administrator, wait_timeout) between two steps of a terminal: each step
// still answers and stores, on the terminal's connection reopened.
void TestTerminalSession::lostConnectionsReopened()
{
    BusinessController::getInstance()->onUpdateConfig(0, 120, false);
    TestTerminal terminal;
    quint64 id = 0;
    QVERIFY2(connectTerminal(terminal, &id), qPrintable(terminal.errorString()));
    Messages::ContestNameFields names;
    QString error;
    QVERIFY2(requestContestNames(terminal, &names, &error), qPrintable(error));
    QVERIFY(BusinessControllerClient::getInstance()->findConnection(id) != nullptr);

    QVERIFY(TestDb::killSessions(m_db, m_folder->mainDbName()) > 0);
    Messages::EnterResponseFields reply;
    QVERIFY2(enter(terminal, "C1", "25", &reply, &error), qPrintable(error));
    QCOMPARE(int(reply.status), 0);
    QCOMPARE(int(reply.entryId), 25);

    QVERIFY(TestDb::killSessions(m_db, m_folder->mainDbName()) > 0);
    QVERIFY(terminal.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(false, 25, false)));
    QTRY_COMPARE(entryField(25, "TrangThai").toInt(), 1);

    QVERIFY(TestDb::killSessions(m_db, m_folder->mainDbName()) > 0);
    QVERIFY(terminal.sendEncrypted(Messages::EncryptedContestResult,
                                   Messages::contestResult(38, 35, true, 25, "C1", "1A;2A")));
    QTRY_VERIFY(!entryField(25, "CheckSumKQMP").isNull());
    QCOMPARE(entryField(25, "DiemMoPhong").toInt(), 38);
    QCOMPARE(entryField(25, "TrangThai").toInt(), 2);
    verifyStoredChecksum(25);

    // A terminal that connects now is served as well.
    TestTerminal next;
    quint64 nextId = 0;
    QVERIFY2(connectTerminal(next, &nextId), qPrintable(next.errorString()));
    QVERIFY2(requestContestNames(next, &names, &error), qPrintable(error));
    QVERIFY(BusinessControllerClient::getInstance()->findConnection(nextId) != nullptr);
    QVERIFY(TestDb::killSessions(m_db, m_folder->mainDbName()) > 0);
    QVERIFY2(enter(next, "C1", "26", &reply, &error), qPrintable(error));
    QCOMPARE(int(reply.status), 0);
    QCOMPARE(int(reply.entryId), 26);
}

void TestTerminalSession::connectionRetriedOnce_data()
{
    // The requests answered before the database is found again, and what
    // each request answers.
    QTest::addColumn<int>("failedRequests");
    QTest::addColumn<QList<int>>("statuses");
    QTest::newRow("found at the first request") << 0 << QList<int>{0};
    QTest::newRow("found again at the second") << 1 << QList<int>{1, 0};
    QTest::newRow("found only after the second") << 2 << QList<int>{1, 1, 1};
}

void TestTerminalSession::connectionRetriedOnce()
{
    QFETCH(int, failedRequests);
    QFETCH(QList<int>, statuses);
    // Terminals open their connection from the settings file, so a
    // password the server refuses makes the opening fail. (A server that
    // cannot be reached is an outage, which uses up no opening.)
    const QString config = "config/connection_mysql.csv";
    const QByteArray settings = m_folder->readFile(config);
    QByteArray refused = settings;
    refused.replace("MYSQL_PASS:", "MYSQL_PASS:not-");
    QVERIFY(refused != settings);

    TestTerminal terminal;
    quint64 id = 0;
    QVERIFY2(connectTerminal(terminal, &id), qPrintable(terminal.errorString()));
    QCOMPARE(BusinessControllerClient::getInstance()->findConnection(id), nullptr);

    for (int request = 0; request < statuses.size(); ++request) {
        QVERIFY(m_folder->writeFile(config, request < failedRequests ? refused : settings));
        Messages::EnterResponseFields reply;
        QString error;
        const bool answered = enter(terminal, "C1", "1", &reply, &error);
        QVERIFY(m_folder->writeFile(config, settings));
        QVERIFY2(answered, qPrintable(error));
        QCOMPARE(int(reply.status), statuses.at(request));
    }
    QCOMPARE(BusinessControllerClient::getInstance()->findConnection(id) != nullptr, failedRequests < 2);
}

void TestTerminalSession::contestNames()
{
    Messages::ContestNameFields names;
    QString error;
    QVERIFY2(requestContestNames(m_terminal, &names, &error), qPrintable(error));
    QVERIFY(names.reply);
    // Codes and names pair up by position.
    const QList<QByteArray> codes = names.codes.split(';');
    const QList<QByteArray> titles = names.names.split(';');
    QCOMPARE(codes.size(), titles.size());
    QMap<QString, QString> running;
    for (int i = 0; i < codes.size(); ++i)
        running.insert(QString::fromUtf8(codes[i]), QString::fromUtf8(titles[i]));
    QCOMPARE(running, (QMap<QString, QString>{{"C1", "Khóa một"}, {"C2", "Khóa hai"}}));

    QVERIFY(TestDb::exec(m_db, "UPDATE khoathi SET TrangThai = 3 WHERE TrangThai = 2"));
    QVERIFY2(requestContestNames(m_terminal, &names, &error), qPrintable(error));
    QVERIFY(names.reply);
    QVERIFY(names.codes.isEmpty());
    QVERIFY(names.names.isEmpty());
}

ORV_TEST_MAIN_GUI(TestTerminalSession)
#include "tst_terminalsession.moc"
