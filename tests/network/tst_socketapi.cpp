// The socket layer on loopback: the errors the listener reports, and the
// wake-ups that let a blocked thread be joined.

#include "platform/socketapi.h"
#include "platform/thread.h"
#include "tests/support/testmain.h"

#include <QElapsedTimer>

#include <atomic>
#include <cerrno>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <unistd.h>

namespace {

// A listening socket on 127.0.0.1 and a port the system chose.
struct Listener
{
    SocketApi::Handle socket = SocketApi::InvalidSocket;
    quint16 port = 0;

    Listener()
    {
        socket = SocketApi::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (SocketApi::bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || SocketApi::listen(socket, SOMAXCONN) != 0)
            return;
        socklen_t length = sizeof address;
        ::getsockname(socket, reinterpret_cast<sockaddr *>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~Listener()
    {
        if (socket != SocketApi::InvalidSocket)
            SocketApi::closeSocket(socket);
    }
};

int connectTo(quint16 port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (::connect(s, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(s);
        return -1;
    }
    return s;
}

addrinfo passiveHints()
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_PASSIVE;
    return hints;
}

} // namespace

class TestSocketApi : public QObject
{
    Q_OBJECT

private slots:
    void startupAndCleanupSucceed();
    void portText_data();
    void portText();
    void listenerStepsOnLoopback();
    void busyPortIsAddressInUse();
    void portFreeAgainAfterClose();
    void recvWokenByShutdown();
    void acceptWokenByShutdown();
    void sendToGonePeerFailsWithoutSignal();
    void sendToPeerThatNeverReadsTimesOut();
    void recvSeesEndOfStream();
};

void TestSocketApi::startupAndCleanupSucceed()
{
    QCOMPARE(SocketApi::startup(), 0);
    QCOMPARE(SocketApi::cleanup(), 0);
}

void TestSocketApi::portText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("lowest") << QByteArray("1") << true;
    QTest::newRow("highest") << QByteArray("65535") << true;
    QTest::newRow("usual") << QByteArray("9999") << true;
    QTest::newRow("leading zero") << QByteArray("08080") << true;
    QTest::newRow("zero (any port)") << QByteArray("0") << false;
    QTest::newRow("too large") << QByteArray("65536") << false;
    QTest::newRow("far too large") << QByteArray("99999999999999999999") << false;
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("service name") << QByteArray("http") << false;
    QTest::newRow("sign") << QByteArray("+80") << false;
    QTest::newRow("negative") << QByteArray("-1") << false;
    QTest::newRow("blank") << QByteArray(" 80") << false;
    QTest::newRow("trailing text") << QByteArray("80a") << false;
    QTest::newRow("hexadecimal") << QByteArray("0x50") << false;
}

void TestSocketApi::portText()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, accepted);
    QCOMPARE(SocketApi::isPortText(text.constData()), accepted);
    const addrinfo hints = passiveHints();
    addrinfo *list = reinterpret_cast<addrinfo *>(1);
    const int result = SocketApi::getAddrInfo(nullptr, text.constData(), &hints, &list);
    if (accepted) {
        QCOMPARE(result, 0);
        QVERIFY(list != nullptr);
        QCOMPARE(ntohs(reinterpret_cast<sockaddr_in *>(list->ai_addr)->sin_port),
                 text.toUShort());
    } else {
        QCOMPARE(result, EAI_SERVICE);
        QVERIFY(list == nullptr);
    }
    SocketApi::freeAddrInfo(list);
}

void TestSocketApi::listenerStepsOnLoopback()
{
    // The listener's own sequence: passive address, socket of the first
    // result, bind, listen; then a loopback client is accepted.
    const addrinfo hints = passiveHints();
    addrinfo *list = nullptr;
    Listener probe; // only to learn a free port
    const quint16 port = probe.port;
    SocketApi::closeSocket(probe.socket);
    probe.socket = SocketApi::InvalidSocket;

    QCOMPARE(SocketApi::getAddrInfo(nullptr, QByteArray::number(port).constData(), &hints, &list),
             0);
    const SocketApi::Handle s = SocketApi::socket(list->ai_family, list->ai_socktype,
                                                  list->ai_protocol);
    QVERIFY(s != SocketApi::InvalidSocket);
    QCOMPARE(SocketApi::bind(s, list->ai_addr, list->ai_addrlen), 0);
    SocketApi::freeAddrInfo(list);
    int reuse = 0;
    socklen_t length = sizeof reuse;
    ::getsockopt(s, SOL_SOCKET, SO_REUSEADDR, &reuse, &length);
    QVERIFY(reuse != 0);
    QCOMPARE(SocketApi::listen(s, SOMAXCONN), 0);

    const int client = connectTo(port);
    QVERIFY(client >= 0);
    const SocketApi::Handle accepted = SocketApi::accept(s);
    QVERIFY(accepted != SocketApi::InvalidSocket);
    QCOMPARE(SocketApi::send(accepted, "abc", 3), 3);
    char buffer[8] = {};
    QCOMPARE(static_cast<int>(::recv(client, buffer, 3, MSG_WAITALL)), 3);
    QCOMPARE(QByteArray(buffer, 3), QByteArray("abc"));
    ::close(client);
    SocketApi::closeSocket(accepted);
    SocketApi::closeSocket(s);
}

