// The test terminal against a scripted server on loopback: the handshake, the
// encrypted types both ways, frames split across reads, and the two ways a
// terminal can leave (FIN and RST) that the server's tests rely on.

#include "platform/socketapi.h"
#include "platform/thread.h"
#include "tests/support/testmain.h"
#include "tests/support/testterminal.h"
#include "tests/support/testterminalcrypto.h"
#include "tests/support/testterminalmessages.h"

#include <QtEndian>

#include <atomic>
#include <cerrno>
#include <functional>

#include <arpa/inet.h>
#include <netinet/in.h>

namespace {

using M = TestTerminalMessages;

// The handshake vector: challenge 00 01 ... 0f.
QByteArray vectorChallenge()
{
    QByteArray c;
    for (int i = 0; i < 16; ++i)
        c.append(static_cast<char>(i));
    return c;
}
const QByteArray VectorResponse = QByteArray::fromHex("32749a4b12d4d99ee62992476e3a4c1d");
const QByteArray VectorKey =
    QByteArray::fromHex("05814d3d39521ef49666e60718464e2412171ee2badf387ad22a03d2a730b9a5");

// Accepts one connection on 127.0.0.1 and runs a script on it in a thread of
// its own; the script's socket is closed when it returns.
class FakeServer
{
public:
    using Script = std::function<void(SocketApi::Handle)>;

