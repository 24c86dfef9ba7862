// The test terminal's own cipher, digests and layouts, pinned to published
// vectors and to the handshake vector computed with an independent tool, so
// that it can judge the server rather than agree with it.

#include "tests/support/testmain.h"
#include "tests/support/testterminalaes.h"
#include "tests/support/testterminalcrypto.h"
#include "tests/support/testterminalframe.h"
#include "tests/support/testterminalmessages.h"

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

const char *const Sp80038aKey = "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4";
const char *const Sp80038aIv = "000102030405060708090a0b0c0d0e0f";
const char *const Sp80038aPlain = "6bc1bee22e409f96e93d7e117393172a"
                                  "ae2d8a571e03ac9c9eb76fac45af8e51"
                                  "30c81c46a35ce411e5fbc1191a0a52ef"
                                  "f69f2445df4f9b17ad2b417be66c3710";
const char *const Sp80038aCipher = "f58c4c04d6e5f1ba779eabfb5f7bfbd6"
                                   "9cfc4e967edb808d679f777bc6702c7d"
                                   "39f23369a9d9bacfa530e26304231461"
                                   "b2eb05e2c39be9fcda6c19078c6a9d1b";

} // namespace

class TestTerminalCodec : public QObject
{
    Q_OBJECT

private slots:
    void aesBlock();
    void aesCbc();
    void aesRefusesBadSizes();
    void digests_data();
    void digests();
    void pbkdf2_data();
    void pbkdf2();
    void handshakeVector();
    void encryptedPayloadLayout_data();
    void encryptedPayloadLayout();
    void decryptRefusals_data();
    void decryptRefusals();
    void frames();
    void messageLayouts_data();
    void messageLayouts();
    void parseRefusals();
};

void TestTerminalCodec::aesBlock()
{
    // FIPS-197 appendix C.3.
    const TestTerminalAes aes(hex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f"));
    QVERIFY(aes.isValid());
    const QByteArray plain = hex("00112233445566778899aabbccddeeff");
    const QByteArray cipher = hex("8ea2b7ca516745bfeafc49904b496089");
    QCOMPARE(aes.encryptBlock(plain).toHex(), cipher.toHex());
    QCOMPARE(aes.decryptBlock(cipher).toHex(), plain.toHex());
}

void TestTerminalCodec::aesCbc()
{
    // SP 800-38A F.2.5 (encrypt) and F.2.6 (decrypt).
    const TestTerminalAes aes(hex(Sp80038aKey));
    QCOMPARE(aes.encryptCbc(hex(Sp80038aIv), hex(Sp80038aPlain)).toHex(), QByteArray(Sp80038aCipher));
    QCOMPARE(aes.decryptCbc(hex(Sp80038aIv), hex(Sp80038aCipher)).toHex(), QByteArray(Sp80038aPlain));
}

void TestTerminalCodec::aesRefusesBadSizes()
{
    QVERIFY(!TestTerminalAes(QByteArray(31, 'k')).isValid());
    QVERIFY(!TestTerminalAes(QByteArray(16, 'k')).isValid());
    const TestTerminalAes aes(QByteArray(32, 'k'));
    QVERIFY(aes.encryptCbc(QByteArray(16, 0), QByteArray(17, 0)).isEmpty());
    QVERIFY(aes.encryptCbc(QByteArray(15, 0), QByteArray(16, 0)).isEmpty());
    QVERIFY(aes.decryptBlock(QByteArray(15, 0)).isEmpty());
}

void TestTerminalCodec::digests_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("expected");
    // RFC 1321 and RFC 2202.
    QTest::newRow("md5 empty") << "md5" << QByteArray() << QByteArray("")
                               << QByteArray("d41d8cd98f00b204e9800998ecf8427e");
    QTest::newRow("md5 abc") << "md5" << QByteArray() << QByteArray("abc")
                             << QByteArray("900150983cd24fb0d6963f7d28e17f72");
    QTest::newRow("hmac 1") << "hmac" << QByteArray(20, '\x0b') << QByteArray("Hi There")
                            << QByteArray("b617318655057264e28bc0b6fb378c8ef146be00");
    QTest::newRow("hmac 2") << "hmac" << QByteArray("Jefe")
                            << QByteArray("what do ya want for nothing?")
                            << QByteArray("effcdf6ae5eb2fa2d27416d5f184df9c259a7c79");
    QTest::newRow("hmac long key")
        << "hmac" << QByteArray(80, '\xaa')
        << QByteArray("Test Using Larger Than Block-Size Key - Hash Key First")
        << QByteArray("aa4ae5e15272d00e95705637ce8a3b55ed402112");
}

void TestTerminalCodec::digests()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, expected);
    const QByteArray digest = kind == QLatin1String("md5")
                                  ? TestTerminalCrypto::md5(data)
                                  : TestTerminalCrypto::hmacSha1(key, data);
    QCOMPARE(digest.toHex(), expected);
}