void TestSocketApi::busyPortIsAddressInUse()
{
    Listener first;
    QVERIFY(first.port != 0);
    const addrinfo hints = passiveHints();
    addrinfo *list = nullptr;
    QCOMPARE(SocketApi::getAddrInfo(nullptr, QByteArray::number(first.port).constData(), &hints,
                                    &list),
             0);
    const SocketApi::Handle second = SocketApi::socket(list->ai_family, list->ai_socktype,
                                                       list->ai_protocol);
    QVERIFY(second != SocketApi::InvalidSocket);
    // SO_REUSEADDR must not let a second server take a port that one is
    // listening on.
    QCOMPARE(SocketApi::bind(second, list->ai_addr, list->ai_addrlen), SocketApi::SocketError);
    QCOMPARE(SocketApi::lastError(), 98);
    SocketApi::freeAddrInfo(list);
    SocketApi::closeSocket(second);
}

void TestSocketApi::portFreeAgainAfterClose()
{
    // A server restarted while its old connections linger in TIME_WAIT binds
    // at once.
    quint16 port = 0;
    {
        Listener first;
        port = first.port;
        const int client = connectTo(port);
        QVERIFY(client >= 0);
        const SocketApi::Handle accepted = SocketApi::accept(first.socket);
        QVERIFY(accepted != SocketApi::InvalidSocket);
        SocketApi::closeSocket(accepted); // the server closes first: TIME_WAIT on its side
        ::close(client);
    }
    const SocketApi::Handle again = SocketApi::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    QCOMPARE(SocketApi::bind(again, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    QCOMPARE(SocketApi::listen(again, SOMAXCONN), 0);
    SocketApi::closeSocket(again);
}

void TestSocketApi::recvWokenByShutdown()
{
    Listener listener;
    const int client = connectTo(listener.port);
    QVERIFY(client >= 0);
    const SocketApi::Handle accepted = SocketApi::accept(listener.socket);
    QVERIFY(accepted != SocketApi::InvalidSocket);

    std::atomic_int result{-2};
    std::atomic_bool entered{false};
    Thread reader;
    QVERIFY(reader.start([&] {
        char buffer[64];
        entered = true;
        result = SocketApi::recv(accepted, buffer, sizeof buffer);
    }));
    QTRY_VERIFY(entered);
    QTest::qWait(50); // let it block in recv
    QCOMPARE(result.load(), -2);

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(SocketApi::shutdown(accepted, SocketApi::ShutdownBoth), 0);
    QVERIFY(reader.join());
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(result.load(), 0);
    SocketApi::closeSocket(accepted);
    ::close(client);
}

void TestSocketApi::acceptWokenByShutdown()
{
    Listener listener;
    std::atomic_int result{-2};
    std::atomic_bool entered{false};
    Thread acceptor;
    QVERIFY(acceptor.start([&] {
        entered = true;
        result = SocketApi::accept(listener.socket);
    }));
    QTRY_VERIFY(entered);
    QTest::qWait(50);
    QElapsedTimer timer;
    timer.start();
    SocketApi::shutdown(listener.socket, SocketApi::ShutdownBoth);
    QVERIFY(acceptor.join());
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(result.load(), SocketApi::InvalidSocket);
}

void TestSocketApi::sendToGonePeerFailsWithoutSignal()
{
    // Without MSG_NOSIGNAL the second send would raise SIGPIPE and end this
    // test process.
    Listener listener;
    const int client = connectTo(listener.port);
    QVERIFY(client >= 0);
    const SocketApi::Handle accepted = SocketApi::accept(listener.socket);
    const linger reset{1, 0};
    ::setsockopt(client, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(client);
    QTest::qWait(20);
    int result = 0;
    for (int i = 0; i < 10 && result >= 0; ++i)
        result = SocketApi::send(accepted, "x", 1);
    QCOMPARE(result, SocketApi::SocketError);
    const int error = SocketApi::lastError();
    QVERIFY2(error == EPIPE || error == ECONNRESET, qPrintable(QString::number(error)));
    SocketApi::closeSocket(accepted);
}

void TestSocketApi::sendToPeerThatNeverReadsTimesOut()
{
    // A terminal that stops reading must not hold its send thread (and the
    // video distribution waiting on it) for ever.
    Listener listener;
    const int client = connectTo(listener.port);
    QVERIFY(client >= 0);
    const SocketApi::Handle accepted = SocketApi::accept(listener.socket);
    QCOMPARE(SocketApi::setSendTimeout(accepted, 200), 0);
    const QByteArray block(64 * 1024, 'v');
    QElapsedTimer timer;
    timer.start();
    int result = 0;
    while (result >= 0 && timer.elapsed() < 10000)
        result = SocketApi::send(accepted, block.constData(), block.size());
    QCOMPARE(result, SocketApi::SocketError);
    QVERIFY2(SocketApi::lastError() == EAGAIN || SocketApi::lastError() == EWOULDBLOCK,
             qPrintable(QString::number(SocketApi::lastError())));
    QVERIFY(timer.elapsed() < 5000);
    ::close(client);
    SocketApi::closeSocket(accepted);
}

void TestSocketApi::recvSeesEndOfStream()
{
    Listener listener;
    const int client = connectTo(listener.port);
    const SocketApi::Handle accepted = SocketApi::accept(listener.socket);
    QCOMPARE(static_cast<int>(::send(client, "hi", 2, 0)), 2);
    ::close(client);
    char buffer[8];
    QCOMPARE(SocketApi::recv(accepted, buffer, sizeof buffer), 2);
    QCOMPARE(SocketApi::recv(accepted, buffer, sizeof buffer), 0);
    SocketApi::closeSocket(accepted);
}

ORV_TEST_MAIN_CORE(TestSocketApi)
#include "tst_socketapi.moc"
