// What each handler passes to the input hub (and so whether the frame reader
// queues it), the hub's order (the business controller first, whichever
// registers first), the lines a handler writes for a message it does not
// take, and the handler factory's table.

#include "server/protocol/authenstateonehandler.h"
#include "server/protocol/authenstatetwohandler.h"
#include "server/protocol/basemessage.h"
#include "server/protocol/contestenterhandler.h"
#include "server/protocol/contestnamehandler.h"
#include "server/protocol/contestresulthandler.h"
#include "server/protocol/endsyncvideohandler.h"
#include "server/protocol/enterresponsehandler.h"
#include "server/protocol/handlerfactory.h"
#include "server/protocol/infoconfirmhandler.h"
#include "server/protocol/infoconfirmmessage.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/messagefactory.h"
#include "server/protocol/reviewcontesthandler.h"
#include "server/protocol/serverinputinterface.h"
#include "server/protocol/startsyncvideohandler.h"
#include "server/protocol/syncvideohandler.h"
#include "tests/support/stdoutcapture.h"
#include "tests/support/testmain.h"

#include <QStringList>

#include <memory>
#include <typeinfo>

namespace {
// Writes every call it gets to a log shared with the other recorder, so a
// test sees the order in which the listeners were called.
class RecordingListener : public ServerInputInterface
{
public:
    RecordingListener(const QString &name, QStringList *log)
        : m_name(name), m_log(log)
    {
    }

    void orderNumberUpdated(quint64 clientId, const QString &courseCode,
                            const QString &orderNumber) override
    {
        record(QStringLiteral("orderNumber %1 %2 %3").arg(clientId).arg(courseCode, orderNumber));
    }
    void contestResultUpdated(quint64 clientId, int score, int passMark, bool passed, int entryId,
                              const QString &courseCode, const QString &answers) override
    {
        record(QStringLiteral("contestResult %1 %2 %3 %4 %5 %6 %7")
                   .arg(clientId)
                   .arg(score)
                   .arg(passMark)
                   .arg(int(passed))
                   .arg(entryId)
                   .arg(courseCode, answers));
    }
    void infoConfirmUpdated(quint64 clientId, int entryId, bool flag, bool review) override
    {
        record(QStringLiteral("infoConfirm %1 %2 %3 %4")
                   .arg(clientId)
                   .arg(entryId)
                   .arg(int(flag))
                   .arg(int(review)));
    }
    void handleAuthenStateTwo(quint64 clientId, const char *response16) override
    {
        record(QStringLiteral("authenStateTwo %1 %2")
                   .arg(clientId)
                   .arg(QString::fromLatin1(QByteArray(response16, 16).toHex())));
    }
    void handleContestNameRequest(quint64 clientId) override
    {
        record(QStringLiteral("contestNameRequest %1").arg(clientId));
    }

private:
    void record(const QString &call) { m_log->append(m_name + ": " + call); }

    QString m_name;
    QStringList *m_log;
};

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

std::unique_ptr<BaseMessage> parsed(int type, const QByteArray &payload)
{
    std::unique_ptr<BaseMessage> message(MessageFactory::getInstance()->create(quint8(type)));
    if (message && message->parse(payload.constData(), payload.size()) != 0)
        message.reset();
    return message;
}

const quint64 CLIENT_ID = 9;
} // namespace

class TestHandlers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void serverSide_data();
    void serverSide();
    void contestResultDecodesLocal8Bit();
    void wrongType_data();
    void wrongType();
    void factory_data();
    void factory();

private:
    QStringList m_log;
    RecordingListener m_terminalController{"terminal", &m_log};
    RecordingListener m_businessController{"business", &m_log};
};

void TestHandlers::initTestCase()
{
    // The terminal business controller can be created by the first accepted
    // terminal, before the business controller registers: it must still be
    // called second.
    InputDispatcher::getInstance()->registerInput(&m_terminalController);
    InputDispatcher::getInstance()->registerBusinessController(&m_businessController);
}

void TestHandlers::init()
{
    m_log.clear();
}