void TestTerminalCodec::pbkdf2_data()
{
    // RFC 6070 (all but the sixteen-million-iteration case).
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<QByteArray>("salt");
    QTest::addColumn<int>("iterations");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("1 iteration") << QByteArray("password") << QByteArray("salt") << 1
                                 << QByteArray("0c60c80f961f0e71f3a9b524af6012062fe037a6");
    QTest::newRow("2 iterations") << QByteArray("password") << QByteArray("salt") << 2
                                  << QByteArray("ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957");
    QTest::newRow("4096 iterations") << QByteArray("password") << QByteArray("salt") << 4096
                                     << QByteArray("4b007901b765489abead49d926f721d065a429c1");
    QTest::newRow("two blocks")
        << QByteArray("passwordPASSWORDpassword")
        << QByteArray("saltSALTsaltSALTsaltSALTsaltSALTsalt") << 4096
        << QByteArray("3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038");
    QTest::newRow("embedded zero") << QByteArray("pass\0word", 9) << QByteArray("sa\0lt", 5)
                                   << 4096 << QByteArray("56fa6aa75548099dcc37d7f03425e0c3");
}

void TestTerminalCodec::pbkdf2()
{
    QFETCH(QByteArray, password);
    QFETCH(QByteArray, salt);
    QFETCH(int, iterations);
    QFETCH(QByteArray, expected);
    const int size = expected.size() / 2;
    QCOMPARE(TestTerminalCrypto::pbkdf2HmacSha1(password, salt, iterations, size).toHex(),
             expected);
}

void TestTerminalCodec::handshakeVector()
{
    QCOMPARE(TestTerminalCrypto::secret().size(), 57);
    QByteArray challenge;
    for (int i = 0; i < 16; ++i)
        challenge.append(static_cast<char>(i));
    QCOMPARE(TestTerminalCrypto::handshakeResponse(challenge).toHex(),
             QByteArray("32749a4b12d4d99ee62992476e3a4c1d"));
    QCOMPARE(TestTerminalCrypto::handshakeKey(challenge).toHex(),
             QByteArray("05814d3d39521ef49666e60718464e2412171ee2badf387ad22a03d2a730b9a5"));
}

void TestTerminalCodec::encryptedPayloadLayout_data()
{
    QTest::addColumn<int>("plainSize");
    QTest::addColumn<int>("pad");
    QTest::addColumn<int>("frameLength");
    QTest::newRow("info confirm") << 6 << 10 << 36;
    QTest::newRow("one block") << 16 << 0 << 36;
    QTest::newRow("three blocks") << 48 << 0 << 68;
    QTest::newRow("just over") << 49 << 15 << 84;
}

void TestTerminalCodec::encryptedPayloadLayout()
{
    QFETCH(int, plainSize);
    QFETCH(int, pad);
    QFETCH(int, frameLength);
    const QByteArray key = hex(Sp80038aKey);
    const QByteArray iv = hex(Sp80038aIv);
    const QByteArray plain = hex(Sp80038aPlain).left(plainSize);
    const QByteArray payload = TestTerminalCrypto::encryptPayload(key, iv, plain);
    QCOMPARE(payload.size() + 3, frameLength);
    QCOMPARE(static_cast<int>(payload.at(0)), pad);
    QCOMPARE(payload.mid(1, 16), iv);
    // Zero padding, then the published cipher: the blocks that hold only
    // vector bytes must match it.
    const QByteArray padded = plain + QByteArray(pad, '\0');
    QCOMPARE(payload.mid(17), TestTerminalAes(key).encryptCbc(iv, padded));
    const int wholeBlocks = plainSize / 16;
    QCOMPARE(payload.mid(17, 16 * wholeBlocks), hex(Sp80038aCipher).left(16 * wholeBlocks));
    QByteArray back;
    QVERIFY(TestTerminalCrypto::decryptPayload(key, payload, &back));
    QCOMPARE(back, plain);
}

void TestTerminalCodec::decryptRefusals_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("plainSize");
    QTest::newRow("pad and IV only") << QByteArray(17, '\0') << false << 0;
    QTest::newRow("16 bytes") << QByteArray(16, '\0') << false << 0;
    QTest::newRow("smallest") << QByteArray(33, '\0') << true << 16;
    QTest::newRow("partial block") << QByteArray(40, '\0') << false << 0;
    QTest::newRow("pad 16 of 16") << (QByteArray(1, '\x10') + QByteArray(32, '\0')) << true << 0;
    QTest::newRow("pad over cipher") << (QByteArray(1, '\x11') + QByteArray(32, '\0')) << false << 0;
}

void TestTerminalCodec::decryptRefusals()
{
    QFETCH(QByteArray, payload);
    QFETCH(bool, accepted);
    QFETCH(int, plainSize);
    QByteArray plain("untouched");
    QCOMPARE(TestTerminalCrypto::decryptPayload(QByteArray(32, 'k'), payload, &plain), accepted);
    if (accepted)
        QCOMPARE(plain.size(), plainSize);
}

