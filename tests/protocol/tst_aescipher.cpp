// AES-256 against the published vectors, and the guarantees the protocol
// relies on: the IV outlives a pass, partial blocks are refused, and
// concurrent set-IV-and-pass operations on one cipher do not mix.

#include "server/protocol/aescipher.h"
#include "tests/support/testmain.h"

#include <thread>

class TestAesCipher : public QObject
{
    Q_OBJECT

private slots:
    void fips197Block();
    void cbcVectors_data();
    void cbcVectors();
    void passLeavesIvUnchanged();
    void partialBlocksRefused_data();
    void partialBlocksRefused();
    void shortKeyAndIvIgnored();
    void concurrentPassesKeepTheirIv();
};

namespace {
const QByteArray SP800_KEY =
    QByteArray::fromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
const QByteArray SP800_IV = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");
const QByteArray SP800_PLAIN = QByteArray::fromHex(
    "6bc1bee22e409f96e93d7e117393172a"
    "ae2d8a571e03ac9c9eb76fac45af8e51"
    "30c81c46a35ce411e5fbc1191a0a52ef"
    "f69f2445df4f9b17ad2b417be66c3710");
const QByteArray SP800_CIPHER = QByteArray::fromHex(
    "f58c4c04d6e5f1ba779eabfb5f7bfbd6"
    "9cfc4e967edb808d679f777bc6702c7d"
    "39f23369a9d9bacfa530e26304231461"
    "b2eb05e2c39be9fcda6c19078c6a9d1b");
} // namespace

void TestAesCipher::fips197Block()
{
    // FIPS-197 appendix C.3: AES-256, one block.
    AesCipher cipher;
    const QByteArray key = QByteArray::fromHex(
        "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
    cipher.setKey(key.constData(), key.size());
    quint32 roundKeys[AesCipher::ROUND_KEY_WORDS];
    cipher.expandKey(roundKeys);
    QByteArray block = QByteArray::fromHex("00112233445566778899aabbccddeeff");
    cipher.encryptBlock(roundKeys, reinterpret_cast<uchar *>(block.data()));
    QCOMPARE(block.toHex(), QByteArray("8ea2b7ca516745bfeafc49904b496089"));
    cipher.decryptBlock(roundKeys, reinterpret_cast<uchar *>(block.data()));
    QCOMPARE(block.toHex(), QByteArray("00112233445566778899aabbccddeeff"));
}

void TestAesCipher::cbcVectors_data()
{
    QTest::addColumn<bool>("encrypt");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    // SP 800-38A F.2.5 and F.2.6, CBC-AES256, four blocks; the first two
    // blocks alone, as the protocol's short payloads are.
    QTest::newRow("F.2.5 encrypt") << true << SP800_PLAIN << SP800_CIPHER;
    QTest::newRow("F.2.6 decrypt") << false << SP800_CIPHER << SP800_PLAIN;
    QTest::newRow("F.2.5 two blocks") << true << SP800_PLAIN.left(32) << SP800_CIPHER.left(32);
    QTest::newRow("F.2.6 two blocks") << false << SP800_CIPHER.left(32) << SP800_PLAIN.left(32);
}

void TestAesCipher::cbcVectors()
{
    QFETCH(bool, encrypt);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    AesCipher cipher;
    cipher.setKey(SP800_KEY.constData(), SP800_KEY.size());
    cipher.setIV(SP800_IV.constData(), SP800_IV.size());
    QByteArray buffer = input;
    const bool ok = encrypt ? cipher.encryptCbc(buffer.data(), buffer.size())
                            : cipher.decryptCbc(buffer.data(), buffer.size());
    QVERIFY(ok);
    QCOMPARE(buffer.toHex(), expected.toHex());

    // The combined call gives the same result from any earlier IV.
    AesCipher other;
    other.setKey(SP800_KEY.constData(), SP800_KEY.size());
    buffer = input;
    QVERIFY(encrypt ? other.encryptCbcWithIv(SP800_IV.constData(), buffer.data(), buffer.size())
                    : other.decryptCbcWithIv(SP800_IV.constData(), buffer.data(), buffer.size()));
    QCOMPARE(buffer.toHex(), expected.toHex());
}

void TestAesCipher::passLeavesIvUnchanged()
{
    AesCipher cipher;
    cipher.setKey(SP800_KEY.constData(), SP800_KEY.size());
    cipher.setIV(SP800_IV.constData(), SP800_IV.size());
    QByteArray first = SP800_PLAIN;
    QByteArray second = SP800_PLAIN;
    QVERIFY(cipher.encryptCbc(first.data(), first.size()));
    QVERIFY(cipher.encryptCbc(second.data(), second.size()));
    QCOMPARE(second, first);
    QVERIFY(cipher.decryptCbc(second.data(), second.size()));
    QCOMPARE(second, SP800_PLAIN);
}

void TestAesCipher::partialBlocksRefused_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("one byte short of a block") << 15;
    QTest::newRow("one block and a byte") << 17;
    QTest::newRow("negative") << -16;
}

