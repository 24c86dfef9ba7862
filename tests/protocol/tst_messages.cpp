// The payload of every terminal message, byte for byte: the vectors are
// written from the protocol's layout tables, not produced by the code under
// test. Also the refusals that protect the parser from lengths a terminal
// declares, and the encrypted payload layout.

#include "server/protocol/aescipher.h"
#include "server/protocol/authenstateonemessage.h"
#include "server/protocol/authenstatetwomessage.h"
#include "server/protocol/basemessage.h"
#include "server/protocol/contestentermessage.h"
#include "server/protocol/contestnamemessage.h"
#include "server/protocol/contestresultmessage.h"
#include "server/protocol/endsyncvideomessage.h"
#include "server/protocol/enterresponsemessage.h"
#include "server/protocol/infoconfirmmessage.h"
#include "server/protocol/messagefactory.h"
#include "server/protocol/reviewmessage.h"
#include "server/protocol/startsyncvideomessage.h"
#include "server/protocol/syncvideomessage.h"
#include "tests/protocol/messagedump.h"
#include "tests/support/testmain.h"

#include <memory>
#include <vector>

class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void knownPayloads_data();
    void knownPayloads();
    void settersRoundTrip();
    void minimumLength_data();
    void minimumLength();
    void declaredLengths_data();
    void declaredLengths();
    void encryptedPayload_data();
    void encryptedPayload();
    void encryptedRoundTripPerType_data();
    void encryptedRoundTripPerType();
    void factory_data();
    void factory();
};

namespace {
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

std::unique_ptr<BaseMessage> create(int type)
{
    return std::unique_ptr<BaseMessage>(MessageFactory::getInstance()->create(quint8(type)));
}
} // namespace

void TestMessages::knownPayloads_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("fields");

    QTest::newRow("1 start sync video") << 1 << hex("766964656f732f612e6d7034") << 15
                                        << "StartSyncVideo path=videos/a.mp4";
    QTest::newRow("2 sync video chunk") << 2 << hex("00ff10") << 6 << "SyncVideo data=00ff10";
    QTest::newRow("3 end sync video") << 3 << QByteArray() << 3 << "EndSyncVideo";
    QTest::newRow("4 contest enter")
        << 4 << hex("00000005 00000006 4b31303031 303030313233") << 22
        << "ContestEnter course=K1001 order=000123";
    QTest::newRow("4 contest enter, empty parts") << 4 << hex("00000000 00000000") << 11
                                                  << "ContestEnter course= order=";
    QTest::newRow("5 enter response")
        << 5
        << hex("00000001 00000002 00000102 0000000c 00000005 00000004"
               " 303132333435363738392020 4cc3aa2041 2f396a2f")
        << 48 << QString::fromUtf8("EnterResponse status=1 class=2 entry=258 id=[0123456789  ] "
                                   "name=Lê A portrait=/9j/");
    QTest::newRow("6 contest result")
        << 6 << hex("0000002d 00000023 01 00000007 00000005 00000003 4b31303031 312c32") << 32
        << "ContestResult score=45 pass=35 passed=1 entry=7 course=K1001 answers=1,2";
    QTest::newRow("6 contest result, negative score")
        << 6 << hex("ffffffff 00000023 00 80000000 00000000 00000000") << 24
        << "ContestResult score=-1 pass=35 passed=0 entry=-2147483648 course= answers=";
    QTest::newRow("7 info confirm") << 7 << hex("01 00000102 00") << 9
                                    << "InfoConfirm flag=1 entry=258 review=0";
    QTest::newRow("7 info confirm, review") << 7 << hex("00 7fffffff 01") << 9
                                            << "InfoConfirm flag=0 entry=2147483647 review=1";
    QTest::newRow("8 contest name request") << 8 << hex("00 00000000 00000000") << 12
                                            << "ContestName kind=0 codes= names=";
    QTest::newRow("8 contest name reply")
        << 8 << hex("01 0000000b 00000009 4b31303031 3b 4b31303032 4b686f61 3b 4c6f7032") << 32
        << "ContestName kind=1 codes=K1001;K1002 names=Khoa;Lop2";
    QTest::newRow("9 review") << 9 << hex("00000003 312c32") << 10 << "Review answers=1,2";
    QTest::newRow("9 review, no answers") << 9 << hex("00000000") << 7 << "Review answers=";
    QTest::newRow("10 challenge") << 10 << hex("000102030405060708090a0b0c0d0e0f") << 19
                                  << "AuthenStateOne challenge=000102030405060708090a0b0c0d0e0f";
    QTest::newRow("11 response") << 11 << hex("a0a1a2a3a4a5a6a7a8a9aaabacadaeaf") << 19
                                 << "AuthenStateTwo response=a0a1a2a3a4a5a6a7a8a9aaabacadaeaf";
}

