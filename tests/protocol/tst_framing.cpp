// Frames on the wire: the byte buffer's growth rule, the frame reader with
// the exact lines it writes, and the frame writer's plain and encrypted
// frames, including the frames it must refuse to build.

#include "server/protocol/aescipher.h"
#include "server/protocol/basehandler.h"
#include "server/protocol/basemessage.h"
#include "server/protocol/bytebuffer.h"
#include "server/protocol/consoleoutput.h"
#include "server/protocol/contestentermessage.h"
#include "server/protocol/contestnamemessage.h"
#include "server/protocol/enterresponsemessage.h"
#include "server/protocol/framecodec.h"
#include "server/protocol/infoconfirmmessage.h"
#include "server/protocol/syncvideomessage.h"
#include "tests/protocol/messagedump.h"
#include "tests/support/stdoutcapture.h"
#include "tests/support/testmain.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

class TestFraming : public QObject
{
    Q_OBJECT

private slots:
    void bufferGrowth_data();
    void bufferGrowth();
    void bufferReadAndDrop();
    void reader_data();
    void reader();
    void readerStopsWhenRefused();
    void readerCompletesSplitFrame();
    void readerDecryptsWithConnectionCipher();
    void writerPlainFrames_data();
    void writerPlainFrames();
    void writerEncryptedFrames_data();
    void writerEncryptedFrames();
    void writerFreshIvPerFrame();
    void writerRefuses_data();
    void writerRefuses();
    void diagnosticLinesStayWhole();

private:
    // What one reader call left behind.
    struct ReadResult
    {
        std::vector<std::unique_ptr<BaseHandler>> handlers;
        QByteArrayList lines;
        QByteArray remaining;
    };
    static ReadResult readFrames(const FrameCodec &codec, std::string &accumulated);
};

namespace {
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

std::string bytes(const QByteArray &array)
{
    return std::string(array.constData(), size_t(array.size()));
}

QByteArray toArray(const std::string &text)
{
    return QByteArray(text.data(), int(text.size()));
}

const quint64 CLIENT_ID = 42;

// Frames written from the layout tables.
const char *INFO_CONFIRM_FRAME = "0009 07 01 00000102 00";
const char *CONTEST_NAME_REQUEST_FRAME = "000c 08 00 00000000 00000000";
const char *CONTEST_ENTER_FRAME = "0016 04 00000005 00000006 4b31303031 303030313233";
} // namespace

TestFraming::ReadResult TestFraming::readFrames(const FrameCodec &codec, std::string &accumulated)
{
    ReadResult result;
    StdoutCapture capture;
    codec.parseMessages(accumulated, CLIENT_ID, [&result](BaseHandler *handler) {
        result.handlers.emplace_back(handler);
        return true;
    });
    result.lines = capture.stop();
    result.remaining = toArray(accumulated);
    return result;
}

void TestFraming::bufferGrowth_data()
{
    QTest::addColumn<int>("appended");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("readPos");
    QTest::addColumn<int>("end");
    // From capacity 4096 with readPos 1000 and end 4000 (3000 unread).
    QTest::newRow("fits behind end: copied in place") << 50 << 4096 << 1000 << 4050;
    QTest::newRow("exactly fills the storage") << 96 << 4096 << 1000 << 4096;
    QTest::newRow("fits once compacted: storage shrinks to the need") << 200 << 3200 << 0 << 3200;
    QTest::newRow("need equals capacity") << 1096 << 4096 << 0 << 4096;
    QTest::newRow("more than the capacity: half as large again") << 1500 << 6144 << 0 << 4500;
    QTest::newRow("more than half as large again: the need") << 5000 << 8000 << 0 << 8000;
}

void TestFraming::bufferGrowth()
{
    QFETCH(int, appended);
    QFETCH(int, capacity);
    QFETCH(int, readPos);
    QFETCH(int, end);

    QByteArray written(4000, '\0');
    for (int i = 0; i < written.size(); ++i)
        written[i] = char(i % 251);
    ByteBuffer buffer;
    QCOMPARE(buffer.capacity(), quint64(4096));
    buffer.append(written.constData(), quint64(written.size()));
    QByteArray consumed(1000, '\0');
    QVERIFY(buffer.read(consumed.data(), 1000));
    QCOMPARE(buffer.readPos(), quint64(1000));

    const QByteArray more(appended, '\x5c');
    buffer.append(more.constData(), quint64(more.size()));
    QCOMPARE(buffer.capacity(), quint64(capacity));
    QCOMPARE(buffer.readPos(), quint64(readPos));
    QCOMPARE(buffer.end(), quint64(end));
    const QByteArray unread(buffer.unreadData(), int(buffer.unreadCount()));
    QCOMPARE(unread, written.mid(1000) + more);
}