void TestHandlers::serverSide_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("payload");
    // The type the message carries when handled: an encrypted frame's
    // message carries its plain type after decryption, but the handler
    // takes the encrypted number as well.
    QTest::addColumn<int>("carriedType");
    QTest::addColumn<QString>("call");

    QTest::newRow("contest enter") << 4 << hex("00000005 00000006 4b31303031 303030313233") << 4
                                   << "orderNumber 9 K1001 000123";
    QTest::newRow("contest enter, UTF-8 order number")
        << 4 << hex("00000002 00000003 4b31 c491 31") << 4
        << QString::fromUtf8("orderNumber 9 K1 đ1");
    QTest::newRow("contest enter as type 100")
        << 4 << hex("00000005 00000006 4b31303031 303030313233") << 100
        << "orderNumber 9 K1001 000123";
    QTest::newRow("contest result")
        << 6 << hex("0000002d 00000023 01 00000007 00000005 00000003 4b31303031 312c32") << 6
        << "contestResult 9 45 35 1 7 K1001 1,2";
    QTest::newRow("contest result as type 102")
        << 6 << hex("ffffffff 00000023 00 00000007 00000000 00000000") << 102
        << "contestResult 9 -1 35 0 7  ";
    QTest::newRow("info confirm") << 7 << hex("01 00000102 00") << 7 << "infoConfirm 9 258 1 0";
    QTest::newRow("info confirm as type 103, review") << 7 << hex("00 00000102 01") << 103
                                                     << "infoConfirm 9 258 0 1";
    QTest::newRow("handshake answer") << 11 << hex("a0a1a2a3a4a5a6a7a8a9aaabacadaeaf") << 11
                                      << "authenStateTwo 9 a0a1a2a3a4a5a6a7a8a9aaabacadaeaf";
    QTest::newRow("course list request") << 8 << hex("00 00000000 00000000") << 8
                                         << "contestNameRequest 9";
    // The terminal side's messages reach the server only as far as parsing.
    QTest::newRow("course list reply does nothing")
        << 8 << hex("01 00000001 00000001 41 42") << 8 << QString();
    QTest::newRow("course list of another kind does nothing")
        << 8 << hex("02 00000000 00000000") << 8 << QString();
    QTest::newRow("start sync video does nothing") << 1 << hex("41") << 1 << QString();
    QTest::newRow("sync video does nothing") << 2 << hex("41") << 2 << QString();
    QTest::newRow("end sync video does nothing") << 3 << QByteArray() << 3 << QString();
    QTest::newRow("enter response does nothing")
        << 5 << hex("000000000000000000000000000000000000000000000000") << 5 << QString();
    QTest::newRow("review does nothing") << 9 << hex("00000000") << 9 << QString();
    QTest::newRow("challenge does nothing") << 10 << QByteArray(16, '\0') << 10 << QString();
}

void TestHandlers::serverSide()
{
    QFETCH(int, type);
    QFETCH(QByteArray, payload);
    QFETCH(int, carriedType);
    QFETCH(QString, call);

    std::unique_ptr<BaseHandler> handler(HandlerFactory::getInstance()->create(quint8(carriedType)));
    QVERIFY(handler);
    handler->setClientId(qint32(CLIENT_ID));
    auto message = parsed(type, payload);
    QVERIFY(message);
    message->setType(quint8(carriedType));
    handler->setMessage(message.release());

    StdoutCapture capture;
    handler->handle(quint64(handler->getClientId()), handler->getMessage());
    const QByteArrayList lines = capture.stop();

    QCOMPARE(lines, QByteArrayList());
    const QStringList expected =
        call.isEmpty() ? QStringList() : QStringList{"business: " + call, "terminal: " + call};
    QCOMPARE(m_log, expected);
    // The frame reader queues only what acts: it must not drop a handler
    // that calls the hub, nor queue one that does nothing.
    QCOMPARE(handler->actsOnServer(), !call.isEmpty());
}

void TestHandlers::contestResultDecodesLocal8Bit()
{
    // The course code and answers are in the terminal's 8-bit code page;
    // under a Latin-1 locale the byte e9 is "é", not a broken UTF-8 sequence.
    QTextCodec *pinned = QTextCodec::codecForLocale();
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO-8859-1"));
    auto message = parsed(6, hex("00000001 00000002 01 00000003 00000002 00000001 4be9 e9"));
    QVERIFY(message);
    ContestResultHandler handler;
    handler.handle(CLIENT_ID, message.get());
    QTextCodec::setCodecForLocale(pinned);

    const QString call = QString::fromUtf8("contestResult 9 1 2 1 3 Ké é");
    QCOMPARE(m_log, QStringList({"business: " + call, "terminal: " + call}));
}

