// A room of terminals ending a session at once: N terminals connect
// together, and each answers the handshake, has its candidate admitted,
// starts and sends the result. Measures the time from the first connect to
// the last result stored (against the designed pace of one handler per
// 16 ms, four per terminal), counts the results the database does not hold
// and those whose checksum does not verify, and reports the server's peak
// resident memory. The server runs as a
// process of its own in a fresh working folder; the private database comes
// from ORV_DB_HOST, ORV_DB_PORT, ORV_DB_USER and ORV_DB_PASS.
//
//   terminal_load [-n N]      N from 1 to 300, 100 by default

#include "bench/benchroom.h"
#include "connection/mysqlconnection.h"
#include "server/business/resultchecksum.h"
#include "tests/support/testdb.h"
#include "tests/support/testterminal.h"
#include "tests/support/testterminalmessages.h"
#include "tests/support/workfolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextCodec>
#include <QThread>
#include <QVariant>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Messages = TestTerminalMessages;
using BenchRoom::scoreOf;

const int DEFAULT_TERMINALS = 100;
const int MAX_TERMINALS = 300;
const int HANDLERS_PER_TERMINAL = 4;
const int HANDLER_CYCLE_MS = 16;
// Terminals late in the queue wait for everyone ahead of them.
const int WAIT_MS = 120000;

// One terminal's part of the session; empty on success, else what failed.
QString sitTest(TestTerminal &terminal, quint16 port, int order)
{
    if (!terminal.connectTo("127.0.0.1", port, WAIT_MS))
        return "connect: " + terminal.errorString();
    if (!terminal.handshake(WAIT_MS))
        return "handshake: " + terminal.errorString();
    if (!terminal.sendEncrypted(Messages::EncryptedContestEnter,
                                Messages::contestEnter("C1", QByteArray::number(order))))
        return "enter: " + terminal.errorString();
    TestTerminalFrame frame;
    if (!terminal.readFrame(&frame, WAIT_MS))
        return "admission: " + terminal.errorString();
    QByteArray plain;
    Messages::EnterResponseFields reply;
    if (frame.type != Messages::EncryptedEnterResponse || !terminal.decrypt(frame, &plain)
        || !Messages::parseEnterResponse(plain, &reply))
        return QString("admission: frame of type %1").arg(frame.type);
    if (reply.status != 0 || reply.entryId != order)
        return QString("admission: status %1 for entry %2").arg(reply.status).arg(reply.entryId);
    if (!terminal.sendEncrypted(Messages::EncryptedInfoConfirm, Messages::infoConfirm(false, order, false)))
        return "start: " + terminal.errorString();
    if (!terminal.sendEncrypted(Messages::EncryptedContestResult,
                                Messages::contestResult(scoreOf(order), 35, scoreOf(order) >= 35, order,
                                                        "C1", "1A;2B;3C;4D")))
        return "result: " + terminal.errorString();
    return QString();
}

// Results held as sent: state 2, the score and a checksum.
int storedResults(QSqlDatabase db)
{
    QSqlQuery q(db);
    if (!q.exec("SELECT COUNT(*) FROM khoathi_thisinh WHERE IDKhoaHoc = 'C1' AND TrangThai = 2 "
                "AND DiemMoPhong = 30 + MOD(ID, 20) AND CHAR_LENGTH(CheckSumKQMP) = 96")
        || !q.next())
        return -1;
    return q.value(0).toInt();
}

// The stored results whose checksum verifies, read as a result sheet reads
// them.
int verifiedResults(QSqlDatabase db, const QString &dbName, int terminals)
{
    MySqlConnection connection;
    const TestDb::Server server = TestDb::server();
    if (connection.initDatabase("verify", server.host, server.port, dbName, server.user,
                                server.password)
            .isValid())
        return -1;
    QSqlQuery q(db);
    if (!q.exec("SELECT ID, CheckSumKQMP FROM khoathi_thisinh WHERE IDKhoaHoc = 'C1'"))
        return -1;
    int verified = 0;
    const QDateTime examDate(QDate::currentDate(), QTime(0, 0));
    while (q.next() && verified <= terminals) {
        if (ResultChecksum::verify(q.value(1).toString(), connection.getContestantResultInfo(q.value(0).toInt()),
                                   examDate))
            ++verified;
    }
    return verified;
}

} // namespace