void TestMessages::knownPayloads()
{
    QFETCH(int, type);
    QFETCH(QByteArray, payload);
    QFETCH(int, length);
    QFETCH(QString, fields);

    auto message = create(type);
    QVERIFY(message);
    QCOMPARE(int(message->getType()), type);
    QCOMPARE(message->parse(payload.constData(), payload.size()), 0);
    QCOMPARE(MessageDump::describe(message.get()), fields);
    QCOMPARE(int(message->getLength()), length);

    // Serializing gives the same bytes back, and needs every one of them.
    QByteArray out(payload.size(), '\x77');
    QCOMPARE(message->serialize(out.data(), out.size()), 0);
    QCOMPARE(out.toHex(), payload.toHex());
    if (!payload.isEmpty()) {
        QByteArray tooSmall(payload.size() - 1, '\x77');
        QCOMPARE(message->serialize(tooSmall.data(), tooSmall.size()), -1);
    }
}

void TestMessages::settersRoundTrip()
{
    std::vector<std::unique_ptr<BaseMessage>> messages;
    {
        auto m = std::make_unique<StartSyncVideoMessage>();
        m->setPath(QByteArray("videos/tình huống 1.mp4"));
        messages.push_back(std::move(m));
    }
    {
        auto m = std::make_unique<SyncVideoMessage>();
        m->setData(QByteArray(10240, '\xab'));
        messages.push_back(std::move(m));
    }
    messages.push_back(std::make_unique<EndSyncVideoMessage>());
    {
        auto m = std::make_unique<ContestEnterMessage>();
        m->setCourseCode("K2024-07");
        m->setOrderNumber("015");
        messages.push_back(std::move(m));
    }
    {
        auto m = std::make_unique<EnterResponseMessage>();
        m->setStatus(3);
        m->setLicenceClass(9);
        m->setEntryId(123456);
        m->setIdentityNumber("079123456   ");
        m->setFullName("Nguyễn Văn Bình");
        m->setPortrait(QByteArray(3000, 'Q'));
        messages.push_back(std::move(m));
    }
    {
        auto m = std::make_unique<ContestResultMessage>();
        m->setScore(-1);
        m->setPassMark(35);
        m->setPassed(true);
        m->setEntryId(99);
        m->setCourseCode("K1");
        m->setAnswers("1:3,2:4,3:5");
        messages.push_back(std::move(m));
    }
    {
        auto m = std::make_unique<InfoConfirmMessage>();
        m->setFlag(true);
        m->setEntryId(-5);
        m->setReview(true);
        messages.push_back(std::move(m));
    }
    {
        auto m = std::make_unique<ContestNameMessage>();
        m->setKind(ContestNameMessage::KIND_REPLY);
        m->setCourseCodes("A;B");
        m->setCourseNames("Khóa A;Khóa B");
        messages.push_back(std::move(m));
    }
    {
        auto m = std::make_unique<ReviewMessage>();
        m->setAnswers("1:1");
        messages.push_back(std::move(m));
    }
    {
        auto m = std::make_unique<AuthenStateOneMessage>();
        m->setChallenge(QByteArray::fromHex("0f0e0d0c0b0a09080706050403020100"));
        messages.push_back(std::move(m));
    }
    {
        auto m = std::make_unique<AuthenStateTwoMessage>();
        m->setResponse(QByteArray::fromHex("11223344"));
        messages.push_back(std::move(m));
    }

    for (const auto &message : messages) {
        const QString fields = MessageDump::describe(message.get());
        const int room = message->getLength() - 3;
        QByteArray payload(room, '\0');
        QVERIFY2(message->serialize(payload.data(), room) == 0, qPrintable(fields));
        QVERIFY2(room == 0 || message->serialize(payload.data(), room - 1) == -1,
                 qPrintable(fields));
        auto copy = create(message->getType());
        QCOMPARE(copy->parse(payload.constData(), payload.size()), 0);
        QCOMPARE(MessageDump::describe(copy.get()), fields);
        QCOMPARE(copy->getLength(), message->getLength());
    }
}

void TestMessages::minimumLength_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("minimum");
    QTest::newRow("1 start sync video") << 1 << 1;
    QTest::newRow("2 sync video") << 2 << 1;
    QTest::newRow("3 end sync video") << 3 << 0;
    QTest::newRow("4 contest enter") << 4 << 8;
    QTest::newRow("5 enter response") << 5 << 24;
    QTest::newRow("6 contest result") << 6 << 21;
    QTest::newRow("7 info confirm") << 7 << 6;
    QTest::newRow("8 contest name") << 8 << 9;
    QTest::newRow("9 review") << 9 << 4;
    QTest::newRow("10 challenge") << 10 << 16;
    QTest::newRow("11 response") << 11 << 16;
}