void TestFraming::bufferReadAndDrop()
{
    const QByteArray source = hex("0102030405");
    ByteBuffer buffer(source.constData(), quint64(source.size()));
    QCOMPARE(buffer.capacity(), quint64(5));
    QCOMPARE(buffer.end(), quint64(5));

    quint16 raw = 0;
    QVERIFY(buffer.peekUInt16(&raw));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&raw), 2), hex("0102"));
    QCOMPARE(buffer.readPos(), quint64(0));

    char out[8] = {};
    QVERIFY(!buffer.read(out, 6));
    QCOMPARE(buffer.readPos(), quint64(0));
    QVERIFY(buffer.read(out, 4));
    QCOMPARE(QByteArray(out, 4), hex("01020304"));
    QVERIFY(!buffer.peekUInt16(&raw));

    // More than the unread count: nothing changes.
    buffer.dropFront(2);
    QCOMPARE(buffer.readPos(), quint64(4));
    QCOMPARE(buffer.end(), quint64(5));

    ByteBuffer pending;
    const QByteArray frames = hex("aabbccddee");
    pending.append(frames.constData(), quint64(frames.size()));
    pending.dropFront(2);
    QCOMPARE(pending.readPos(), quint64(0));
    QCOMPARE(pending.end(), quint64(3));
    QCOMPARE(QByteArray(pending.unreadData(), 3), hex("ccddee"));
    pending.dropFront(3);
    QCOMPARE(pending.unreadCount(), quint64(0));
}

void TestFraming::reader_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QList<int>>("queuedTypes");
    QTest::addColumn<QByteArray>("remaining");
    QTest::addColumn<QByteArrayList>("lines");

    const QByteArray infoConfirm = hex(INFO_CONFIRM_FRAME);
    const QByteArray nameRequest = hex(CONTEST_NAME_REQUEST_FRAME);

    QTest::newRow("one frame") << infoConfirm << QList<int>{7} << QByteArray() << QByteArrayList();
    QTest::newRow("two frames and half a third")
        << infoConfirm + nameRequest + infoConfirm.left(5) << QList<int>{7, 8} << infoConfirm.left(5)
        << QByteArrayList{"Message length is not enough"};
    QTest::newRow("one byte") << hex("00") << QList<int>() << hex("00") << QByteArrayList();
    QTest::newRow("two bytes") << hex("0009") << QList<int>() << hex("0009") << QByteArrayList();
    QTest::newRow("header only of a longer frame")
        << hex("000907") << QList<int>() << hex("000907")
        << QByteArrayList{"Message length is not enough"};
    QTest::newRow("length 0 drops what follows")
        << hex("0000") + infoConfirm << QList<int>() << QByteArray()
        << QByteArrayList{"Message length is invalid"};
    QTest::newRow("length 2") << hex("000207") + infoConfirm << QList<int>() << QByteArray()
                              << QByteArrayList{"Message length is invalid"};
    QTest::newRow("frames before a bad length stay queued")
        << infoConfirm + hex("0001ff") + nameRequest << QList<int>{7} << QByteArray()
        << QByteArrayList{"Message length is invalid"};
    QTest::newRow("type 200")
        << hex("0003c8") + infoConfirm << QList<int>() << QByteArray()
        << QByteArrayList{"Create message failed. Message type = 200"};
    QTest::newRow("type 12") << hex("00040c00") << QList<int>() << QByteArray()
                             << QByteArrayList{"Create message failed. Message type = 12"};
    QTest::newRow("short contest enter")
        << hex("0007 04 00000000") + infoConfirm << QList<int>() << QByteArray()
        << QByteArrayList{"Parse message failed. Message type = 4"};
    QTest::newRow("good frame after a bad one is dropped with it")
        << nameRequest + hex("0007 04 00000000") + infoConfirm << QList<int>{8} << QByteArray()
        << QByteArrayList{"Parse message failed. Message type = 4"};
    QTest::newRow("start sync video without a path")
        << hex("000301") << QList<int>() << QByteArray()
        << QByteArrayList{"Parse message failed. Message type = 1"};
    QTest::newRow("encrypted frame without ciphertext")
        << hex("0014 67 00 00000000000000000000000000000000") << QList<int>() << QByteArray()
        << QByteArrayList{"Parse message failed. Message type = 103"};
    // The server's own types and a course-list reply parse, but would change
    // nothing here: read and dropped, without a line.
    QTest::newRow("every plain type: those that act on the server queued")
        << hex("000e 01 766964656f732f61 2e6d70") + hex("0004 02 00") + hex("0003 03")
               + hex(CONTEST_ENTER_FRAME) + hex("001b 05 000000000000000000000000000000000000000000000000")
               + hex("0018 06 000000000000000000000000000000000000000000")
               + infoConfirm + nameRequest + hex("0007 09 00000000")
               + hex("0013 0a 000102030405060708090a0b0c0d0e0f")
               + hex("0013 0b 000102030405060708090a0b0c0d0e0f")
        << QList<int>{4, 6, 7, 8, 11} << QByteArray() << QByteArrayList();
    QTest::newRow("course-list reply dropped")
        << hex("000e 08 01 00000001 00000001 41 42") + infoConfirm << QList<int>{7} << QByteArray()
        << QByteArrayList();
    QTest::newRow("5000 empty end-of-video frames dropped")
        << hex("000303").repeated(5000) + nameRequest << QList<int>{8} << QByteArray()
        << QByteArrayList();
}

