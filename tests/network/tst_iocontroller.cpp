// The listener, the handler queue and the terminal connections, driven over
// loopback TCP by the test terminal (which shares no protocol code with the
// server). Each test runs its own controller on a free port; a small business
// listener does the handshake check, answers ContestEnter and records every
// event, and a connection listener records accepts and removals.

#include "platform/steadyclock.h"
#include "platform/thread.h"
#include "server/network/authenticationcheck.h"
#include "server/network/clientconnectionlistener.h"
#include "server/network/clientsocket.h"
#include "server/network/handshake.h"
#include "server/network/iocontroller.h"
#include "server/protocol/basehandler.h"
#include "server/protocol/enterresponsemessage.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/serverinputinterface.h"
#include "server/protocol/syncvideomessage.h"
#include "tests/support/stdoutcapture.h"
#include "tests/support/testmain.h"
#include "tests/support/testterminal.h"
#include "tests/support/testterminalcrypto.h"
#include "tests/support/testterminalmessages.h"
#include "tests/support/workfolder.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <cerrno>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using M = TestTerminalMessages;

// Timeouts leave room for the ThreadSanitizer build, which runs several
// times slower.
const int REPLY_TIMEOUT_MS = 5000;
// A reply to this course code carries a portrait this large, so that a
// terminal that does not read fills its socket quickly.
const QString BIG_COURSE = QStringLiteral("BIG");
const int BIG_PORTRAIT = 60000;

struct Entered
{
    quint64 clientId;
    int orderNumber;
    qint64 atMs;
};

struct Answered
{
    quint64 clientId;
    bool matched;
};

// What the business controller does for these events, reduced to what the
// connections need: the handshake check, and an EnterResponse whose entry id
// is the order number received.
class TestBusiness : public ServerInputInterface
{
public:
    static TestBusiness &instance()
    {
        static TestBusiness business;
        return business;
    }

    void reset(IOController *controller)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_controller = controller;
        m_entered.clear();
        m_answered.clear();
        m_calls.clear();
        answerDelayMs = 0;
    }

    // A slow handshake check, as a handler that waits for the database.
    std::atomic_int answerDelayMs{0};

    // Fresh copies: an implicitly shared QVector read here while the queue
    // thread appends to the same data is a race of its own.
    QVector<Entered> entered() const
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return QVector<Entered>(m_entered.begin(), m_entered.end());
    }
    QVector<Answered> answered() const
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return QVector<Answered>(m_answered.begin(), m_answered.end());
    }
    int enteredBy(quint64 clientId) const
    {
        int count = 0;
        for (const Entered &e : entered())
            count += e.clientId == clientId ? 1 : 0;
        return count;
    }
    // The events of one terminal, in the order they ran: "enter", "start",
    // "review", "result", "courses", "answer".
    QStringList callsBy(quint64 clientId) const
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        QStringList calls;
        for (const auto &call : m_calls) {
            if (call.first == clientId)
                calls << call.second;
        }
        return calls;
    }

    void orderNumberUpdated(quint64 clientId, const QString &courseCode,
                            const QString &orderNumber) override
    {
        IOController *controller = nullptr;
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_entered.push_back({clientId, orderNumber.toInt(), SteadyClock::nowMs()});
            m_calls.emplace_back(clientId, QStringLiteral("enter"));
            controller = m_controller;
        }
        EnterResponseMessage reply(true);
        reply.setStatus(1);
        reply.setEntryId(orderNumber.toInt());
        reply.setIdentityNumber("012345678901");
        reply.setFullName(courseCode.toUtf8());
        if (courseCode == BIG_COURSE)
            reply.setPortrait(QByteArray(BIG_PORTRAIT, 'P'));
        controller->sendToClient(clientId, &reply);
    }

    void handleAuthenStateTwo(quint64 clientId, const char *response16) override
    {
        IOController *controller = nullptr;
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            controller = m_controller;
        }
        SteadyClock::sleepMs(answerDelayMs);
        const bool matched = AuthenticationCheck::checkAnswer(controller, clientId, response16);
        std::lock_guard<std::mutex> guard(m_mutex);
        m_answered.push_back({clientId, matched});
        m_calls.emplace_back(clientId, QStringLiteral("answer"));
    }

    void contestResultUpdated(quint64 clientId, int, int, bool, int, const QString &,
                              const QString &) override
    {
        record(clientId, QStringLiteral("result"));
    }
    void infoConfirmUpdated(quint64 clientId, int, bool, bool review) override
    {
        record(clientId, review ? QStringLiteral("review") : QStringLiteral("start"));
    }
    void handleContestNameRequest(quint64 clientId) override
    {
        record(clientId, QStringLiteral("courses"));
    }

private:
    void record(quint64 clientId, const QString &call)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_calls.emplace_back(clientId, call);
    }

    mutable std::mutex m_mutex;
    IOController *m_controller = nullptr;
    std::vector<Entered> m_entered;
    std::vector<Answered> m_answered;
    std::vector<std::pair<quint64, QString>> m_calls;
};

