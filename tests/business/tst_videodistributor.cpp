// Video files sent to terminals over loopback, read back by test terminals
// of their own framing: the exact frames of each file, the reassembled bytes,
// and the runs that send nothing.

#include "platform/steadyclock.h"
#include "platform/thread.h"
#include "server/business/videodistributor.h"
#include "server/network/clientsocket.h"
#include "server/network/iocontroller.h"
#include "server/protocol/reviewmessage.h"

#include "tests/support/testmain.h"
#include "tests/support/testterminal.h"
#include "tests/support/workfolder.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <atomic>
#include <memory>

namespace {

using FrameList = QList<QPair<int, int>>;

QStringList s_messages;
QtMessageHandler s_previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    s_messages << text;
    if (s_previousHandler)
        s_previousHandler(type, context, text);
}

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

} // namespace

class TestVideoDistributor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void distribute_data();
    void distribute();
    void noTerminalOpensNoFile();
    void terminalGoneDoesNotStopTheRun();
    void slowTerminalGetsEveryByte();
    void stalledTerminalIsLeftOut();

private:
    // A file of `size` random bytes below the temporary folder; `size` -1
    // names a file that does not exist.
    QString videoFile(const QString &name, int size);
    // Reads one whole file off the terminal: start, chunks, end. The chunk
    // lengths go to `chunks`, the bytes to `data`.
    void receiveFile(TestTerminal &terminal, const QString &path, QList<int> *chunks,
                     QByteArray *data);

    QTemporaryDir m_dir;
    QHash<QString, QByteArray> m_contents;
    std::unique_ptr<IOController> m_controller;
    quint16 m_port = 0;
    // One terminal answers the handshake, the other never does: plain
    // messages reach both.
    TestTerminal m_answering;
    TestTerminal m_silent;
};

void TestVideoDistributor::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_controller = std::make_unique<IOController>();
    m_port = WorkFolder::freePort();
    QVERIFY(m_controller->createListenThread(QString::number(m_port)));
    QTRY_COMPARE(m_controller->getStatus(), IOController::STATUS_LISTENING);

    QVERIFY(m_answering.connectTo("127.0.0.1", m_port));
    QVERIFY2(m_answering.handshake(), qPrintable(m_answering.errorString()));
    QVERIFY(m_silent.connectTo("127.0.0.1", m_port));
    QVERIFY2(m_silent.readChallenge(), qPrintable(m_silent.errorString()));
    QTRY_COMPARE(m_controller->getClients().size(), size_t(2));
}

void TestVideoDistributor::cleanupTestCase()
{
    m_answering.close();
    m_silent.close();
    m_controller.reset();
}

QString TestVideoDistributor::videoFile(const QString &name, int size)
{
    const QString path = m_dir.filePath(name);
    if (size < 0)
        return path;
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(quint32(size) + 1);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != size)
        return QString();
    m_contents.insert(path, bytes);
    return path;
}

void TestVideoDistributor::receiveFile(TestTerminal &terminal, const QString &path,
                                       QList<int> *chunks, QByteArray *data)
{
    TestTerminalFrame frame;
    QVERIFY2(terminal.readFrame(&frame), qPrintable(terminal.errorString()));
    QCOMPARE(frame.type, 1);
    QCOMPARE(frame.payload, path.toUtf8());
    for (;;) {
        QVERIFY2(terminal.readFrame(&frame), qPrintable(terminal.errorString()));
        if (frame.type != 2)
            break;
        chunks->append(frame.length() - 3);
        data->append(frame.payload);
    }
    QCOMPARE(frame.type, 3);
    QCOMPARE(frame.length(), 3);
}