void TestHandlers::wrongType_data()
{
    QTest::addColumn<int>("handlerType");
    QTest::addColumn<bool>("serverSide");
    QTest::addColumn<QByteArray>("line");

    const QByteArray suffix = ": can not process message with type: \x07";
    QTest::newRow("contest enter") << 4 << true << "ContestEnterHandler" + suffix;
    QTest::newRow("contest result") << 6 << true << "ContestResultHandler" + suffix;
    QTest::newRow("handshake answer") << 11 << true << "AuthenStateTwoHandler" + suffix;
    QTest::newRow("course list") << 8 << true << "ContestNameHandler" + suffix;
    QTest::newRow("course list, terminal side") << 8 << false << "ContestNameHandler" + suffix;
    QTest::newRow("enter response") << 5 << false << "EnterResponseHandler" + suffix;
    QTest::newRow("challenge") << 10 << false << "AuthenStateOneHandler" + suffix;
    QTest::newRow("review") << 9 << false << "ReviewContestHandler" + suffix;
    QTest::newRow("sync video") << 2 << false << "SyncVideoHandler" + suffix;
    QTest::newRow("end sync video") << 3 << false << "EndSyncVideoHandler" + suffix;
    QTest::newRow("start sync video") << 1 << false << "StartSyncVideoHandler" + suffix;
}

void TestHandlers::wrongType()
{
    QFETCH(int, handlerType);
    QFETCH(bool, serverSide);
    QFETCH(QByteArray, line);

    // Every handler but InfoConfirm's is given an InfoConfirm message.
    std::unique_ptr<BaseHandler> handler(HandlerFactory::getInstance()->create(quint8(handlerType)));
    QVERIFY(handler);
    InfoConfirmMessage message;
    StdoutCapture capture;
    if (serverSide)
        handler->handle(CLIENT_ID, &message);
    else
        handler->handle(&message);
    const QByteArrayList lines = capture.stop();
    QCOMPARE(lines, QByteArrayList{line});
    QCOMPARE(m_log, QStringList());

    // InfoConfirm's handler refuses a message that only claims its type.
    std::unique_ptr<BaseMessage> other(MessageFactory::getInstance()->create(quint8(handlerType)));
    other->setType(7);
    InfoConfirmHandler infoConfirm;
    StdoutCapture second;
    infoConfirm.handle(CLIENT_ID, other.get());
    QCOMPARE(second.stop(),
             QByteArrayList{QByteArray("InfoConfirmHandler: can not process message with type: \x07")});
    QCOMPARE(m_log, QStringList());
}

void TestHandlers::factory_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("handlerClass");
    for (int type = 0; type < 256; ++type) {
        QByteArray name;
        switch (type) {
        case 1: name = typeid(StartSyncVideoHandler).name(); break;
        case 2: name = typeid(SyncVideoHandler).name(); break;
        case 3: name = typeid(EndSyncVideoHandler).name(); break;
        case 4: case 100: name = typeid(ContestEnterHandler).name(); break;
        case 5: case 101: name = typeid(EnterResponseHandler).name(); break;
        case 6: case 102: name = typeid(ContestResultHandler).name(); break;
        case 7: case 103: name = typeid(InfoConfirmHandler).name(); break;
        case 8: name = typeid(ContestNameHandler).name(); break;
        case 9: name = typeid(ReviewContestHandler).name(); break;
        case 10: name = typeid(AuthenStateOneHandler).name(); break;
        case 11: name = typeid(AuthenStateTwoHandler).name(); break;
        default: break;
        }
        QTest::addRow("%d", type) << type << name;
    }
}

void TestHandlers::factory()
{
    QFETCH(int, type);
    QFETCH(QByteArray, handlerClass);
    std::unique_ptr<BaseHandler> handler(HandlerFactory::getInstance()->create(quint8(type)));
    QCOMPARE(handler ? QByteArray(typeid(*handler).name()) : QByteArray(), handlerClass);
    if (handler) {
        QVERIFY(handler->getMessage() == nullptr);
        QCOMPARE(handler->getClientId(), 0);
    }
}

ORV_TEST_MAIN_CORE(TestHandlers)
#include "tst_handlers.moc"