class ConnectionLog : public ClientConnectionListener
{
public:
    // Run on the listener thread for each accepted connection, before its
    // client thread starts.
    void setAcceptHook(std::function<void(quint64)> hook)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_acceptHook = std::move(hook);
    }
    void onClientAccepted(quint64 clientId) override
    {
        std::function<void(quint64)> hook;
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_accepted.push_back(clientId);
            hook = m_acceptHook;
        }
        if (hook)
            hook(clientId);
    }
    void onMessageArriving(quint64 clientId, const BaseMessage &message) override
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_arrived.emplace_back(clientId, message.getType());
    }
    void onClientRemoved(quint64 clientId) override
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_removed.push_back(clientId);
    }
    QVector<quint64> accepted() const
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return QVector<quint64>(m_accepted.begin(), m_accepted.end());
    }
    QVector<quint64> removed() const
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return QVector<quint64>(m_removed.begin(), m_removed.end());
    }
    // The types of the messages the connection's frames carried, in order.
    QVector<int> arrivedFrom(quint64 clientId) const
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        QVector<int> types;
        for (const auto &arrived : m_arrived) {
            if (arrived.first == clientId)
                types << arrived.second;
        }
        return types;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::pair<quint64, int>> m_arrived;
    std::vector<quint64> m_accepted;
    std::vector<quint64> m_removed;
    std::function<void(quint64)> m_acceptHook;
};

struct HandlerCounts
{
    std::atomic_int ran{0};
    std::atomic_int destroyed{0};
};

// Put straight into the queue, so the test knows it was queued.
class CountingHandler : public BaseHandler
{
public:
    explicit CountingHandler(HandlerCounts *counts)
        : m_counts(counts)
    {
    }
    ~CountingHandler() override { ++m_counts->destroyed; }
    using BaseHandler::handle;
    void handle(quint64, BaseMessage *) override { ++m_counts->ran; }

private:
    HandlerCounts *m_counts;
};

// Holds the queue thread until released (or for 10 s at most), so that what
// terminals send meanwhile is all queued behind it.
class HoldingHandler : public BaseHandler
{
public:
    explicit HoldingHandler(std::atomic_bool *released)
        : m_released(released)
    {
        setClientId(1000);
    }
    using BaseHandler::handle;
    void handle(quint64, BaseMessage *) override
    {
        QElapsedTimer timer;
        timer.start();
        while (!*m_released && timer.elapsed() < 10000)
            SteadyClock::sleepMs(1);
    }

private:
    std::atomic_bool *m_released;
};

// The warnings logged while it lives, from any thread.
class WarningLog
{
public:
    WarningLog()
    {
        std::lock_guard<std::mutex> guard(mutex());
        lines().clear();
        m_previous = qInstallMessageHandler(&WarningLog::handle);
    }
    ~WarningLog() { qInstallMessageHandler(m_previous); }

    WarningLog(const WarningLog &) = delete;
    WarningLog &operator=(const WarningLog &) = delete;

    int count(const QString &part) const
    {
        std::lock_guard<std::mutex> guard(mutex());
        int found = 0;
        for (const QString &line : lines())
            found += line.contains(part) ? 1 : 0;
        return found;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type != QtWarningMsg)
            return;
        std::lock_guard<std::mutex> guard(mutex());
        lines() << message;
    }
    static std::mutex &mutex()
    {
        static std::mutex m;
        return m;
    }
    static QStringList &lines()
    {
        static QStringList l;
        return l;
    }

    QtMessageHandler m_previous = nullptr;
};

// The line that closes a connection past its share of the queue.
QString overLimitLine(quint64 clientId)
{
    return QStringLiteral("client %1 has %2 handlers queued")
        .arg(clientId)
        .arg(IOController::MAX_QUEUED_PER_CLIENT);
}

// A controller listening on a free loopback port, with the business listener
// pointed at it. The connection log outlives the controller, whose queue
// thread may still report a removal while it is destroyed.
struct LiveServer
{
    ConnectionLog connections;
    std::unique_ptr<IOController> controller;
    quint16 port = 0;

    bool start()
    {
        // The free port is let go before the server binds it: under a
        // parallel run another process may take it in between.
        for (int attempt = 0; attempt < 5; ++attempt) {
            controller.reset(new IOController);
            controller->setClientConnectionListener(&connections);
            TestBusiness::instance().reset(controller.get());
            port = WorkFolder::freePort();
            if (!controller->createListenThread(QString::number(port)))
                return false;
            QElapsedTimer timer;
            timer.start();
            while (controller->getStatus() == IOController::STATUS_NOT_STARTED
                   && timer.elapsed() < 5000)
                SteadyClock::sleepMs(5);
            if (controller->getStatus() != IOController::STATUS_BIND_FAILED)
                return controller->getStatus() == IOController::STATUS_LISTENING;
        }
        return false;
    }

    bool connect(TestTerminal &terminal) { return terminal.connectTo("127.0.0.1", port); }

    std::shared_ptr<ClientSocket> client(quint64 clientId) const
    {
        const IOController::ClientMap clients = controller->getClients();
        const auto found = clients.find(clientId);
        return found == clients.end() ? nullptr : found->second;
    }

    ~LiveServer()
    {
        controller.reset();
        TestBusiness::instance().reset(nullptr);
    }
};

// Waits for the EnterResponse to a ContestEnter; empty when it came,
// encrypted with the terminal's key and carrying the order number as its
// entry id, else what went wrong.
QString expectEnterResponse(TestTerminal &terminal, int orderNumber)
{
    TestTerminalFrame frame;
    if (!terminal.readFrame(&frame, REPLY_TIMEOUT_MS))
        return terminal.errorString();
    if (frame.type != M::EncryptedEnterResponse)
        return QStringLiteral("frame type %1").arg(frame.type);
    QByteArray plain;
    M::EnterResponseFields fields;
    if (!terminal.decrypt(frame, &plain) || !M::parseEnterResponse(plain, &fields))
        return QStringLiteral("reply does not decrypt with the handshake key");
    if (fields.entryId != orderNumber)
        return QStringLiteral("entry id %1, expected %2").arg(fields.entryId).arg(orderNumber);
    return QString();
}