void TestFraming::reader()
{
    QFETCH(QByteArray, received);
    QFETCH(QList<int>, queuedTypes);
    QFETCH(QByteArray, remaining);
    QFETCH(QByteArrayList, lines);

    AesCipher cipher;
    FrameCodec codec(&cipher);
    std::string accumulated = bytes(received);
    const ReadResult result = readFrames(codec, accumulated);

    QCOMPARE(result.lines, lines);
    QCOMPARE(result.remaining.toHex(), remaining.toHex());
    QList<int> types;
    for (const auto &handler : result.handlers) {
        QVERIFY(handler->getMessage() != nullptr);
        QCOMPARE(handler->getClientId(), qint32(CLIENT_ID));
        types << handler->getMessage()->getType();
    }
    QCOMPARE(types, queuedTypes);
}

// The connection may queue no more: the reader stops at the refused frame
// and keeps nothing of what follows.
void TestFraming::readerStopsWhenRefused()
{
    AesCipher cipher;
    FrameCodec codec(&cipher);
    const QByteArray infoConfirm = hex(INFO_CONFIRM_FRAME);
    std::string accumulated =
        bytes(infoConfirm + hex(CONTEST_NAME_REQUEST_FRAME) + infoConfirm + infoConfirm.left(4));
    std::vector<std::unique_ptr<BaseHandler>> taken;
    int offered = 0;
    StdoutCapture capture;
    codec.parseMessages(accumulated, CLIENT_ID, [&](BaseHandler *handler) {
        std::unique_ptr<BaseHandler> owned(handler);
        if (++offered == 2)
            return false;
        taken.push_back(std::move(owned));
        return true;
    });
    const QByteArrayList lines = capture.stop();
    QCOMPARE(offered, 2);
    QCOMPARE(int(taken.size()), 1);
    QCOMPARE(int(taken.front()->getMessage()->getType()), 7);
    QVERIFY(accumulated.empty());
    QCOMPARE(lines, QByteArrayList());
}

void TestFraming::readerCompletesSplitFrame()
{
    AesCipher cipher;
    FrameCodec codec(&cipher);
    const QByteArray frame = hex(CONTEST_ENTER_FRAME);

    std::string accumulated = bytes(frame.left(10));
    ReadResult first = readFrames(codec, accumulated);
    QVERIFY(first.handlers.empty());
    QCOMPARE(first.remaining, frame.left(10));

    accumulated += bytes(frame.mid(10) + frame.left(2));
    ReadResult second = readFrames(codec, accumulated);
    QCOMPARE(second.lines, QByteArrayList());
    QCOMPARE(second.remaining, frame.left(2));
    QCOMPARE(int(second.handlers.size()), 1);
    const BaseMessage *message = second.handlers.front()->getMessage();
    QCOMPARE(MessageDump::describe(message), QString("ContestEnter course=K1001 order=000123"));
    QCOMPARE(int(message->getLength()), 22);
}