int main(int argc, char *argv[])
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("N terminals end a session at once against the exam server.");
    parser.addHelpOption();
    parser.addOption({{"n", "terminals"}, "Number of terminals (1 to 300).", "N",
                      QString::number(DEFAULT_TERMINALS)});
    parser.process(app);
    bool isNumber = false;
    const int terminals = parser.value("n").toInt(&isNumber);
    if (!isNumber || terminals < 1 || terminals > MAX_TERMINALS) {
        std::fprintf(stderr, "terminal_load: N must be 1 to %d\n", MAX_TERMINALS);
        return 2;
    }
    if (TestDb::server().port == 0) {
        std::fprintf(stderr, "terminal_load: set ORV_DB_HOST, ORV_DB_PORT, ORV_DB_USER, ORV_DB_PASS\n");
        return 2;
    }

    WorkFolder folder("bench");
    if (!folder.isValid()) {
        std::fprintf(stderr, "terminal_load: %s\n", qPrintable(folder.error()));
        return 1;
    }
    QSqlDatabase db = folder.mainAdmin();
    QString error;
    if (!BenchRoom::seed(db, "Khóa thử tải", terminals, &error)) {
        std::fprintf(stderr, "terminal_load: seeding failed: %s\n", qPrintable(error));
        return 1;
    }

    QProcess server;
    server.setWorkingDirectory(folder.path());
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The server's log is not part of the measure.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_LOGGING_RULES", "*.debug=false;*.info=false");
    server.setProcessEnvironment(environment);
    server.start(ORV_HEADLESS_SERVER, QStringList());
    QByteArray serverOutput;
    while (!serverOutput.contains('\n') && server.waitForReadyRead(30000))
        serverOutput += server.readAllStandardOutput();
    if (!serverOutput.startsWith("ready")) {
        std::fprintf(stderr, "terminal_load: the server did not start: %s\n", serverOutput.constData());
        server.kill();
        server.waitForFinished();
        return 1;
    }
    serverOutput.clear();

    std::vector<std::unique_ptr<TestTerminal>> room;
    std::vector<QString> failures(static_cast<size_t>(terminals));
    std::vector<std::thread> threads;
    BenchRoom::Gate gate;
    for (int i = 0; i < terminals; ++i) {
        room.emplace_back(new TestTerminal);
        threads.emplace_back([&, i] {
            gate.wait();
            failures[size_t(i)] = sitTest(*room[size_t(i)], folder.port(), i + 1);
        });
    }
    QElapsedTimer clock;
    clock.start();
    gate.open();

    const qint64 limitMs = qint64(terminals) * HANDLERS_PER_TERMINAL * HANDLER_CYCLE_MS;
    qint64 wallMs = -1;
    int stored = 0;
    while (clock.elapsed() < 3 * limitMs + 30000) {
        stored = storedResults(db);
        if (stored == terminals) {
            wallMs = clock.elapsed();
            break;
        }
        QThread::msleep(5);
    }
    for (std::thread &thread : threads)
        thread.join();
    for (auto &terminal : room)
        terminal->close();
    stored = storedResults(db);

    server.write("quit\n");
    server.closeWriteChannel();
    if (!server.waitForFinished(60000))
        server.kill();
    serverOutput += server.readAllStandardOutput();
    qint64 peakKb = -1;
    for (const QByteArray &line : serverOutput.split('\n')) {
        if (line.startsWith("peak-rss-kb "))
            peakKb = line.mid(12).trimmed().toLongLong();
    }

    int failed = 0;
    for (int i = 0; i < terminals; ++i) {
        if (failures[size_t(i)].isEmpty())
            continue;
        if (++failed <= 5)
            std::fprintf(stderr, "terminal %d: %s\n", i + 1, qPrintable(failures[size_t(i)]));
    }

    std::printf("terminals: %d (each: handshake, admission, start, result)\n", terminals);
    if (wallMs >= 0)
        std::printf("wall time, first connect to last stored result: %lld ms\n", static_cast<long long>(wallMs));
    else
        std::printf("wall time, first connect to last stored result: not reached\n");
    std::printf("designed limit (%d x %d handlers x %d ms): %lld ms, ratio %.2f\n", terminals,
                HANDLERS_PER_TERMINAL, HANDLER_CYCLE_MS, static_cast<long long>(limitMs),
                wallMs >= 0 ? double(wallMs) / double(limitMs) : 0.0);
    std::printf("results lost: %d of %d (checked in the database)\n", terminals - stored, terminals);
    const int verified = verifiedResults(db, folder.mainDbName(), terminals);
    std::printf("checksums that verify: %d of %d\n", verified, terminals);
    std::printf("server peak resident memory: %.1f MiB\n", peakKb >= 0 ? double(peakKb) / 1024.0 : -1.0);
    if (failed > 0)
        std::printf("terminals that failed: %d\n", failed);
    return stored == terminals && verified == terminals && failed == 0 ? 0 : 1;
}