void TestMessages::minimumLength()
{
    QFETCH(int, type);
    QFETCH(int, minimum);
    // Zero bytes: every announced part is empty, so the fixed part alone is
    // a whole payload and one byte less is not.
    const QByteArray zeros(minimum, '\0');
    auto message = create(type);
    QCOMPARE(message->parse(zeros.constData(), minimum), 0);
    if (minimum > 0) {
        auto shorter = create(type);
        QCOMPARE(shorter->parse(zeros.constData(), minimum - 1), -1);
    }
}

void TestMessages::declaredLengths_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("result");

    QTest::newRow("4: parts fill the payload")
        << 4 << hex("00000005 00000006 4b31303031 303030313233") << 0;
    QTest::newRow("4: second part one byte more than present")
        << 4 << hex("00000005 00000007 4b31303031 303030313233") << -1;
    QTest::newRow("4: negative length") << 4 << hex("ffffffff 00000000 4b") << -1;
    // In 32-bit arithmetic 8 + 0x7fffffff + 0x7fffffff wraps to 6.
    QTest::newRow("4: lengths whose 32-bit sum wraps")
        << 4 << hex("7fffffff 7fffffff 4b31303031 303030313233") << -1;
    QTest::newRow("4: trailing bytes ignored") << 4 << hex("00000001 00000001 4b 30 ffff") << 0;
    QTest::newRow("5: third part missing")
        << 5 << hex("00000000 00000000 00000000 00000000 00000000 00000001") << -1;
    QTest::newRow("5: lengths whose 32-bit sum wraps")
        << 5 << hex("00000000 00000000 00000000 7fffffff 7fffffff 00000004 41424344") << -1;
    QTest::newRow("6: lengths whose 32-bit sum wraps")
        << 6 << hex("00000000 00000000 00 00000000 7fffffff 7fffffff 414243") << -1;
    QTest::newRow("6: negative answers length")
        << 6 << hex("00000000 00000000 00 00000000 00000000 fffffffe") << -1;
    QTest::newRow("8: lengths whose 32-bit sum wraps")
        << 8 << hex("01 7fffffff 7fffffff 4142434445") << -1;
    QTest::newRow("9: length beyond the payload") << 9 << hex("00000004 414243") << -1;
    QTest::newRow("9: negative length") << 9 << hex("80000000 414243") << -1;
}

void TestMessages::declaredLengths()
{
    QFETCH(int, type);
    QFETCH(QByteArray, payload);
    QFETCH(int, result);
    auto message = create(type);
    const QString before = MessageDump::describe(message.get());
    QCOMPARE(message->parse(payload.constData(), payload.size()), result);
    if (result < 0)
        QCOMPARE(MessageDump::describe(message.get()), before);
}

void TestMessages::encryptedPayload_data()
{
    QTest::addColumn<int>("pad");
    QTest::addColumn<int>("cipherSize");
    QTest::addColumn<int>("result");
    // The InfoConfirm payload (6 bytes) padded with zeros to cipherSize.
    QTest::newRow("16 bytes: no room for a block") << 0 << -1 << -1;
    QTest::newRow("17 bytes: pad and IV only") << 0 << 0 << -1;
    QTest::newRow("33 bytes: one block, pad 10, smallest accepted") << 10 << 16 << 0;
    QTest::newRow("40 bytes: 23 bytes of ciphertext") << 0 << 23 << -1;
    QTest::newRow("pad 16 over one block leaves nothing to parse") << 16 << 16 << -1;
    QTest::newRow("pad larger than the ciphertext") << 17 << 16 << -1;
    QTest::newRow("pad 0: the zero bytes are parsed too") << 0 << 16 << 0;
    QTest::newRow("pad leaving 5 bytes: too short for the class") << 11 << 16 << -1;
    QTest::newRow("three blocks") << 42 << 48 << 0;
}

