// Distributes a set of generated video files to K test terminals over
// loopback, each terminal read on a thread of its own, and reports the
// elapsed time, the bytes delivered, the throughput and its ratio to the
// bound the pacing sets (one chunk of 10240 bytes per 4 ms, one stream at a
// time). Every file is checked whole on every terminal.
//
//   bench_video_sync [--mb TOTAL_MIB] [--terminals K] [--files N]
//
// Throughput is in MB/s of 10^6 bytes, as is the bound.

#include "platform/steadyclock.h"
#include "platform/thread.h"
#include "server/business/videodistributor.h"
#include "server/network/iocontroller.h"
#include "tests/support/testterminal.h"
#include "tests/support/workfolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextCodec>

#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Received
{
    QByteArray path;
    QByteArray sha256;
    qint64 bytes = 0;
};

// What one terminal's reader thread collects.
struct Reader
{
    TestTerminal terminal;
    Thread thread;
    std::vector<Received> files;
    qint64 payloadBytes = 0;
    std::int64_t finishedNs = 0;
    QString error;
};

void readAll(Reader *reader, int fileCount)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    Received current;
    while (int(reader->files.size()) < fileCount) {
        if (reader->thread.stopRequested()) {
            reader->error = "stopped";
            return;
        }
        TestTerminalFrame frame;
        if (!reader->terminal.readFrame(&frame, 30000)) {
            reader->error = reader->terminal.errorString();
            return;
        }
        switch (frame.type) {
        case 1:
            current = Received();
            current.path = frame.payload;
            hash.reset();
            break;
        case 2:
            hash.addData(frame.payload);
            current.bytes += frame.payload.size();
            reader->payloadBytes += frame.payload.size();
            break;
        case 3:
            current.sha256 = hash.result();
            reader->files.push_back(current);
            break;
        default:
            reader->error = QString("unexpected frame type %1").arg(frame.type);
            return;
        }
    }
    reader->finishedNs = SteadyClock::nowNs();
}

int intOption(const QStringList &args, const QString &name, int fallback)
{
    const int at = args.indexOf(name);
    if (at < 0 || at + 1 >= args.size())
        return fallback;
    bool ok = false;
    const int value = args.at(at + 1).toInt(&ok);
    return ok && value > 0 ? value : fallback;
}

void print(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// The distributor logs a line per file tail; they would drown the report.
void quietInfo(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type != QtInfoMsg && type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quietInfo);
    const QStringList args = app.arguments();
    const int totalMb = intOption(args, "--mb", 20);
    const int terminalCount = intOption(args, "--terminals", 4);
    const int fileCount = intOption(args, "--files", 5);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        print("cannot make a temporary folder");
        return 1;
    }
    // Sizes that are not whole chunks, so each file ends with a short one.
    const qint64 totalBytes = qint64(totalMb) * 1024 * 1024;
    QStringList paths;
    QList<QByteArray> digests;
    QRandomGenerator generator(20240305);
    for (int i = 0; i < fileCount; ++i) {
        const qint64 size = totalBytes / fileCount + (i == 0 ? totalBytes % fileCount : 0);
        QByteArray bytes(int(size), Qt::Uninitialized);
        generator.fillRange(reinterpret_cast<quint32 *>(bytes.data()), int(size / 4));
        for (qint64 k = size / 4 * 4; k < size; ++k)
            bytes[int(k)] = char(generator.generate());
        const QString path = dir.filePath(QString("chapter%1_1.mp4").arg(i + 1));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != size) {
            print("cannot write " + path);
            return 1;
        }
        paths << path;
        digests << QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    }

    IOController controller;
    const quint16 port = WorkFolder::freePort();
    if (!controller.createListenThread(QString::number(port))) {
        print("cannot start the listener");
        return 1;
    }
    for (int i = 0; i < 200 && controller.getStatus() != IOController::STATUS_LISTENING; ++i)
        SteadyClock::sleepMs(10);
    if (controller.getStatus() != IOController::STATUS_LISTENING) {
        print(QString("listener status %1").arg(controller.getStatus()));
        return 1;
    }

    std::vector<std::unique_ptr<Reader>> readers;
    for (int i = 0; i < terminalCount; ++i) {
        auto reader = std::make_unique<Reader>();
        if (!reader->terminal.connectTo("127.0.0.1", port) || !reader->terminal.handshake()) {
            print("terminal " + QString::number(i) + ": " + reader->terminal.errorString());
            return 1;
        }
        readers.push_back(std::move(reader));
    }
    for (int i = 0; i < 200 && int(controller.getClients().size()) < terminalCount; ++i)
        SteadyClock::sleepMs(10);

    const std::int64_t startNs = SteadyClock::nowNs();
    for (auto &reader : readers) {
        Reader *r = reader.get();
        r->thread.start([r, fileCount] { readAll(r, fileCount); });
    }
    VideoDistributor(&controller).distribute(paths);
    const double sendMs = SteadyClock::elapsedMs(startNs);
    for (auto &reader : readers)
        reader->thread.join();

    qint64 delivered = 0;
    std::int64_t lastNs = startNs;
    QStringList faults;
    for (int t = 0; t < terminalCount; ++t) {
        const Reader &r = *readers[size_t(t)];
        delivered += r.payloadBytes;
        lastNs = std::max(lastNs, r.finishedNs);
        if (!r.error.isEmpty())
            faults << QString("terminal %1: %2").arg(t).arg(r.error);
        for (int f = 0; f < fileCount; ++f) {
            if (f >= int(r.files.size()) || r.files[size_t(f)].path != paths[f].toUtf8()
                || r.files[size_t(f)].sha256 != digests[f])
                faults << QString("terminal %1: file %2 not whole").arg(t).arg(f + 1);
        }
    }

    const double elapsedMs = double(lastNs - startNs) / 1e6;
    const double throughput = elapsedMs > 0 ? delivered / (elapsedMs / 1000.0) : 0;
    // One stream at a time: the terminals are served one after another.
    const double bound = double(VideoDistributor::CHUNK_SIZE) / (VideoDistributor::CHUNK_PAUSE_MS / 1000.0);
    print(QString("video_sync: %1 files, %2 MiB in all, %3 terminals")
              .arg(fileCount)
              .arg(totalMb)
              .arg(terminalCount));
    print(QString("elapsed: %1 s (distribute returned after %2 s)")
              .arg(elapsedMs / 1000.0, 0, 'f', 2)
              .arg(sendMs / 1000.0, 0, 'f', 2));
    print(QString("delivered: %1 bytes of %2 expected")
              .arg(delivered)
              .arg(totalBytes * terminalCount));
    print(QString("throughput: %1 MB/s").arg(throughput / 1e6, 0, 'f', 3));
    print(QString("pacing bound: %1 MB/s (10240 bytes per 4 ms, one stream at a time); ratio %2")
              .arg(bound / 1e6, 0, 'f', 3)
              .arg(throughput / bound, 0, 'f', 3));
    if (!faults.isEmpty() || delivered != totalBytes * terminalCount) {
        for (const QString &fault : faults)
            print(fault);
        print("files whole: NO");
        return 1;
    }
    print("files whole: yes, every file on every terminal (SHA-256)");
    return 0;
}