void TestFraming::readerDecryptsWithConnectionCipher()
{
    // An encrypted frame built by hand: pad 10, IV, one block holding the
    // InfoConfirm payload 01 00000102 00 and ten zero bytes.
    AesCipher cipher;
    const QByteArray key(32, '\x33');
    cipher.setKey(key.constData(), key.size());
    const QByteArray iv = hex("00112233445566778899aabbccddeeff");
    QByteArray block = hex("01 00000102 00") + QByteArray(10, '\0');
    AesCipher encryptor;
    encryptor.setKey(key.constData(), key.size());
    QVERIFY(encryptor.encryptCbcWithIv(iv.constData(), block.data(), block.size()));
    const QByteArray frame = hex("0024 67 0a") + iv + block;
    QCOMPARE(frame.size(), 36);

    FrameCodec codec(&cipher);
    std::string accumulated = bytes(frame);
    ReadResult result = readFrames(codec, accumulated);
    QCOMPARE(result.lines, QByteArrayList());
    QCOMPARE(int(result.handlers.size()), 1);
    const BaseMessage *message = result.handlers.front()->getMessage();
    QCOMPARE(int(message->getType()), 7);
    QCOMPARE(int(message->getLength()), 9);
    QCOMPARE(MessageDump::describe(message), QString("InfoConfirm flag=1 entry=258 review=0"));
}

void TestFraming::writerPlainFrames_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("info confirm") << 0 << hex(INFO_CONFIRM_FRAME);
    QTest::newRow("contest name reply")
        << 1 << hex("0020 08 01 0000000b 00000009 4b31303031 3b 4b31303032 4b686f61 3b 4c6f7032");
    QTest::newRow("contest enter") << 2 << hex(CONTEST_ENTER_FRAME);
}

void TestFraming::writerPlainFrames()
{
    QFETCH(int, which);
    QFETCH(QByteArray, frame);
    std::unique_ptr<BaseMessage> message;
    if (which == 0) {
        auto m = std::make_unique<InfoConfirmMessage>();
        m->setFlag(true);
        m->setEntryId(258);
        message = std::move(m);
    } else if (which == 1) {
        auto m = std::make_unique<ContestNameMessage>();
        m->setKind(ContestNameMessage::KIND_REPLY);
        m->setCourseCodes("K1001;K1002");
        m->setCourseNames("Khoa;Lop2");
        message = std::move(m);
    } else {
        auto m = std::make_unique<ContestEnterMessage>();
        m->setCourseCode("K1001");
        m->setOrderNumber("000123");
        message = std::move(m);
    }
    AesCipher cipher;
    FrameCodec codec(&cipher);
    std::string out;
    QCOMPARE(codec.buildFrame(*message, &out), frame.size());
    QCOMPARE(toArray(out).toHex(), frame.toHex());
}

void TestFraming::writerEncryptedFrames_data()
{
    QTest::addColumn<int>("payloadSize");
    QTest::addColumn<int>("pad");
    QTest::addColumn<int>("frameLength");
    // A ContestEnter (type 100) whose parts make the payload this size.
    QTest::newRow("16 bytes: one block, no pad") << 16 << 0 << 36;
    QTest::newRow("33 bytes: three blocks") << 33 << 15 << 68;
    QTest::newRow("47 bytes") << 47 << 1 << 68;
    QTest::newRow("48 bytes: pad 0") << 48 << 0 << 68;
    QTest::newRow("49 bytes: four blocks") << 49 << 15 << 84;
}

void TestFraming::writerEncryptedFrames()
{
    QFETCH(int, payloadSize);
    QFETCH(int, pad);
    QFETCH(int, frameLength);

    const QByteArray key = hex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
    AesCipher cipher;
    cipher.setKey(key.constData(), key.size());
    FrameCodec codec(&cipher);

    ContestEnterMessage message(true);
    message.setCourseCode("K1001");
    message.setOrderNumber(QByteArray(payloadSize - 8 - 5, '7'));
    QByteArray plain(payloadSize, '\0');
    QCOMPARE(message.serialize(plain.data(), plain.size()), 0);

    std::string out;
    QCOMPARE(codec.buildFrame(message, &out), frameLength);
    const QByteArray frame = toArray(out);
    QCOMPARE(frame.size(), frameLength);
    QCOMPARE(frame.left(2).toHex(), QByteArray::number(frameLength, 16).rightJustified(4, '0'));
    QCOMPARE(int(quint8(frame[2])), 100);
    QCOMPARE(int(quint8(frame[3])), pad);

    // Another cipher with the same key, given the frame's IV, gives the
    // plain payload followed by the zero padding.
    AesCipher check;
    check.setKey(key.constData(), key.size());
    QByteArray blocks = frame.mid(20);
    QVERIFY(check.decryptCbcWithIv(frame.constData() + 4, blocks.data(), blocks.size()));
    QCOMPARE(blocks.toHex(), (plain + QByteArray(pad, '\0')).toHex());

    // And the reader takes the frame back to the plain message.
    std::string accumulated = out;
    ReadResult result = readFrames(codec, accumulated);
    QCOMPARE(result.lines, QByteArrayList());
    QCOMPARE(int(result.handlers.size()), 1);
    const BaseMessage *read = result.handlers.front()->getMessage();
    QCOMPARE(int(read->getType()), 4);
    QCOMPARE(MessageDump::describe(read), MessageDump::describe(&message));
}