void TestAesCipher::partialBlocksRefused()
{
    QFETCH(int, size);
    // A pass over a partial block would read and write past the caller's
    // bytes; it must not touch anything at all.
    AesCipher cipher;
    QByteArray buffer(64, '\x5a');
    const QByteArray before = buffer;
    QVERIFY(!cipher.encryptCbc(buffer.data(), size));
    QVERIFY(!cipher.decryptCbc(buffer.data(), size));
    QCOMPARE(buffer, before);
}

void TestAesCipher::shortKeyAndIvIgnored()
{
    AesCipher cipher;
    cipher.setKey(SP800_KEY.constData(), SP800_KEY.size());
    cipher.setIV(SP800_IV.constData(), SP800_IV.size());
    const QByteArray otherKey(31, '\x11');
    const QByteArray otherIv(15, '\x22');
    cipher.setKey(otherKey.constData(), otherKey.size());
    cipher.setIV(otherIv.constData(), otherIv.size());
    QByteArray buffer = SP800_PLAIN.left(16);
    QVERIFY(cipher.encryptCbc(buffer.data(), buffer.size()));
    QCOMPARE(buffer.toHex(), SP800_CIPHER.left(16).toHex());
}

void TestAesCipher::concurrentPassesKeepTheirIv()
{
    // A receive thread decrypting while a sender encrypts on the same
    // cipher: each operation must use the IV it set.
    AesCipher cipher;
    cipher.setKey(SP800_KEY.constData(), SP800_KEY.size());
    const QByteArray otherIv = QByteArray::fromHex("ffeeddccbbaa99887766554433221100");
    AesCipher reference;
    reference.setKey(SP800_KEY.constData(), SP800_KEY.size());
    QByteArray otherExpected = SP800_PLAIN;
    QVERIFY(reference.encryptCbcWithIv(otherIv.constData(), otherExpected.data(),
                                       otherExpected.size()));

    int mismatches = 0;
    std::thread decryptor([&] {
        for (int i = 0; i < 2000; ++i) {
            QByteArray buffer = SP800_CIPHER;
            cipher.decryptCbcWithIv(SP800_IV.constData(), buffer.data(), buffer.size());
            if (buffer != SP800_PLAIN)
                ++mismatches;
        }
    });
    int otherMismatches = 0;
    for (int i = 0; i < 2000; ++i) {
        QByteArray buffer = SP800_PLAIN;
        cipher.encryptCbcWithIv(otherIv.constData(), buffer.data(), buffer.size());
        if (buffer != otherExpected)
            ++otherMismatches;
    }
    decryptor.join();
    QCOMPARE(mismatches, 0);
    QCOMPARE(otherMismatches, 0);
}

ORV_TEST_MAIN_CORE(TestAesCipher)
#include "tst_aescipher.moc"