void TestTerminalCodec::frames()
{
    QCOMPARE(TestTerminalFrame::encode(10, QByteArray(16, 'c')).left(3).toHex(),
             QByteArray("00130a"));
    QVERIFY(TestTerminalFrame::encode(2, QByteArray(65532, 'x')).size() == 65535);
    QVERIFY(TestTerminalFrame::encode(2, QByteArray(65533, 'x')).isEmpty());

    // Two frames and the start of a third, as one read may deliver them.
    QByteArray buffer = TestTerminalFrame::encode(3, QByteArray())
                        + TestTerminalFrame::encode(8, hex("010000000100000001")
                                                           + QByteArray("AB"))
                        + TestTerminalFrame::encode(9, QByteArray(20, 'r')).left(5);
    TestTerminalFrame frame;
    QCOMPARE(TestTerminalFrame::take(&buffer, &frame), TestTerminalFrame::Complete);
    QCOMPARE(frame.type, 3);
    QCOMPARE(frame.length(), 3);
    QCOMPARE(TestTerminalFrame::take(&buffer, &frame), TestTerminalFrame::Complete);
    QCOMPARE(frame.type, 8);
    QCOMPARE(frame.length(), 14);
    QCOMPARE(TestTerminalFrame::take(&buffer, &frame), TestTerminalFrame::Incomplete);
    QCOMPARE(buffer.size(), 5);

    QByteArray invalid = hex("000201");
    QCOMPARE(TestTerminalFrame::take(&invalid, &frame), TestTerminalFrame::Invalid);
}

void TestTerminalCodec::messageLayouts_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("expected");
    using M = TestTerminalMessages;
    QTest::newRow("contest enter") << M::contestEnter("K0001", "000123")
                                   << hex("0000000500000006") + QByteArray("K0001000123");
    M::EnterResponseFields response;
    response.status = 1;
    response.rankIndex = 2;
    response.entryId = 0x01020304;
    response.soCmt = "012345678901";
    response.name = "Lan";
    response.portrait = "/9j/";
    QTest::newRow("enter response")
        << M::enterResponse(response)
        << hex("00000001" "00000002" "01020304" "0000000c" "00000003" "00000004")
               + QByteArray("012345678901Lan/9j/");
    QTest::newRow("contest result")
        << M::contestResult(45, 35, true, 7, "K1", "1,2")
        << hex("0000002d" "00000023" "01" "00000007" "00000002" "00000003") + QByteArray("K11,2");
    QTest::newRow("info confirm") << M::infoConfirm(false, -1, true) << hex("00ffffffff01");
    QTest::newRow("name request") << M::contestNameRequest() << hex("000000000000000000");
    QTest::newRow("name reply") << M::contestNameReply("A;B", "x;y")
                                << hex("01" "00000003" "00000003") + QByteArray("A;Bx;y");
    QTest::newRow("empty review") << M::review(QByteArray()) << hex("00000000");
    QTest::newRow("video start") << M::startSyncVideo("./videos/a.mp4")
                                 << QByteArray("./videos/a.mp4");
    QTest::newRow("video end") << M::endSyncVideo() << QByteArray();
}

void TestTerminalCodec::messageLayouts()
{
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, expected);
    QCOMPARE(payload.toHex(), expected.toHex());
}

void TestTerminalCodec::parseRefusals()
{
    using M = TestTerminalMessages;
    M::ContestEnterFields enter;
    // len1 5, len2 6 and 19 bytes in all; then len2 one more than present.
    QVERIFY(M::parseContestEnter(hex("0000000500000006") + QByteArray("abcdeABCDEF"), &enter));
    QCOMPARE(enter.courseCode, QByteArray("abcde"));
    QCOMPARE(enter.orderNumber, QByteArray("ABCDEF"));
    QVERIFY(!M::parseContestEnter(hex("0000000500000007") + QByteArray("abcdeABCDEF"), &enter));
    QVERIFY(!M::parseContestEnter(hex("ffffffff00000000"), &enter));
    QVERIFY(!M::parseContestEnter(hex("7fffffff7fffffff") + QByteArray("x"), &enter));

    M::EnterResponseFields response;
    response.name = "Lan";
    response.portrait = QByteArray(3000, 'p');
    M::EnterResponseFields back;
    QVERIFY(M::parseEnterResponse(M::enterResponse(response), &back));
    QCOMPARE(back.name, response.name);
    QCOMPARE(back.portrait.size(), 3000);
    QVERIFY(!M::parseEnterResponse(M::enterResponse(response).chopped(1), &back));
    QVERIFY(!M::parseEnterResponse(QByteArray(23, '\0'), &back));

    M::ContestNameFields names;
    QVERIFY(M::parseContestName(M::contestNameReply("A;B", "x;y"), &names));
    QVERIFY(names.reply);
    QCOMPARE(names.names, QByteArray("x;y"));
    QVERIFY(!M::parseContestName(QByteArray(8, '\0'), &names));

    QByteArray answers("untouched");
    QVERIFY(M::parseReview(hex("00000000"), &answers));
    QVERIFY(answers.isEmpty());
    QVERIFY(!M::parseReview(hex("00000002") + "x", &answers));

    QByteArray bytes;
    QVERIFY(!M::parseAuthen(QByteArray(15, 'c'), &bytes));
    QVERIFY(M::parseAuthen(QByteArray(16, 'c'), &bytes));
}

ORV_TEST_MAIN_CORE(TestTerminalCodec)
#include "tst_terminalcodec.moc"