void TestFraming::writerFreshIvPerFrame()
{
    AesCipher cipher;
    FrameCodec codec(&cipher);
    InfoConfirmMessage message(true);
    message.setEntryId(7);
    std::string first;
    std::string second;
    QCOMPARE(codec.buildFrame(message, &first), 36);
    QCOMPARE(codec.buildFrame(message, &second), 36);
    QCOMPARE(first.substr(0, 4), second.substr(0, 4));
    QVERIFY(first.substr(4, 16) != second.substr(4, 16));
    QVERIFY(first.substr(20) != second.substr(20));
}

void TestFraming::writerRefuses_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("result");
    QTest::newRow("plain frame of 65535 bytes") << 0 << 65535;
    QTest::newRow("plain frame of 65536 bytes") << 1 << -1;
    QTest::newRow("portrait of 70000 bytes") << 2 << -1;
    QTest::newRow("encrypted frame of 65524 bytes, the largest") << 3 << 65524;
    QTest::newRow("encrypted frame over 65535 bytes once padded") << 4 << -1;
    QTest::newRow("declared length shorter than the payload") << 5 << -1;
    QTest::newRow("encrypted type without a cipher") << 6 << -1;
    QTest::newRow("declared length below the header") << 7 << -1;
}

void TestFraming::writerRefuses()
{
    QFETCH(int, which);
    QFETCH(int, result);
    AesCipher cipher;
    FrameCodec codec(which == 6 ? nullptr : &cipher);
    std::unique_ptr<BaseMessage> message;
    if (which <= 1) {
        auto m = std::make_unique<SyncVideoMessage>();
        m->setData(QByteArray(65532 + which, 'v'));
        message = std::move(m);
    } else if (which == 2 || which == 3 || which == 4) {
        auto m = std::make_unique<EnterResponseMessage>(which != 2);
        // 3: payload 24 + 65480 = 65504 bytes, 4094 whole blocks, frame
        // 65524; 4: one byte more pads to 65520 bytes, frame 65540.
        const int portrait = which == 2 ? 70000 : which == 3 ? 65480 : 65481;
        m->setPortrait(QByteArray(portrait, 'p'));
        message = std::move(m);
    } else if (which == 5) {
        auto m = std::make_unique<ContestEnterMessage>();
        m->setCourseCode("K1001");
        m->setLength(12);
        message = std::move(m);
    } else if (which == 6) {
        message = std::make_unique<InfoConfirmMessage>(true);
    } else {
        message = std::make_unique<InfoConfirmMessage>();
        message->setLength(2);
    }
    std::string frame = "left over";
    QCOMPARE(codec.buildFrame(*message, &frame), result);
    QCOMPARE(int(frame.size()), result < 0 ? 0 : result);
}

void TestFraming::diagnosticLinesStayWhole()
{
    // Receive threads of several terminals report at the same time.
    const int perThread = 500;
    const std::string a(200, 'a');
    const std::string b(200, 'b');
    StdoutCapture capture;
    std::thread other([&b] {
        for (int i = 0; i < perThread; ++i)
            ConsoleOutput::writeLine(b);
    });
    for (int i = 0; i < perThread; ++i)
        ConsoleOutput::writeLine(a);
    other.join();
    const QByteArrayList lines = capture.stop();

    QCOMPARE(lines.size(), 2 * perThread);
    QCOMPARE(lines.count(QByteArray::fromStdString(a)), perThread);
    QCOMPARE(lines.count(QByteArray::fromStdString(b)), perThread);
}

ORV_TEST_MAIN_CORE(TestFraming)
#include "tst_framing.moc"