void TestVideoDistributor::distribute_data()
{
    // Files of the run in order (a size, or "missing"), the chunk lengths
    // each terminal must receive for each file ("-": nothing at all, not
    // even a start), and the info lines each terminal's turn writes.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("chunks");
    QTest::addColumn<QStringList>("infoLines");

    QTest::newRow("two chunks and a tail")
        << QStringList{"25000"} << QStringList{"10240,10240,4520"} << QStringList{"size: 4520"};
    QTest::newRow("exactly two chunks") << QStringList{"20480"} << QStringList{"10240,10240"}
                                        << QStringList();
    QTest::newRow("short file") << QStringList{"1"} << QStringList{"1"} << QStringList{"size: 1"};
    QTest::newRow("empty file") << QStringList{"0"} << QStringList{""} << QStringList();
    QTest::newRow("missing file") << QStringList{"missing"} << QStringList{"-"} << QStringList();
    QTest::newRow("several files") << QStringList{"25000", "missing", "20480"}
                                   << QStringList{"10240,10240,4520", "-", "10240,10240"}
                                   << QStringList{"size: 4520"};
    QTest::newRow("empty list") << QStringList() << QStringList() << QStringList();
}

void TestVideoDistributor::distribute()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, chunks);
    QFETCH(QStringList, infoLines);

    QStringList paths;
    QStringList missing;
    for (int i = 0; i < files.size(); ++i) {
        const int size = files[i] == "missing" ? -1 : files[i].toInt();
        paths << videoFile(QString("chapter%1_%2.mp4").arg(QTest::currentDataTag()).arg(i), size);
        QVERIFY(!paths.last().isEmpty());
        if (size < 0) {
            missing << paths.last();
            // Once for the run, naming the file.
            QTest::ignoreMessage(QtInfoMsg,
                                 QRegularExpression("^Error open mp4 file "
                                                    + QRegularExpression::escape(paths.last())
                                                    + " \\(.+\\); sent to no terminal$"));
        }
    }
    // Once per terminal.
    for (const QString &line : infoLines) {
        QTest::ignoreMessage(QtInfoMsg, qPrintable(line));
        QTest::ignoreMessage(QtInfoMsg, qPrintable(line));
    }

    const VideoDistributor::Outcome outcome = VideoDistributor(m_controller.get()).distribute(paths);
    QCOMPARE(outcome.filesSent, files.size() - missing.size());
    QCOMPARE(outcome.terminalsServed, 2);
    QCOMPARE(outcome.filesNotSent, missing);
    QCOMPARE(outcome.terminalsLeftOut, QStringList());
    QVERIFY(!outcome.stopped);

    for (TestTerminal *terminal : {&m_answering, &m_silent}) {
        for (int i = 0; i < paths.size(); ++i) {
            if (chunks[i] == "-")
                continue;
            QList<int> received;
            QByteArray data;
            receiveFile(*terminal, paths[i], &received, &data);
            if (QTest::currentTestFailed())
                return;
            QStringList lengths;
            for (int length : received)
                lengths << QString::number(length);
            QCOMPARE(lengths.join(','), chunks[i]);
            QCOMPARE(sha256(data), sha256(m_contents.value(paths[i])));
        }
        QVERIFY(terminal->staysQuiet(50));
    }
}

void TestVideoDistributor::noTerminalOpensNoFile()
{
    IOController idle;
    s_messages.clear();
    s_previousHandler = qInstallMessageHandler(recordMessage);
    VideoDistributor(&idle).distribute({videoFile("chapter_unsent.mp4", -1)});
    qInstallMessageHandler(s_previousHandler);
    QVERIFY2(s_messages.filter("Error open mp4 file").isEmpty(), qPrintable(s_messages.join('\n')));
}