void TestMessages::encryptedPayload()
{
    QFETCH(int, pad);
    QFETCH(int, cipherSize);
    QFETCH(int, result);

    const QByteArray key(32, '\x42');
    const QByteArray iv = QByteArray::fromHex("0f1e2d3c4b5a69788796a5b4c3d2e1f0");
    AesCipher cipher;
    cipher.setKey(key.constData(), key.size());

    // Payload 01 00000102 00: flag 1, entry 258, review 0.
    const QByteArray plain = hex("01 00000102 00");
    QByteArray blocks(qMax(0, cipherSize), '\0');
    for (int i = 0; i < qMin(plain.size(), blocks.size()); ++i)
        blocks[i] = plain[i];
    if (cipherSize > 0 && cipherSize % 16 == 0)
        QVERIFY(cipher.encryptCbcWithIv(iv.constData(), blocks.data(), blocks.size()));

    QByteArray payload;
    payload.append(char(pad));
    payload.append(iv);
    payload.append(blocks);
    if (cipherSize < 0)
        payload.chop(1);

    InfoConfirmMessage message(true);
    QCOMPARE(int(message.getType()), 103);
    QCOMPARE(message.parseEncrypted(payload.constData(), payload.size(), &cipher), result);
    if (result == 0) {
        QCOMPARE(MessageDump::describe(&message), QString("InfoConfirm flag=1 entry=258 review=0"));
        QCOMPARE(int(message.getType()), 7);
        QCOMPARE(int(message.getLength()), cipherSize - pad + 3);
    } else {
        QCOMPARE(int(message.getType()), 103);
    }
}

void TestMessages::encryptedRoundTripPerType_data()
{
    QTest::addColumn<int>("encryptedType");
    QTest::addColumn<int>("plainType");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QString>("fields");
    QTest::newRow("100") << 100 << 4 << hex("00000005 00000006 4b31303031 303030313233")
                         << "ContestEnter course=K1001 order=000123";
    QTest::newRow("101")
        << 101 << 5
        << hex("00000001 00000002 00000102 0000000c 00000005 00000004"
               " 303132333435363738392020 4cc3aa2041 2f396a2f")
        << QString::fromUtf8("EnterResponse status=1 class=2 entry=258 id=[0123456789  ] "
                             "name=Lê A portrait=/9j/");
    QTest::newRow("102")
        << 102 << 6 << hex("0000002d 00000023 01 00000007 00000005 00000003 4b31303031 312c32")
        << "ContestResult score=45 pass=35 passed=1 entry=7 course=K1001 answers=1,2";
    QTest::newRow("103") << 103 << 7 << hex("01 00000102 00")
                         << "InfoConfirm flag=1 entry=258 review=0";
}

void TestMessages::encryptedRoundTripPerType()
{
    QFETCH(int, encryptedType);
    QFETCH(int, plainType);
    QFETCH(QByteArray, plain);
    QFETCH(QString, fields);

    AesCipher cipher;
    const QByteArray iv(16, '\x01');
    const int pad = (16 - plain.size() % 16) % 16;
    QByteArray blocks = plain + QByteArray(pad, '\0');
    QVERIFY(cipher.encryptCbcWithIv(iv.constData(), blocks.data(), blocks.size()));
    const QByteArray payload = QByteArray(1, char(pad)) + iv + blocks;

    auto message = create(encryptedType);
    QCOMPARE(int(message->getType()), encryptedType);
    QCOMPARE(message->parseEncrypted(payload.constData(), payload.size(), &cipher), 0);
    QCOMPARE(int(message->getType()), plainType);
    QCOMPARE(int(message->getLength()), plain.size() + 3);
    QCOMPARE(MessageDump::describe(message.get()), fields);

    // A wrong key is not detected as such: its bytes are parsed as they come,
    // and never give the fields back.
    AesCipher other;
    const QByteArray otherKey(32, '\x07');
    other.setKey(otherKey.constData(), otherKey.size());
    auto wrong = create(encryptedType);
    if (wrong->parseEncrypted(payload.constData(), payload.size(), &other) == 0)
        QVERIFY(MessageDump::describe(wrong.get()) != fields);
}

void TestMessages::factory_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("kind");
    for (int type = 0; type < 256; ++type) {
        QString kind;
        switch (type) {
        case 1: kind = "StartSyncVideo"; break;
        case 2: kind = "SyncVideo"; break;
        case 3: kind = "EndSyncVideo"; break;
        case 4: case 100: kind = "ContestEnter"; break;
        case 5: case 101: kind = "EnterResponse"; break;
        case 6: case 102: kind = "ContestResult"; break;
        case 7: case 103: kind = "InfoConfirm"; break;
        case 8: kind = "ContestName"; break;
        case 9: kind = "Review"; break;
        case 10: kind = "AuthenStateOne"; break;
        case 11: kind = "AuthenStateTwo"; break;
        default: kind = "null"; break;
        }
        QTest::addRow("%d", type) << type << kind;
    }
}

void TestMessages::factory()
{
    QFETCH(int, type);
    QFETCH(QString, kind);
    auto message = create(type);
    QCOMPARE(MessageDump::describe(message.get()).section(' ', 0, 0), kind);
    if (message)
        QCOMPARE(int(message->getType()), type);
}

ORV_TEST_MAIN_CORE(TestMessages)
#include "tst_messages.moc"
