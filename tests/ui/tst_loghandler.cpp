// The log handler: the exact line, lines of many threads kept whole, and a
// log file that cannot be opened.

#include "tests/support/stdoutcapture.h"
#include "tests/support/testmain.h"
#include "app/loghandler.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <thread>
#include <vector>

class TestLogHandler : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void body_data();
    void body();
    void lineHasTimeStampAndLevel();
    void threadsWriteWholeLines();
    void unopenableLogStillEchoes();

private:
    static QByteArrayList logLines();
};

namespace {

// The log file is relative to the working folder; each test starts without one.
const QString LOG_FILE = QStringLiteral("log.txt");

} // namespace

void TestLogHandler::init()
{
    QDir().rmdir(LOG_FILE);
    QFile::remove(LOG_FILE);
}

QByteArrayList TestLogHandler::logLines()
{
    QFile file(LOG_FILE);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArrayList lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void TestLogHandler::body_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("function");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");

    const QByteArray none;
    QTest::newRow("no file, no function")
        << int(QtDebugMsg) << none << 12 << none << "hello" << "Debug: hello :12, ";
    QTest::newRow("path cut at the first Velmora")
        << int(QtInfoMsg) << QByteArray("..\\..\\Velmora\\ORVServer\\Velmora\\mainwindow") << 477
        << QByteArray("void __cdecl MainWindow::showMainWindow(void)") << "\"Enter function!\""
        << "Info: \"Enter function!\" Velmora\\ORVServer\\Velmora\\mainwindow:477, "
           "void MainWindow::showMainWindow(void)";
    QTest::newRow("lower-case velmora is no match")
        << int(QtWarningMsg) << QByteArray("src/velmora/x.cpp") << 1 << QByteArray("f") << "m"
        << "Warning: m src/velmora/x.cpp:1, f";
    QTest::newRow("every __cdecl with its blank goes, bare __cdecl stays")
        << int(QtCriticalMsg) << QByteArray("a.cpp") << 3
        << QByteArray("int __cdecl f(void (__cdecl *)(int), __cdecl)") << "m"
        << "Critical: m a.cpp:3, int f(void (*)(int), __cdecl)";
    QTest::newRow("placeholders in the message stay")
        << int(QtDebugMsg) << QByteArray("b.cpp") << 9 << QByteArray("g")
        << "SELECT %1, %2 FROM t WHERE c = '%4%3'"
        << "Debug: SELECT %1, %2 FROM t WHERE c = '%4%3' b.cpp:9, g";
    QTest::newRow("fatal") << int(QtFatalMsg) << QByteArray("c.cpp") << 0 << QByteArray("h")
                           << "Vietnamese: Cảnh báo" << "Fatal: Vietnamese: Cảnh báo c.cpp:0, h";
}

void TestLogHandler::body()
{
    QFETCH(int, type);
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    QFETCH(QByteArray, function);
    QFETCH(QString, message);
    QFETCH(QString, expected);

    const QMessageLogContext context(file.isNull() ? nullptr : file.constData(), line,
                                     function.isNull() ? nullptr : function.constData(), "default");
    QCOMPARE(logLineBody(QtMsgType(type), context, message), expected);
}

void TestLogHandler::lineHasTimeStampAndLevel()
{
    StdoutCapture capture;
    const QMessageLogContext context("ui/x.cpp", 5, "void f()", "default");
    logMessageHandler(QtInfoMsg, context, "Thông tin");
    const QByteArrayList echoed = capture.stop();

    const QByteArrayList lines = logLines();
    QCOMPARE(lines.size(), 1);
    const QRegularExpression shape(
        "^\\[\\d\\d/\\d\\d/\\d{4}:\\d\\d:\\d\\d:\\d\\d\\] - Info: Thông tin ui/x.cpp:5, void f\\(\\)$");
    QVERIFY2(shape.match(QString::fromUtf8(lines.first())).hasMatch(), lines.first().constData());
    QCOMPARE(echoed, QByteArrayList{QString("Thông tin").toUtf8()});
}

void TestLogHandler::threadsWriteWholeLines()
{
    const int threads = 8;
    const int perThread = 500;
    QtMessageHandler previous = qInstallMessageHandler(logMessageHandler);
    StdoutCapture capture;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([t]() {
            for (int i = 0; i < perThread; ++i)
                QMessageLogger("ui/worker.cpp", t, "void worker()").info("thread %d message %d", t, i);
        });
    }
    for (std::thread &worker : workers)
        worker.join();
    const QByteArrayList echoed = capture.stop();
    qInstallMessageHandler(previous);

    const QByteArrayList lines = logLines();
    QCOMPARE(lines.size(), threads * perThread);
    const QRegularExpression shape("^\\[[^\\]]+\\] - Info: thread (\\d) message (\\d+) "
                                   "ui/worker.cpp:(\\d), void worker\\(\\)$");
    QVector<int> counts(threads, 0);
    for (const QByteArray &line : lines) {
        const QRegularExpressionMatch match = shape.match(QString::fromUtf8(line));
        QVERIFY2(match.hasMatch(), line.constData());
        QCOMPARE(match.captured(1), match.captured(3));
        ++counts[match.captured(1).toInt()];
    }
    QCOMPARE(counts, QVector<int>(threads, perThread));
    QCOMPARE(echoed.size(), threads * perThread);
}

void TestLogHandler::unopenableLogStillEchoes()
{
    // A directory in the log file's place: tests run as root, for whom a
    // read-only file would still open.
    QVERIFY(QDir().mkdir(LOG_FILE));
    StdoutCapture capture;
    const QMessageLogContext context("a.cpp", 1, "f", "default");
    logMessageHandler(QtWarningMsg, context, "still echoed");
    QCOMPARE(capture.stop(), QByteArrayList{"still echoed"});
    QVERIFY(QFileInfo(LOG_FILE).isDir());
    QVERIFY(QDir().rmdir(LOG_FILE));
}

ORV_TEST_MAIN_CORE(TestLogHandler)
#include "tst_loghandler.moc"