QByteArray enterFrame(int orderNumber, const QByteArray &course = "B2")
{
    return TestTerminalFrame::encode(M::ContestEnter,
                                     M::contestEnter(course, QByteArray::number(orderNumber)));
}

} // namespace

class TestIOController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void handshakeVector();
    void terminalServed_data();
    void terminalServed();
    void challengeBeforeEarlierFrames();
    void wrongAnswerClosesConnection();
    void handlersRunInOrderPaced();
    void handlersPacedByDeadline();
    void goneTerminalTakesNoCycle();
    void listenerFailures_data();
    void listenerFailures();
    void threadStartFailures_data();
    void threadStartFailures();
    void terminalLeaving_data();
    void terminalLeaving();
    void junkPeerHoldsNoOneBack_data();
    void junkPeerHoldsNoOneBack();
    void connectionLimit_data();
    void connectionLimit();
    void closedConnectionDropsItsHandlers_data();
    void closedConnectionDropsItsHandlers();
    void nonReadingTerminal();
    void clientIdsNeverReused();
    void destroyWithTerminalsAndQueuedHandlers();
};

void TestIOController::initTestCase()
{
    // The hub is process-wide: one registration serves every test.
    InputDispatcher::getInstance()->registerBusinessController(&TestBusiness::instance());
}

void TestIOController::cleanup()
{
    // A test that failed half-way must not make the next one's threads fail.
    Thread::failStartsForTesting(0);
}

void TestIOController::handshakeVector()
{
    QByteArray challenge;
    for (int i = 0; i < 16; ++i)
        challenge.append(char(i));
    const QByteArray expected = QByteArray::fromHex("32749a4b12d4d99ee62992476e3a4c1d");
    QCOMPARE(Handshake::expectedResponse(challenge).toHex(), expected.toHex());
    QCOMPARE(Handshake::connectionKey(challenge).toHex(),
             QByteArray("05814d3d39521ef49666e60718464e2412171ee2badf387ad22a03d2a730b9a5"));

    QVERIFY(Handshake::matches(expected, expected.constData()));
    QVERIFY(!Handshake::matches(expected, QByteArray(16, '\0').constData()));
    // A connection whose expected response is not stored yet lets nothing in.
    QVERIFY(!Handshake::matches(QByteArray(), expected.constData()));
    QVERIFY(!Handshake::matches(QByteArray(), QByteArray(16, '\0').constData()));
}

void TestIOController::terminalServed_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("encrypted");
    QTest::newRow("answered, encrypted ContestEnter") << true << true;
    QTest::newRow("answered, plain ContestEnter") << true << false;
    // Nothing waits for the answer: plain messages are served before it.
    QTest::newRow("not answered, plain ContestEnter") << false << false;
}

void TestIOController::terminalServed()
{
    QFETCH(bool, answer);
    QFETCH(bool, encrypted);
    LiveServer server;
    QVERIFY(server.start());
    TestTerminal terminal;
    QVERIFY2(server.connect(terminal), qPrintable(terminal.errorString()));
    // readChallenge() refuses a first frame that is not type 10.
    QVERIFY2(terminal.readChallenge(), qPrintable(terminal.errorString()));
    if (answer)
        QVERIFY(terminal.sendAnswer(TestTerminalCrypto::handshakeResponse(terminal.challenge())));
    const QByteArray request = M::contestEnter("B2", "17");
    QVERIFY(encrypted ? terminal.sendEncrypted(M::EncryptedContestEnter, request)
                      : terminal.sendFrame(M::ContestEnter, request));

    const QString problem = expectEnterResponse(terminal, 17);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    if (answer) {
        QCOMPARE(TestBusiness::instance().answered().size(), 1);
        QVERIFY(TestBusiness::instance().answered().first().matched);
    }
    QVERIFY(terminal.staysQuiet(100));
    QVERIFY(server.connections.removed().isEmpty());
    QCOMPARE(int(server.controller->getClients().size()), 1);
}

void TestIOController::challengeBeforeEarlierFrames()
{
    // The video distribution may send to a connection as soon as it is
    // registered, before its client thread has queued the challenge.
    LiveServer server;
    std::atomic_bool queued{false};
    SyncVideoMessage early;
    early.setData("early chunk");
    server.connections.setAcceptHook([&server, &queued, &early](quint64 clientId) {
        queued = server.controller->sendToClient(clientId, &early);
    });
    QVERIFY(server.start());
    TestTerminal terminal;
    QVERIFY(server.connect(terminal));
    // readChallenge() refuses a first frame that is not type 10.
    QVERIFY2(terminal.readChallenge(), qPrintable(terminal.errorString()));
    QVERIFY(queued);
    TestTerminalFrame frame;
    QVERIFY2(terminal.readFrame(&frame, REPLY_TIMEOUT_MS), qPrintable(terminal.errorString()));
    QCOMPARE(frame.type, int(M::SyncVideo));
    QCOMPARE(frame.payload, QByteArray("early chunk"));
    QVERIFY(terminal.staysQuiet(50));
}