void TestVideoDistributor::terminalGoneDoesNotStopTheRun()
{
    TestTerminal leaving;
    QVERIFY(leaving.connectTo("127.0.0.1", m_port));
    QVERIFY(leaving.readChallenge());
    QTRY_COMPARE(m_controller->getClients().size(), size_t(3));
    // Switched off: whether the server has noticed yet or not, the others
    // get their file and the run returns.
    leaving.abort();

    const QString path = videoFile("chapter_after_gone.mp4", 3 * VideoDistributor::CHUNK_SIZE);
    const VideoDistributor::Outcome outcome = VideoDistributor(m_controller.get()).distribute({path});
    QCOMPARE(outcome.filesSent, 1);

    for (TestTerminal *terminal : {&m_answering, &m_silent}) {
        QList<int> received;
        QByteArray data;
        receiveFile(*terminal, path, &received, &data);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(received.size(), 3);
        QCOMPARE(sha256(data), sha256(m_contents.value(path)));
    }
    QTRY_COMPARE(m_controller->getClients().size(), size_t(2));
}

void TestVideoDistributor::slowTerminalGetsEveryByte()
{
    // More than the connection's cap plus what the kernel buffers hold, to a
    // terminal that reads nothing until the cap is reached: the distributor
    // must wait for it instead of overrunning the cap, which ends the
    // connection. A reply sent to the terminal meanwhile must fit too.
    const int size = 1400 * VideoDistributor::CHUNK_SIZE + 1234;
    const QString path = videoFile("chapter_slow.mp4", size);
    QVERIFY(!path.isEmpty());

    IOController controller;
    const quint16 port = WorkFolder::freePort();
    QVERIFY(controller.createListenThread(QString::number(port)));
    QTRY_COMPARE(controller.getStatus(), IOController::STATUS_LISTENING);
    TestTerminal slow;
    slow.setReceiveBufferSize(4096);
    QVERIFY(slow.connectTo("127.0.0.1", port));
    QVERIFY(slow.handshake());
    QTRY_COMPARE(controller.getClients().size(), size_t(1));
    const quint64 clientId = controller.getClients().begin()->first;
    const std::shared_ptr<ClientSocket> connection = controller.getClients().begin()->second;
    ReviewMessage reply;
    reply.setAnswers(QByteArray(60000, 'a'));
    std::atomic_bool replyQueued{false};
    int replies = 0;

    std::atomic_bool capReached{false};
    std::atomic_bool distributed{false};
    QByteArray data;
    int chunks = 0;
    QString error;
    Thread reader;
    QVERIFY(reader.start([&] {
        const quint64 nearCap = ClientSocket::MAX_PENDING_SEND_BYTES
                                - VideoDistributor::REPLY_RESERVE_BYTES
                                - 2 * (VideoDistributor::CHUNK_SIZE + 3);
        while (!distributed && !capReached) {
            if (connection->pendingSendBytes() > nearCap)
                capReached = true;
            else
                reader.waitForStop(1);
        }
        if (capReached)
            replyQueued = controller.sendToClient(clientId, &reply);
        TestTerminalFrame frame;
        while (slow.readFrame(&frame, 10000) && frame.type != 3) {
            if (frame.type == 2) {
                data.append(frame.payload);
                ++chunks;
            } else if (frame.type == 9) {
                ++replies;
            }
        }
        if (frame.type != 3)
            error = slow.errorString();
    }));

    QTest::ignoreMessage(QtInfoMsg, "size: 1234");
    VideoDistributor(&controller).distribute({path});
    distributed = true;
    reader.join();

    QVERIFY(capReached);
    QVERIFY(replyQueued);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(replies, 1);
    QCOMPARE(chunks, size / VideoDistributor::CHUNK_SIZE + 1);
    QCOMPARE(sha256(data), sha256(m_contents.value(path)));
    QVERIFY(!connection->isEnding());
}