    explicit FakeServer(Script script) : m_script(std::move(script))
    {
        m_listen = SocketApi::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        SocketApi::bind(m_listen, reinterpret_cast<sockaddr *>(&address), sizeof address);
        SocketApi::listen(m_listen, 4);
        socklen_t length = sizeof address;
        ::getsockname(m_listen, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread.start([this] {
            const SocketApi::Handle s = SocketApi::accept(m_listen);
            if (s == SocketApi::InvalidSocket)
                return;
            m_script(s);
            SocketApi::closeSocket(s);
        });
    }
    ~FakeServer()
    {
        SocketApi::shutdown(m_listen, SocketApi::ShutdownBoth);
        m_thread.join();
        SocketApi::closeSocket(m_listen);
    }
    quint16 port() const { return m_port; }
    void join() { m_thread.join(); }

private:
    Script m_script;
    SocketApi::Handle m_listen = SocketApi::InvalidSocket;
    quint16 m_port = 0;
    Thread m_thread;
};

bool sendAll(SocketApi::Handle s, const QByteArray &bytes)
{
    return SocketApi::send(s, bytes.constData(), bytes.size()) == bytes.size();
}

// Reads one whole frame the simple way: header, then the rest.
bool readFrame(SocketApi::Handle s, int *type, QByteArray *payload)
{
    auto readExactly = [s](char *into, int size) {
        for (int got = 0; got < size;) {
            const int n = SocketApi::recv(s, into + got, size - got);
            if (n <= 0)
                return false;
            got += n;
        }
        return true;
    };
    char header[3];
    if (!readExactly(header, 3))
        return false;
    const int length = qFromBigEndian<quint16>(header);
    if (length < 3)
        return false;
    payload->resize(length - 3);
    *type = static_cast<unsigned char>(header[2]);
    return readExactly(payload->data(), length - 3);
}

// Bounded, so that a failed check cannot leave a script waiting for ever.
void waitFor(const std::atomic_bool &flag)
{
    for (int i = 0; i < 5000 && !flag; ++i)
        QTest::qSleep(1);
}

QByteArray frame(int type, const QByteArray &payload)
{
    QByteArray out(3, '\0');
    qToBigEndian(static_cast<quint16>(payload.size() + 3), out.data());
    out[2] = static_cast<char>(type);
    return out + payload;
}

} // namespace

class TestTestTerminal : public QObject
{
    Q_OBJECT

private slots:
    void handshakeAndEncryptedExchange();
    void plainRequestAndSplitFrames();
    void firstFrameMustBeChallenge();
    void invalidLengthReported();
    void closeAndAbortAsSeenByTheServer_data();
    void closeAndAbortAsSeenByTheServer();
    void closedByServerAndQuiet();
    void connectRefused();
};

void TestTestTerminal::handshakeAndEncryptedExchange()
{
    std::atomic_bool answerRight{false};
    QByteArray serverSawCourse;
    QByteArray serverSawOrder;
    int serverSawType = -1;
    FakeServer server([&](SocketApi::Handle s) {
        sendAll(s, frame(10, vectorChallenge()));
        int type = 0;
        QByteArray payload;
        if (!readFrame(s, &type, &payload) || type != 11)
            return;
        answerRight = payload == VectorResponse;
        if (!readFrame(s, &type, &payload))
            return;
        serverSawType = type;
        QByteArray plain;
        M::ContestEnterFields enter;
        if (TestTerminalCrypto::decryptPayload(VectorKey, payload, &plain)
            && M::parseContestEnter(plain, &enter)) {
            serverSawCourse = enter.courseCode;
            serverSawOrder = enter.orderNumber;
        }
        M::EnterResponseFields reply;
        reply.status = 3;
        reply.entryId = 42;
        reply.soCmt = "123456789   ";
        reply.name = "Nguyễn Văn An";
        reply.portrait = QByteArray(5000, 'j');
        const QByteArray iv(16, '\x5a');
        sendAll(s, frame(101, TestTerminalCrypto::encryptPayload(VectorKey, iv,
                                                                 M::enterResponse(reply))));
        readFrame(s, &type, &payload); // until the terminal closes
    });

    TestTerminal terminal;
    QVERIFY2(terminal.connectTo("127.0.0.1", server.port()), qPrintable(terminal.errorString()));
    QVERIFY2(terminal.handshake(), qPrintable(terminal.errorString()));
    QCOMPARE(terminal.challenge(), vectorChallenge());
    QCOMPARE(terminal.key().toHex(), VectorKey.toHex());
    QVERIFY(terminal.sendEncrypted(M::EncryptedContestEnter, M::contestEnter("K2026", "007")));

    TestTerminalFrame reply;
    QVERIFY2(terminal.readFrame(&reply), qPrintable(terminal.errorString()));
    QCOMPARE(reply.type, 101);
    QByteArray plain;
    QVERIFY(terminal.decrypt(reply, &plain));
    M::EnterResponseFields fields;
    QVERIFY(M::parseEnterResponse(plain, &fields));
    QCOMPARE(fields.status, 3);
    QCOMPARE(fields.entryId, 42);
    QCOMPARE(QString::fromUtf8(fields.name), QStringLiteral("Nguyễn Văn An"));
    QCOMPARE(fields.portrait.size(), 5000);
    terminal.close();
    server.join();
    QVERIFY(answerRight);
    QCOMPARE(serverSawType, 100);
    QCOMPARE(serverSawCourse, QByteArray("K2026"));
    QCOMPARE(serverSawOrder, QByteArray("007"));
}

void TestTestTerminal::plainRequestAndSplitFrames()
{
    // A reply cut at awkward places, and two frames in one segment.
    std::atomic_int requestType{-1};
    FakeServer server([&](SocketApi::Handle s) {
        int type = 0;
        QByteArray payload;
        if (!readFrame(s, &type, &payload))
            return;
        requestType = payload == M::contestNameRequest() ? type : -2;
        const QByteArray bytes = frame(8, M::contestNameReply("A;B", "Một;Hai"))
                                 + frame(9, M::review("1,2,3")) + frame(3, QByteArray());
        sendAll(s, bytes.left(2));
        QTest::qSleep(30);
        sendAll(s, bytes.mid(2, 10));
        QTest::qSleep(30);
        sendAll(s, bytes.mid(12));
        readFrame(s, &type, &payload);
    });
    TestTerminal terminal;
    QVERIFY(terminal.connectTo("127.0.0.1", server.port()));
    QVERIFY(terminal.sendFrame(M::ContestName, M::contestNameRequest()));
    TestTerminalFrame f;
    QVERIFY2(terminal.readFrame(&f), qPrintable(terminal.errorString()));
    QCOMPARE(f.type, 8);
    M::ContestNameFields names;
    QVERIFY(M::parseContestName(f.payload, &names));
    QCOMPARE(QString::fromUtf8(names.names), QStringLiteral("Một;Hai"));
    QVERIFY(terminal.readFrame(&f));
    QCOMPARE(f.type, 9);
    QByteArray answers;
    QVERIFY(M::parseReview(f.payload, &answers));
    QCOMPARE(answers, QByteArray("1,2,3"));
    QVERIFY(terminal.readFrame(&f));
    QCOMPARE(f.type, 3);
    QVERIFY(f.payload.isEmpty());
    QCOMPARE(requestType.load(), 8);
}

void TestTestTerminal::firstFrameMustBeChallenge()
{
    FakeServer server([](SocketApi::Handle s) {
        sendAll(s, frame(8, M::contestNameReply("", "")));
        int type = 0;
        QByteArray payload;
        readFrame(s, &type, &payload);
    });
    TestTerminal terminal;
    QVERIFY(terminal.connectTo("127.0.0.1", server.port()));
    QVERIFY(!terminal.handshake());
    QVERIFY(terminal.challenge().isEmpty());
    QVERIFY(terminal.errorString().contains("type 8"));
}

void TestTestTerminal::invalidLengthReported()
{
    FakeServer server([](SocketApi::Handle s) {
        sendAll(s, QByteArray::fromHex("00020a"));
        int type = 0;
        QByteArray payload;
        readFrame(s, &type, &payload);
    });
    TestTerminal terminal;
    QVERIFY(terminal.connectTo("127.0.0.1", server.port()));
    TestTerminalFrame f;
    QVERIFY(!terminal.readFrame(&f));
    QCOMPARE(terminal.errorString(), QStringLiteral("invalid frame length"));
}

void TestTestTerminal::closeAndAbortAsSeenByTheServer_data()
{
    QTest::addColumn<bool>("reset");
    QTest::newRow("close") << false;
    QTest::newRow("abort") << true;
}

void TestTestTerminal::closeAndAbortAsSeenByTheServer()
{
    // The bytes sent just before leaving still reach the server, then it
    // sees the end of stream (FIN) or a reset (RST).
    QFETCH(bool, reset);
    std::atomic_int lastResult{1};
    std::atomic_int lastErrno{0};
    std::atomic_int bytesRead{0};
    std::atomic_bool go{false};
    FakeServer server([&](SocketApi::Handle s) {
        waitFor(go);
        QTest::qSleep(50); // the terminal has left before the server reads
        char buffer[256];
        int n = 0;
        while ((n = SocketApi::recv(s, buffer, sizeof buffer)) > 0)
            bytesRead += n;
        lastResult = n;
        lastErrno = SocketApi::lastError();
    });
    TestTerminal terminal;
    QVERIFY(terminal.connectTo("127.0.0.1", server.port()));
    QVERIFY(terminal.sendFrame(M::ContestEnter, M::contestEnter("K", "1")));
    QVERIFY(terminal.sendFrame(M::InfoConfirm, M::infoConfirm(true, 1, false)));
    if (reset)
        terminal.abort();
    else
        terminal.close();
    QVERIFY(!terminal.isConnected());
    go = true;
    server.join();
    if (reset) {
        QCOMPARE(lastResult.load(), SocketApi::SocketError);
        QCOMPARE(lastErrno.load(), ECONNRESET);
        // A reset may discard what the server had not read yet.
        QVERIFY(bytesRead <= 13 + 9);
    } else {
        QCOMPARE(bytesRead.load(), 13 + 9);
        QCOMPARE(lastResult.load(), 0);
    }
}

void TestTestTerminal::closedByServerAndQuiet()
{
    std::atomic_bool release{false};
    FakeServer server([&](SocketApi::Handle s) {
        sendAll(s, frame(10, vectorChallenge()));
        waitFor(release);
    });
    TestTerminal terminal;
    QVERIFY(terminal.connectTo("127.0.0.1", server.port()));
    QVERIFY(terminal.readChallenge());
    QVERIFY(terminal.staysQuiet(50));
    QVERIFY(!terminal.waitForClosed(50));
    release = true;
    QVERIFY(terminal.waitForClosed(2000));
    TestTerminalFrame f;
    QVERIFY(!terminal.readFrame(&f, 200));
}

void TestTestTerminal::connectRefused()
{
    quint16 port = 0;
    {
        FakeServer unused([](SocketApi::Handle) {});
        port = unused.port();
    }
    TestTerminal terminal;
    QVERIFY(!terminal.connectTo("127.0.0.1", port));
    QVERIFY(!terminal.isConnected());
    QVERIFY(terminal.errorString().contains("cannot connect"));
    QVERIFY(!terminal.sendFrame(M::ContestEnter, QByteArray()));
}

ORV_TEST_MAIN_CORE(TestTestTerminal)
#include "tst_testterminal.moc"