void TestIOController::wrongAnswerClosesConnection()
{
    LiveServer server;
    QVERIFY(server.start());
    TestTerminal good;
    TestTerminal wrong;
    QVERIFY(server.connect(good));
    QVERIFY2(good.handshake(), qPrintable(good.errorString()));
    QVERIFY(server.connect(wrong));
    QVERIFY2(wrong.readChallenge(), qPrintable(wrong.errorString()));
    QTRY_COMPARE(server.connections.accepted(), (QVector<quint64>{0, 1}));

    // The second answer arrives while the first is being checked: the
    // receive thread queues it while the check removes the connection and
    // waits for that thread. The removal drops it: an answer to a connection
    // that is gone answers nothing.
    TestBusiness::instance().answerDelayMs = 200;
    const QByteArray zeros = TestTerminalFrame::encode(M::AuthenStateTwo,
                                                       M::authenStateTwo(QByteArray(16, '\0')));
    QVERIFY(wrong.sendRaw(zeros));
    SteadyClock::sleepMs(60);
    QVERIFY(wrong.sendRaw(zeros));
    QVERIFY2(wrong.waitForClosed(1000), qPrintable(wrong.errorString()));

    QTRY_COMPARE(server.connections.removed(), QVector<quint64>{1});
    // Time for the dropped answer's slow check, had it run.
    SteadyClock::sleepMs(2 * TestBusiness::instance().answerDelayMs);
    const QVector<Answered> answers = TestBusiness::instance().answered();
    QCOMPARE(answers.size(), 2);
    QCOMPARE(answers[0].clientId, quint64(0));
    QVERIFY(answers[0].matched);
    QCOMPARE(answers[1].clientId, quint64(1));
    QVERIFY(!answers[1].matched);
    QVERIFY(!server.client(1));

    QVERIFY(good.sendRaw(enterFrame(3)));
    const QString problem = expectEnterResponse(good, 3);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestIOController::handlersRunInOrderPaced()
{
    LiveServer server;
    QVERIFY(server.start());
    TestTerminal terminal;
    QVERIFY(server.connect(terminal));
    QVERIFY(terminal.readChallenge());
    QByteArray burst;
    for (int order = 1; order <= 5; ++order)
        burst += enterFrame(order);
    QVERIFY(terminal.sendRaw(burst));

    QTRY_COMPARE_WITH_TIMEOUT(TestBusiness::instance().entered().size(), 5, REPLY_TIMEOUT_MS);
    const QVector<Entered> entered = TestBusiness::instance().entered();
    for (int i = 0; i < entered.size(); ++i) {
        QCOMPARE(entered[i].orderNumber, i + 1);
        // One handler per cycle of 16 ms, however fast the frames came.
        if (i > 0)
            QVERIFY2(entered[i].atMs - entered[i - 1].atMs >= 15,
                     qPrintable(QStringLiteral("handlers %1 and %2 ran %3 ms apart")
                                    .arg(i)
                                    .arg(i + 1)
                                    .arg(entered[i].atMs - entered[i - 1].atMs)));
    }
}

// Handlers that take most of a cycle themselves: the cycle runs from one
// start to the next, so it stays 16 ms instead of 16 ms plus the handler.
void TestIOController::handlersPacedByDeadline()
{
    const int count = 8;
    const int workMs = 10;
    std::mutex mutex;
    std::vector<std::int64_t> starts;
    HandlerCounts counts;
    {
        IOController controller;
        controller.setHandlerStartObserverForTesting([&](std::int64_t startNs) {
            std::lock_guard<std::mutex> guard(mutex);
            starts.push_back(startNs);
        });
        class SlowHandler : public CountingHandler
        {
        public:
            SlowHandler(HandlerCounts *counts, int ms) : CountingHandler(counts), m_ms(ms) {}
            void handle(quint64 clientId, BaseMessage *message) override
            {
                SteadyClock::sleepMs(m_ms);
                CountingHandler::handle(clientId, message);
            }

        private:
            int m_ms;
        };
        for (int i = 0; i < count; ++i)
            controller.enqueueHandler(new SlowHandler(&counts, workMs));
        QTRY_COMPARE_WITH_TIMEOUT(counts.ran.load(), count, 5000);
    }
    std::lock_guard<std::mutex> guard(mutex);
    QCOMPARE(int(starts.size()), count);
    const std::int64_t cycleNs = std::int64_t(IOController::QUEUE_CYCLE_MS) * 1000000;
    for (int i = 1; i < count; ++i) {
        // Never two in one cycle, however late the one before started.
        QVERIFY2(starts[i] - starts[i - 1] >= cycleNs,
                 qPrintable(QStringLiteral("handlers %1 and %2 started %3 ms apart")
                                .arg(i)
                                .arg(i + 1)
                                .arg(double(starts[i] - starts[i - 1]) / 1e6)));
    }
    // Sleeping a cycle after each handler would take (16 + 10) ms a cycle;
    // by deadline it is 16 ms and a little scheduling.
    const double spanMs = double(starts.back() - starts.front()) / 1e6;
    QVERIFY2(spanMs < (count - 1) * (IOController::QUEUE_CYCLE_MS + 4),
             qPrintable(QStringLiteral("%1 cycles took %2 ms").arg(count - 1).arg(spanMs)));
}

// A terminal that leaves with nothing queued is removed (and its database
// connection let go) at once, not behind the other terminals' handlers.
void TestIOController::goneTerminalTakesNoCycle()
{
    LiveServer server;
    QVERIFY(server.start());
    HandlerCounts counts;
    const int queued = 30;
    for (int i = 0; i < queued; ++i) {
        auto *handler = new CountingHandler(&counts);
        // Another terminal's: not the one that leaves.
        handler->setClientId(1000);
        server.controller->enqueueHandler(handler);
    }
    TestTerminal leaves;
    QVERIFY(server.connect(leaves));
    QVERIFY(leaves.readChallenge());
    QTRY_COMPARE(server.connections.accepted(), QVector<quint64>{0});
    leaves.close();
    // 30 handlers take 480 ms of cycles.
    QTRY_COMPARE_WITH_TIMEOUT(server.connections.removed(), QVector<quint64>{0}, 5000);
    QVERIFY2(counts.ran < queued, qPrintable(QStringLiteral("removed after %1 handlers").arg(counts.ran)));
    QVERIFY(!server.client(0));
    QTRY_COMPARE_WITH_TIMEOUT(counts.ran.load(), queued, 5000);
}

void TestIOController::listenerFailures_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("error");
    QTest::addColumn<QByteArray>("step");

    QTest::newRow("port in use") << QString() << 4 << EADDRINUSE << QByteArray("bind");
    // Never resolved as a service name, nor taken as "any free port".
    const struct
    {
        const char *name;
        const char *port;
    } refused[] = {{"letters", "abc"},   {"service name", "http"}, {"zero", "0"},
                   {"too large", "65536"}, {"sign", "+8000"},        {"blank", " 8000"},
                   {"empty", ""}};
    for (const auto &row : refused)
        QTest::newRow(row.name) << QString::fromLatin1(row.port) << 2 << int(EAI_SERVICE)
                                << QByteArray("getaddrinfo");
}