void TestVideoDistributor::stalledTerminalIsLeftOut()
{
    // A terminal that answered the handshake and then reads nothing, served
    // before one that reads: enough for the stalled one to fill its
    // connection's cap and the kernel's buffers, so that the run has to
    // wait on it.
    const int fileCount = 4;
    const int size = 400 * VideoDistributor::CHUNK_SIZE + 777;
    QStringList paths;
    for (int i = 0; i < fileCount; ++i) {
        paths << videoFile(QString("chapter_stall_%1.mp4").arg(i), size + i);
        QVERIFY(!paths.last().isEmpty());
    }

    IOController controller;
    const quint16 port = WorkFolder::freePort();
    QVERIFY(controller.createListenThread(QString::number(port)));
    QTRY_COMPARE(controller.getStatus(), IOController::STATUS_LISTENING);
    TestTerminal stalled;
    stalled.setReceiveBufferSize(4096);
    QVERIFY(stalled.connectTo("127.0.0.1", port));
    QVERIFY(stalled.handshake());
    QTRY_COMPARE(controller.getClients().size(), size_t(1));
    const std::shared_ptr<ClientSocket> stalledConnection = controller.getClients().begin()->second;
    TestTerminal reading;
    QVERIFY(reading.connectTo("127.0.0.1", port));
    QVERIFY(reading.handshake());
    QTRY_COMPARE(controller.getClients().size(), size_t(2));

    QList<QByteArray> received;
    QByteArray current;
    std::int64_t lastFileNs = 0;
    QString error;
    Thread reader;
    QVERIFY(reader.start([&] {
        TestTerminalFrame frame;
        while (received.size() < fileCount) {
            if (!reading.readFrame(&frame, 30000)) {
                error = reading.errorString();
                return;
            }
            if (frame.type == 1) {
                current.clear();
            } else if (frame.type == 2) {
                current.append(frame.payload);
            } else if (frame.type == 3) {
                received << current;
                lastFileNs = SteadyClock::nowNs();
            }
        }
    }));

    for (int i = 0; i < fileCount; ++i)
        QTest::ignoreMessage(QtInfoMsg, qPrintable(QString("size: %1").arg(777 + i)));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression("^Video send: terminal 127\\.0\\.0\\.1 \\(connection \\d+\\) "
                                            "took none of its data for 10 s; left out of the rest "
                                            "of this send$"));
    const std::int64_t startNs = SteadyClock::nowNs();
    const VideoDistributor::Outcome outcome = VideoDistributor(&controller).distribute(paths);
    const double returnedMs = SteadyClock::elapsedMs(startNs);
    reader.join();

    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(received.size(), fileCount);
    for (int i = 0; i < fileCount; ++i)
        QCOMPARE(sha256(received[i]), sha256(m_contents.value(paths[i])));
    // The pace the design allows for sending every file to both, and the
    // one wait on the stalled terminal; a little for a busy machine.
    const int chunksPerFile = size / VideoDistributor::CHUNK_SIZE + 1;
    const double paceMs = 2.0 * fileCount * chunksPerFile * VideoDistributor::CHUNK_PAUSE_MS;
    const double boundMs = paceMs + VideoDistributor::STALL_TIMEOUT_MS + 2000;
    const double lastFileMs = double(lastFileNs - startNs) / 1e6;
    QVERIFY2(lastFileMs <= boundMs, qPrintable(QString("%1 ms > %2 ms").arg(lastFileMs).arg(boundMs)));
    QVERIFY2(returnedMs <= boundMs, qPrintable(QString("%1 ms > %2 ms").arg(returnedMs).arg(boundMs)));
    // It did wait: the stalled terminal was not dropped at the first full buffer.
    QVERIFY2(returnedMs >= VideoDistributor::STALL_TIMEOUT_MS, qPrintable(QString::number(returnedMs)));

    QCOMPARE(outcome.filesSent, fileCount);
    QCOMPARE(outcome.terminalsServed, 1);
    QCOMPARE(outcome.terminalsLeftOut, QStringList{"127.0.0.1"});
    QCOMPARE(outcome.filesNotSent, QStringList());
    // Left out of the send, not disconnected: it may still sit an exam.
    QVERIFY(!stalledConnection->isEnding());
}

ORV_TEST_MAIN_CORE(TestVideoDistributor)
#include "tst_videodistributor.moc"
