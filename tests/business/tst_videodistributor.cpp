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
    // Files of the run in order (a size, or "missing"), and the chunk
    // lengths each terminal must receive for each file.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("chunks");
    QTest::addColumn<QStringList>("infoLines");

    QTest::newRow("two chunks and a tail")
        << QStringList{"25000"} << QStringList{"10240,10240,4520"} << QStringList{"size: 4520"};
    QTest::newRow("exactly two chunks") << QStringList{"20480"} << QStringList{"10240,10240"}
                                        << QStringList();
    QTest::newRow("short file") << QStringList{"1"} << QStringList{"1"} << QStringList{"size: 1"};
    QTest::newRow("empty file") << QStringList{"0"} << QStringList{""} << QStringList();
    QTest::newRow("missing file") << QStringList{"missing"} << QStringList{""}
                                  << QStringList{"Error open mp4 file"};
    QTest::newRow("several files") << QStringList{"25000", "missing", "20480"}
                                   << QStringList{"10240,10240,4520", "", "10240,10240"}
                                   << QStringList{"size: 4520", "Error open mp4 file"};
    QTest::newRow("empty list") << QStringList() << QStringList() << QStringList();
}

void TestVideoDistributor::distribute()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, chunks);
    QFETCH(QStringList, infoLines);

    QStringList paths;
    for (int i = 0; i < files.size(); ++i) {
        const int size = files[i] == "missing" ? -1 : files[i].toInt();
        paths << videoFile(QString("chapter%1_%2.mp4").arg(QTest::currentDataTag()).arg(i), size);
        QVERIFY(!paths.last().isEmpty());
    }
    // Once per terminal.
    for (const QString &line : infoLines) {
        QTest::ignoreMessage(QtInfoMsg, qPrintable(line));
        QTest::ignoreMessage(QtInfoMsg, qPrintable(line));
    }

    VideoDistributor(m_controller.get()).distribute(paths);

    for (TestTerminal *terminal : {&m_answering, &m_silent}) {
        for (int i = 0; i < paths.size(); ++i) {
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
    QVERIFY2(!s_messages.contains("Error open mp4 file"), qPrintable(s_messages.join('\n')));
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
    VideoDistributor(m_controller.get()).distribute({path});

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

ORV_TEST_MAIN_CORE(TestVideoDistributor)
#include "tst_videodistributor.moc"