void TestIOController::listenerFailures()
{
    QFETCH(QString, port);
    QFETCH(int, status);
    QFETCH(int, error);
    QFETCH(QByteArray, step);

    // For the busy port: another socket listens on it, on every address as
    // the server would.
    int occupier = -1;
    if (port.isNull()) {
        occupier = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        QCOMPARE(::bind(occupier, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        QCOMPARE(::listen(occupier, 4), 0);
        socklen_t length = sizeof address;
        ::getsockname(occupier, reinterpret_cast<sockaddr *>(&address), &length);
        port = QString::number(ntohs(address.sin_port));
    }

    IOController controller;
    QList<QByteArray> lines;
    {
        StdoutCapture capture;
        QVERIFY(controller.createListenThread(port));
        QElapsedTimer timer;
        timer.start();
        while (controller.getStatus() == IOController::STATUS_NOT_STARTED
               && timer.elapsed() < 5000)
            SteadyClock::sleepMs(5);
        lines = capture.stop();
    }
    if (occupier >= 0)
        ::close(occupier);

    QCOMPARE(controller.getStatus(), status);
    QCOMPARE(controller.getErrorCode(), error);
    const QByteArray text = step + " failed with error: " + QByteArray::number(error);
    QVERIFY2(lines.contains(text + ". Try again now..."), lines.join('\n').constData());
    QVERIFY2(lines.contains(text + ". Stop now"), lines.join('\n').constData());
}

void TestIOController::threadStartFailures_data()
{
    QTest::addColumn<bool>("listener");
    QTest::addColumn<QByteArray>("line");
    // Starts in order: the queue thread (constructor), the listener thread,
    // then per connection its client thread, which starts the receive and
    // the send threads. Only the first start after the count is set can be
    // made to fail without racing a running thread.
    QTest::newRow("listener thread") << true << QByteArray("Can not create listen thread");
    QTest::newRow("client thread") << false << QByteArray("Can not create client thread");
}

void TestIOController::threadStartFailures()
{
    QFETCH(bool, listener);
    QFETCH(QByteArray, line);

    if (listener) {
        IOController controller;
        QList<QByteArray> lines;
        bool created = true;
        {
            StdoutCapture capture;
            Thread::failStartsForTesting(1);
            created = controller.createListenThread(QString::number(WorkFolder::freePort()));
            lines = capture.stop();
        }
        QVERIFY(!created);
        QCOMPARE(controller.getStatus(), int(IOController::STATUS_NO_THREAD));
        QVERIFY2(lines.contains(line), lines.join('\n').constData());
        return;
    }

    LiveServer server;
    QVERIFY(server.start());
    TestTerminal refused;
    QList<QByteArray> lines;
    bool connected = false;
    bool closed = false;
    {
        // No test macro inside: its report would go to the capture.
        StdoutCapture capture;
        Thread::failStartsForTesting(1);
        connected = server.connect(refused);
        closed = connected && refused.waitForClosed(REPLY_TIMEOUT_MS);
        QElapsedTimer timer;
        timer.start();
        while (server.connections.removed().isEmpty() && timer.elapsed() < REPLY_TIMEOUT_MS)
            SteadyClock::sleepMs(5);
        lines = capture.stop();
    }
    QVERIFY(connected);
    QVERIFY2(closed, qPrintable(refused.errorString()));
    QCOMPARE(server.connections.removed(), QVector<quint64>{0});
    QVERIFY(!server.client(0));
    QVERIFY2(lines.contains(line), lines.join('\n').constData());

    TestTerminal next;
    QVERIFY(server.connect(next));
    QVERIFY2(next.handshake(), qPrintable(next.errorString()));
    QVERIFY(next.sendRaw(enterFrame(7)));
    const QString problem = expectEnterResponse(next, 7);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(server.connections.accepted(), (QVector<quint64>{0, 1}));
}

void TestIOController::terminalLeaving_data()
{
    QTest::addColumn<bool>("reset");
    QTest::newRow("orderly close (FIN)") << false;
    QTest::newRow("reset (RST)") << true;
}

void TestIOController::terminalLeaving()
{
    QFETCH(bool, reset);
    LiveServer server;
    QVERIFY(server.start());
    TestTerminal stays;
    QVERIFY(server.connect(stays));
    QVERIFY2(stays.handshake(), qPrintable(stays.errorString()));
    TestTerminal leaves;
    QVERIFY(server.connect(leaves));
    QVERIFY(leaves.handshake());
    QTRY_COMPARE(server.connections.accepted(), (QVector<quint64>{0, 1}));

    // Frames queued behind a slow queue: the terminal is gone before most
    // of its handlers run, and those still queued are dropped with it.
    QVERIFY(leaves.sendRaw(enterFrame(11) + enterFrame(12) + enterFrame(13)));
    if (reset)
        leaves.abort();
    else
        leaves.close();

    QTRY_COMPARE_WITH_TIMEOUT(server.connections.removed(), QVector<quint64>{1}, REPLY_TIMEOUT_MS);
    QVERIFY(!server.client(1));

    QVERIFY(stays.sendRaw(enterFrame(21)));
    const QString problem = expectEnterResponse(stays, 21);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    // Its id is gone for good: a late reply to it goes nowhere.
    SyncVideoMessage late;
    late.setData("x");
    QVERIFY(!server.controller->sendToClient(1, &late));
}

void TestIOController::junkPeerHoldsNoOneBack_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("closed");
    using F = TestTerminalFrame;
    // Read and dropped: they would change nothing on the server.
    QTest::newRow("three-byte end-of-video frames") << F::encode(M::EndSyncVideo, M::endSyncVideo())
                                                     << false;
    QTest::newRow("video chunks") << F::encode(M::SyncVideo, M::syncVideo("chunk")) << false;
    QTest::newRow("course-list replies")
        << F::encode(M::ContestName, M::contestNameReply("B2", "Lop B2")) << false;
    // Queued until the peer has its share, then closed: what it still has
    // queued is dropped.
    QTest::newRow("course-list requests") << F::encode(M::ContestName, M::contestNameRequest())
                                          << true;
    QTest::newRow("admissions") << enterFrame(1) << true;
}

// A peer that floods the port without a handshake holds another terminal's
// admission back by its share of the queue at most.
void TestIOController::junkPeerHoldsNoOneBack()
{
    QFETCH(QByteArray, frame);
    QFETCH(bool, closed);
    LiveServer server;
    QVERIFY(server.start());
    TestTerminal flooder;
    QVERIFY(server.connect(flooder));
    TestTerminal admitted;
    QVERIFY(server.connect(admitted));
    QVERIFY2(admitted.handshake(), qPrintable(admitted.errorString()));
    QTRY_COMPARE(server.connections.accepted(), (QVector<quint64>{0, 1}));

    WarningLog log;
    // Fails once the server has closed it.
    flooder.sendRaw(frame.repeated(5000));
    // Long enough for the server to read it all (5000 frames in ms).
    SteadyClock::sleepMs(300);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(admitted.sendRaw(enterFrame(7)));
    const QString problem = expectEnterResponse(admitted, 7);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY2(timer.elapsed() < 2000,
             qPrintable(QStringLiteral("admitted after %1 ms").arg(timer.elapsed())));

    if (closed) {
        QVERIFY2(flooder.waitForClosed(REPLY_TIMEOUT_MS), qPrintable(flooder.errorString()));
        QTRY_COMPARE_WITH_TIMEOUT(server.connections.removed(), QVector<quint64>{0},
                                  REPLY_TIMEOUT_MS);
        QCOMPARE(log.count(overLimitLine(0)), 1);
        // Its share, and the few that ran while it sent.
        QVERIFY(TestBusiness::instance().callsBy(0).size()
                <= IOController::MAX_QUEUED_PER_CLIENT + 5);
    } else {
        const std::shared_ptr<ClientSocket> client = server.client(0);
        QVERIFY(client && !client->isEnding());
        QCOMPARE(log.count(overLimitLine(0)), 0);
        QVERIFY(TestBusiness::instance().callsBy(0).isEmpty());
    }
}

void TestIOController::connectionLimit_data()
{
    QTest::addColumn<int>("requests");
    QTest::newRow("as many as it may queue") << int(IOController::MAX_QUEUED_PER_CLIENT);
    QTest::newRow("one more") << IOController::MAX_QUEUED_PER_CLIENT + 1;
}

void TestIOController::connectionLimit()
{
    QFETCH(int, requests);
    const bool over = requests > IOController::MAX_QUEUED_PER_CLIENT;
    LiveServer server;
    QVERIFY(server.start());
    TestTerminal terminal;
    QVERIFY(server.connect(terminal));
    QVERIFY(terminal.readChallenge());
    QTRY_COMPARE(server.connections.accepted(), QVector<quint64>{0});

    // Nothing runs meanwhile: every request is queued at once.
    std::atomic_bool released{false};
    server.controller->enqueueHandler(new HoldingHandler(&released));
    WarningLog log;
    const QByteArray request = TestTerminalFrame::encode(M::ContestName, M::contestNameRequest());
    QVERIFY(terminal.sendRaw(request.repeated(requests)));
    if (over)
        QVERIFY2(terminal.waitForClosed(REPLY_TIMEOUT_MS), qPrintable(terminal.errorString()));
    else
        QVERIFY2(terminal.staysQuiet(300), qPrintable(terminal.errorString()));
    released = true;

    if (over) {
        QTRY_COMPARE_WITH_TIMEOUT(server.connections.removed(), QVector<quint64>{0},
                                  REPLY_TIMEOUT_MS);
        SteadyClock::sleepMs(3 * IOController::QUEUE_CYCLE_MS);
        QVERIFY(TestBusiness::instance().callsBy(0).isEmpty());
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(TestBusiness::instance().callsBy(0).size(), requests,
                                  REPLY_TIMEOUT_MS);
        QVERIFY(server.connections.removed().isEmpty());
    }
    QCOMPARE(log.count(overLimitLine(0)), over ? 1 : 0);
}

void TestIOController::closedConnectionDropsItsHandlers_data()
{
    QTest::addColumn<int>("ending");
    QTest::newRow("orderly close (FIN)") << 0;
    QTest::newRow("reset (RST)") << 1;
    QTest::newRow("past its share of the queue") << 2;
}

// A closed connection's handlers are dropped, whatever they carry: its
// requests would be answered to no one, and its start and result were given
// to the connection listener, to be kept, before they were queued.
void TestIOController::closedConnectionDropsItsHandlers()
{
    QFETCH(int, ending);
    LiveServer server;
    QVERIFY(server.start());
    TestTerminal stays;
    QVERIFY(server.connect(stays));
    QVERIFY2(stays.handshake(), qPrintable(stays.errorString()));
    TestTerminal leaves;
    QVERIFY(server.connect(leaves));
    QVERIFY(leaves.readChallenge());
    QTRY_COMPARE(server.connections.accepted(), (QVector<quint64>{0, 1}));

    std::atomic_bool released{false};
    server.controller->enqueueHandler(new HoldingHandler(&released));
    WarningLog log;
    using F = TestTerminalFrame;
    const QByteArray courses = F::encode(M::ContestName, M::contestNameRequest());
    QByteArray told =
        F::encode(M::AuthenStateTwo,
                  M::authenStateTwo(TestTerminalCrypto::handshakeResponse(leaves.challenge())))
        + courses + enterFrame(11) + F::encode(M::InfoConfirm, M::infoConfirm(true, 11, false))
        + F::encode(M::InfoConfirm, M::infoConfirm(true, 11, true))
        + F::encode(M::ContestResult, M::contestResult(30, 25, true, 11, "B2", "1,2")) + courses;
    if (ending == 2)
        told += courses.repeated(IOController::MAX_QUEUED_PER_CLIENT);
    QVERIFY(leaves.sendRaw(told));
    if (ending == 0)
        leaves.close();
    else if (ending == 1)
        leaves.abort();
    else
        QVERIFY2(leaves.waitForClosed(REPLY_TIMEOUT_MS), qPrintable(leaves.errorString()));
    // The server notices the end while the queue is held.
    SteadyClock::sleepMs(300);
    released = true;

    QTRY_COMPARE_WITH_TIMEOUT(server.connections.removed(), QVector<quint64>{1}, REPLY_TIMEOUT_MS);
    QCOMPARE(TestBusiness::instance().callsBy(1), QStringList());
    const QVector<int> arrived = server.connections.arrivedFrom(1);
    QVERIFY(arrived.contains(M::InfoConfirm));
    QVERIFY(arrived.contains(M::ContestResult));
    QVERIFY(!server.client(1));
    QCOMPARE(log.count(overLimitLine(1)), ending == 2 ? 1 : 0);

    QVERIFY(stays.sendRaw(enterFrame(21)));
    const QString problem = expectEnterResponse(stays, 21);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QCOMPARE(TestBusiness::instance().callsBy(1), QStringList());
}

void TestIOController::nonReadingTerminal()
{
    LiveServer server;
    QVERIFY(server.start());
    TestTerminal stuck;
    stuck.setReceiveBufferSize(4096);
    QVERIFY(server.connect(stuck));
    QVERIFY(stuck.handshake());
    TestTerminal reader;
    QVERIFY(server.connect(reader));
    QVERIFY(reader.handshake());
    QTRY_COMPARE(server.connections.accepted(), (QVector<quint64>{0, 1}));
    const std::shared_ptr<ClientSocket> stuckClient = server.client(0);
    const std::shared_ptr<ClientSocket> readerClient = server.client(1);
    QVERIFY(stuckClient && readerClient);

    // More than loopback sockets hold (4 MB of send buffer at most), below
    // the cap: the stuck terminal's send thread stays blocked in the socket.
    SyncVideoMessage chunk;
    chunk.setData(QByteArray(BIG_PORTRAIT, 'V'));
    const int filling = 100;
    for (int i = 0; i < filling; ++i)
        QVERIFY(server.controller->sendToClient(0, &chunk));
    SteadyClock::sleepMs(200);
    QVERIFY(stuckClient->pendingSendBytes() > quint64(BIG_PORTRAIT));
    QVERIFY(stuckClient->pendingSendBytes() <= quint64(filling) * (BIG_PORTRAIT + 3));
    QVERIFY(!stuckClient->isEnding());

    // Its replies, queued by the handler-queue thread, must not hold that
    // thread, nor anyone else's reply.
    QByteArray burst;
    for (int order = 1; order <= 5; ++order)
        burst += enterFrame(order, BIG_COURSE.toUtf8());
    QVERIFY(stuck.sendRaw(burst));
    QTRY_COMPARE_WITH_TIMEOUT(TestBusiness::instance().enteredBy(0), 5, REPLY_TIMEOUT_MS);
    QVERIFY(reader.sendRaw(enterFrame(99)));
    const QString problem = expectEnterResponse(reader, 99);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QTRY_COMPARE(readerClient->pendingSendBytes(), quint64(0));

    // A bulk sender that ignores pendingSendBytes() reaches the cap: the
    // connection is closed instead of growing without bound.
    int accepted = 0;
    while (accepted < 1000 && server.controller->sendToClient(0, &chunk))
        ++accepted;
    QVERIFY(quint64(accepted) * BIG_PORTRAIT <= ClientSocket::MAX_PENDING_SEND_BYTES);
    QVERIFY(stuckClient->isEnding());
    QVERIFY(!server.controller->sendToClient(0, &chunk));
    QTRY_COMPARE_WITH_TIMEOUT(server.connections.removed(), QVector<quint64>{0}, REPLY_TIMEOUT_MS);
    QVERIFY2(stuck.waitForClosed(REPLY_TIMEOUT_MS), qPrintable(stuck.errorString()));

    QVERIFY(reader.sendRaw(enterFrame(100)));
    const QString after = expectEnterResponse(reader, 100);
    QVERIFY2(after.isEmpty(), qPrintable(after));
}

void TestIOController::clientIdsNeverReused()
{
    LiveServer server;
    QVERIFY(server.start());
    TestTerminal terminals[4];
    for (int i = 0; i < 3; ++i) {
        QVERIFY(server.connect(terminals[i]));
        QVERIFY(terminals[i].readChallenge());
    }
    QTRY_COMPARE(server.connections.accepted(), (QVector<quint64>{0, 1, 2}));
    // Each connection has its own challenge, hence its own key.
    QVERIFY(terminals[0].challenge() != terminals[1].challenge());
    QVERIFY(terminals[1].key() != terminals[2].key());

    terminals[1].close();
    QTRY_COMPARE_WITH_TIMEOUT(server.connections.removed(), QVector<quint64>{1}, REPLY_TIMEOUT_MS);
    QVERIFY(server.connect(terminals[3]));
    QVERIFY(terminals[3].readChallenge());
    QTRY_COMPARE(server.connections.accepted(), (QVector<quint64>{0, 1, 2, 3}));
    const IOController::ClientMap clients = server.controller->getClients();
    QCOMPARE(int(clients.size()), 3);
    QVERIFY(clients.count(0) && clients.count(2) && clients.count(3));

    // The reconnected terminal is served under its new id.
    QVERIFY(terminals[3].sendRaw(enterFrame(5)));
    QTRY_COMPARE_WITH_TIMEOUT(TestBusiness::instance().enteredBy(3), 1, REPLY_TIMEOUT_MS);
}

void TestIOController::destroyWithTerminalsAndQueuedHandlers()
{
    // Outlives the controller, which destroys the queued handlers.
    HandlerCounts counts;
    LiveServer server;
    QVERIFY(server.start());
    TestTerminal busy;
    TestTerminal stuck;
    TestTerminal silent;
    stuck.setReceiveBufferSize(4096);
    QVERIFY(server.connect(busy));
    QVERIFY(busy.handshake());
    QVERIFY(server.connect(stuck));
    QVERIFY(stuck.handshake());
    // Connected, never answering the challenge.
    QVERIFY(server.connect(silent));
    QTRY_COMPARE(server.connections.accepted(), (QVector<quint64>{0, 1, 2}));

    // More than loopback sockets hold: the stuck terminal's send thread
    // stays blocked in the socket.
    SyncVideoMessage chunk;
    chunk.setData(QByteArray(BIG_PORTRAIT, 'V'));
    for (int i = 0; i < 100; ++i)
        QVERIFY(server.controller->sendToClient(1, &chunk));

    // As many as one connection may queue.
    QByteArray burst;
    for (int order = 1; order <= IOController::MAX_QUEUED_PER_CLIENT; ++order)
        burst += enterFrame(order);
    QVERIFY(busy.sendRaw(burst));
    QTRY_VERIFY_WITH_TIMEOUT(TestBusiness::instance().enteredBy(0) > 0, REPLY_TIMEOUT_MS);
    // Behind what is left of the burst; running them all takes seconds.
    const int queued = 250;
    for (int i = 0; i < queued; ++i) {
        auto *handler = new CountingHandler(&counts);
        handler->setClientId(1000 + i);
        server.controller->enqueueHandler(handler);
    }

    QElapsedTimer timer;
    timer.start();
    server.controller.reset();
    const qint64 took = timer.elapsed();
    QVERIFY2(took < 2000, qPrintable(QStringLiteral("destruction took %1 ms").arg(took)));

    // Queued handlers were destroyed, not run.
    const int ran = counts.ran;
    QCOMPARE(int(counts.destroyed), queued);
    QVERIFY2(ran < queued, qPrintable(QStringLiteral("%1 of %2 ran").arg(ran).arg(queued)));
    const int entered = TestBusiness::instance().entered().size();
    SteadyClock::sleepMs(50);
    QCOMPARE(int(counts.ran), ran);
    QCOMPARE(TestBusiness::instance().entered().size(), entered);
    for (TestTerminal *terminal : {&busy, &stuck, &silent})
        QVERIFY2(terminal->waitForClosed(REPLY_TIMEOUT_MS), qPrintable(terminal->errorString()));
    // The destructor tells the connection listener nothing.
    QVERIFY(server.connections.removed().isEmpty());
}

ORV_TEST_MAIN_CORE(TestIOController)
#include "tst_iocontroller.moc"
