// The journal of the terminals' writes as the file a restart finds: what it
// still holds, in order, whatever a killed process left at its end; and what
// it does when the file cannot be written, or cannot be replaced.

#include "server/business/terminaljournal.h"
#include "tests/support/testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using Record = TerminalJournal::Record;

// The process may write no file past `bytes` while it lives (EFBIG, as a
// full disk gives ENOSPC; permission bits do not stop root).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = rlim_t(bytes);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_saved); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
};

Record start(int entryId)
{
    Record record;
    record.entryId = entryId;
    record.time = "2026-01-02 08:00:00";
    return record;
}

// A result big enough that three of them pass REWRITE_BYTES.
Record bigResult(int entryId)
{
    Record record;
    record.kind = Record::Result;
    record.entryId = entryId;
    record.courseCode = "C1";
    record.time = "2026-01-02 08:20:00";
    record.answers = QString(int(TerminalJournal::REWRITE_BYTES / 3) + 1000, 'A');
    return record;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(bytes), qint64(bytes.size()));
}

} // namespace

class TestTerminalJournal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void reopened_data();
    void reopened();
    void textsRoundTrip_data();
    void textsRoundTrip();
    void laterWriteOfAnEntryWaits();
    void keptForItsHandler();
    void renumberedAtRewrite();
    void failedRewriteKeepsTheOldFile();
    void failedRewriteAtOpenKeepsTheOldFile();
    void failedAppendLeavesNothingBehind_data();
    void failedAppendLeavesNothingBehind();
    void keptInMemoryWithoutAFile_data();
    void keptInMemoryWithoutAFile();
    void staleTemporariesRemoved();

private:
    // "number:S|R:entry" of each record still to be stored, claiming them.
    static QString pendingOf(TerminalJournal &journal);
};

void TestTerminalJournal::initTestCase()
{
    // The file size limit gives EFBIG instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
}

QString TestTerminalJournal::pendingOf(TerminalJournal &journal)
{
    QStringList shown;
    for (const Record &record : journal.claimPending())
        shown << QString("%1:%2:%3").arg(record.number).arg(record.kind == Record::Start ? "S" : "R")
                     .arg(record.entryId);
    return shown.join(' ');
}

void TestTerminalJournal::reopened_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("pending");
    const QByteArray start = "1\tSTART\t7\t2026-01-02 08:00:00\n";
    const QByteArray result = "2\tRESULT\t7\tC1\t2026-01-02 08:20:00\t40\t35\t1\t1A;2B\n";
    QTest::newRow("both kept") << start + result << "1:S:7 2:R:7";
    // Numbered from 1 again: nothing a number says survives a rewrite.
    QTest::newRow("start done") << start + result + "1\tDONE\n" << "1:R:7";
    QTest::newRow("all done") << start + result + "2\tDONE\n1\tDONE\n" << "";
    QTest::newRow("numbers with gaps") << QByteArray("5\tSTART\t7\tt\n9\tSTART\t8\tt\n5\tDONE\n12\tSTART\t9\tt\n")
                                       << "1:S:8 2:S:9";
    // A process killed while writing leaves a line without its end.
    QTest::newRow("torn last line") << start + result.left(20) << "1:S:7";
    QTest::newRow("torn done") << start + "1\tDO" << "1:S:7";
    QTest::newRow("not a record") << start + "garbage\n" + result << "1:S:7 2:R:7";
    QTest::newRow("result short of a field") << start + "2\tRESULT\t7\tC1\t2026-01-02 08:20:00\t40\t35\t1\n"
                                             << "1:S:7";
    QTest::newRow("result with a field too many")
        << start + "2\tRESULT\t7\tC1\t2026-01-02 08:20:00\t40\t35\t1\t1A\ts\tx\n" << "1:S:7";
    QByteArray crlf = start + result + "1\tDONE\n";
    crlf.replace("\n", "\r\n");
    QTest::newRow("CR LF lines") << crlf << "1:R:7";
    // The next numbers would pass 2^63 and wrap negative.
    QTest::newRow("numbered near 2^63") << start + "9223372036854775806\tSTART\t8\tt\n" + result << "1:S:7 2:R:7";
    QTest::newRow("done near 2^63") << start + "9223372036854775807\tDONE\n" << "1:S:7";
    QTest::newRow("past 2^63") << start + "9223372036854775808\tSTART\t8\tt\n" << "1:S:7";
    QTest::newRow("largest number") << QByteArray("1000000000000000\tSTART\t8\tt\n1000000000000001\tSTART\t9\tt\n")
                                    << "1:S:8";
    QTest::newRow("zero and negative") << QByteArray("0\tSTART\t8\tt\n-3\tSTART\t9\tt\n") + start << "1:S:7";
    QTest::newRow("empty") << QByteArray() << "";
}

void TestTerminalJournal::reopened()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, pending);
    QTemporaryDir dir;
    const QString path = dir.filePath("terminal_journal.txt");
    writeFile(path, file);

    TerminalJournal journal;
    QVERIFY(journal.open(path));
    QCOMPARE(pendingOf(journal), pending);

    // Rewritten without what was done or torn: the same again.
    TerminalJournal again;
    QVERIFY(again.open(path));
    QCOMPARE(pendingOf(again), pending);
    const QByteArray rewritten = readFile(path);
    QVERIFY(!rewritten.contains("DONE"));
    QVERIFY(!rewritten.contains('\r'));
    // The next record follows the last one kept.
    const qint64 kept = again.pendingCount();
    Record next = start(99);
    QCOMPARE(again.append(next, false).number, kept + 1);
}

void TestTerminalJournal::textsRoundTrip_data()
{
    QTest::addColumn<bool>("ownStarts");
    QTest::addColumn<QStringList>("sittings");
    QTest::addColumn<int>("fields");
    // The form an older version writes and reads.
    QTest::newRow("no start of its connection") << false << QStringList() << 9;
    QTest::newRow("one sitting") << true << QStringList{"2026-01-02 08:00:05"} << 10;
    // Sent twice while the database was away: which one it took is known
    // only when they are stored.
    QTest::newRow("two sittings") << true << QStringList{"2026-01-02 08:00:05", "2026-01-02 08:00:09"} << 10;
    // Its connection's starts were all refused.
    QTest::newRow("no sitting left") << true << QStringList() << 10;
}

void TestTerminalJournal::textsRoundTrip()
{
    QFETCH(bool, ownStarts);
    QFETCH(QStringList, sittings);
    QFETCH(int, fields);
    QTemporaryDir dir;
    const QString path = dir.filePath("terminal_journal.txt");
    Record record;
    record.kind = Record::Result;
    record.entryId = 3;
    record.courseCode = "K 1\tà";
    record.time = "2026-01-02 08:20:00";
    record.score = -1;
    record.passMark = 35;
    record.answers = "1A;2B\n3%C\r";
    record.ownStarts = ownStarts;
    record.sittings = sittings;
    {
        TerminalJournal journal;
        QVERIFY(journal.open(path));
        const TerminalJournal::Appended appended = journal.append(record, true);
        QCOMPARE(appended.number, qint64(1));
        QVERIFY(appended.claimed);
        QVERIFY(appended.onDisk);
        QVERIFY(!appended.becameUnwritable);
    }
    const QByteArray line = readFile(path);
    // One line, readable.
    QCOMPARE(line.count('\n'), 1);
    QCOMPARE(line.split('\t').size(), fields);
    TerminalJournal journal;
    QVERIFY(journal.open(path));
    const QList<Record> pending = journal.claimPending();
    QCOMPARE(pending.size(), 1);
    QCOMPARE(pending[0].courseCode, record.courseCode);
    QCOMPARE(pending[0].answers, record.answers);
    QCOMPARE(pending[0].time, record.time);
    QCOMPARE(pending[0].score, -1);
    QCOMPARE(pending[0].passMark, 35);
    QCOMPARE(pending[0].passed, false);
    QCOMPARE(pending[0].ownStarts, ownStarts);
    QCOMPARE(pending[0].sittings, sittings);
}

void TestTerminalJournal::laterWriteOfAnEntryWaits()
{
    QTemporaryDir dir;
    TerminalJournal journal;
    QVERIFY(journal.open(dir.filePath("terminal_journal.txt")));
    Record first = start(5);
    const TerminalJournal::Appended held = journal.append(first, true);
    QVERIFY(held.claimed);
    Record result = start(5);
    result.kind = Record::Result;
    // Its start is still being tried: the result waits for it.
    QVERIFY(!journal.append(result, true).claimed);
    Record other = start(6);
    QVERIFY(journal.append(other, true).claimed);
    // Nor do the retries take it while the start is held elsewhere.
    QCOMPARE(journal.claimPending().size(), 0);
    journal.release(held.number);
    QCOMPARE(pendingOf(journal), QString("1:S:5 2:R:5"));
}

// What arrived waits for its handler: the retries leave it, and what came
// after it for its entry, until the handler claims it or will never come.
void TestTerminalJournal::keptForItsHandler()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("terminal_journal.txt");
    TerminalJournal journal;
    QVERIFY(journal.open(path));
    Record first = start(5);
    const qint64 started = journal.appendForHandler(first).number;
    Record result = start(5);
    result.kind = Record::Result;
    const qint64 finished = journal.appendForHandler(result).number;
    Record other = start(6);
    journal.append(other, false);
    Record dropped = start(7);
    const qint64 orphan = journal.appendForHandler(dropped).number;
    // On disk from the start: a kill loses none of them.
    QCOMPARE(readFile(path).count('\n'), 4);

    QCOMPARE(pendingOf(journal), QString("3:S:6"));
    journal.finish(3);
    QVERIFY(journal.claimForHandler(started));
    QCOMPARE(journal.record(started).entryId, 5);
    // Behind its entry's start, still being stored: the retries' in turn.
    QVERIFY(!journal.claimForHandler(finished));
    // The connection of the third closed before its handler ran.
    journal.dropHandler(orphan);
    QCOMPARE(pendingOf(journal), QString("4:S:7"));
    journal.finish(orphan);
    journal.finish(started);
    QCOMPARE(pendingOf(journal), QString("2:R:5"));
    // Claimed once: a handler never takes what is done or taken.
    QVERIFY(!journal.claimForHandler(finished));
    journal.release(finished);

    // Read back, nothing waits for a handler of the process that wrote it.
    TerminalJournal again;
    QVERIFY(again.open(path));
    QCOMPARE(pendingOf(again), QString("1:R:5"));
}

void TestTerminalJournal::renumberedAtRewrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("terminal_journal.txt");
    TerminalJournal journal;
    QVERIFY(journal.open(path));
    for (int entry = 1; entry <= 4; ++entry) {
        Record record = bigResult(entry);
        journal.append(record, false);
    }
    // The file is past REWRITE_BYTES, but a number is held: no rewrite.
    const QList<Record> claimed = journal.claimPending();
    QCOMPARE(claimed.size(), 4);
    journal.release(2);
    journal.release(3);
    journal.finish(1);
    QVERIFY(QFileInfo(path).size() > TerminalJournal::REWRITE_BYTES);
    QCOMPARE(pendingOf(journal), QString("2:R:2 3:R:3"));
    journal.release(2);
    journal.release(3);
    journal.release(4);

    // Nothing held any more: the file is rewritten and the rest numbered anew.
    journal.finish(2);
    QVERIFY(QFileInfo(path).size() < TerminalJournal::REWRITE_BYTES);
    QCOMPARE(pendingOf(journal), QString("1:R:3 2:R:4"));
    journal.release(1);
    journal.release(2);
    Record next = start(9);
    QCOMPARE(journal.append(next, false).number, qint64(3));
    TerminalJournal again;
    QVERIFY(again.open(path));
    QCOMPARE(pendingOf(again), QString("1:R:3 2:R:4 3:S:9"));
}

void TestTerminalJournal::failedRewriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("terminal_journal.txt");
    const QString kept = dir.filePath("kept");
    TerminalJournal journal;
    QVERIFY(journal.open(path));
    for (int entry = 1; entry <= 3; ++entry) {
        Record record = bigResult(entry);
        journal.append(record, false);
    }
    // The journal's name now belongs to a folder: no new file can take its
    // place. The file in use stays reachable under another name.
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(kept).constData()), 0);
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir(dir.path()).mkpath("terminal_journal.txt/inside"));

    journal.finish(1);
    // Not renumbered, and the file in use still takes the records.
    QCOMPARE(pendingOf(journal), QString("2:R:2 3:R:3"));
    journal.release(2);
    journal.release(3);
    Record next = start(9);
    const TerminalJournal::Appended appended = journal.append(next, false);
    QCOMPARE(appended.number, qint64(4));
    QVERIFY(appended.onDisk);
    QVERIFY(!appended.becameUnwritable);
    QVERIFY(journal.isOpen());

    QVERIFY(QDir(path).removeRecursively());
    QVERIFY(QFile::rename(kept, path));
    TerminalJournal again;
    QVERIFY(again.open(path));
    QCOMPARE(pendingOf(again), QString("1:R:2 2:R:3 3:S:9"));
}

void TestTerminalJournal::failedRewriteAtOpenKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("terminal_journal.txt");
    const QByteArray old = "4\tSTART\t7\tt\n6\tSTART\t8\tt\n4\tDONE\n9\tSTART\t9\tt";
    writeFile(path, old);
    TerminalJournal journal;
    {
        // No new file can be written; the old one cannot grow either.
        FileSizeLimit limit(8);
        QVERIFY(journal.open(path));
        QCOMPARE(readFile(path), old.left(old.lastIndexOf('\n') + 1));
        Record record = start(10);
        const TerminalJournal::Appended appended = journal.append(record, false);
        QCOMPARE(appended.number, qint64(7));
        QVERIFY(!appended.onDisk);
        QVERIFY(appended.becameUnwritable);
    }
    QVERIFY(journal.isOpen());
    // The old numbers, where the old file left them.
    QCOMPARE(pendingOf(journal), QString("6:S:8 7:S:10"));
    journal.release(6);
    journal.release(7);
    Record record = start(11);
    const TerminalJournal::Appended appended = journal.append(record, false);
    QCOMPARE(appended.number, qint64(8));
    QVERIFY(appended.onDisk);
    QVERIFY(!appended.becameUnwritable);

    TerminalJournal again;
    QVERIFY(again.open(path));
    QCOMPARE(pendingOf(again), QString("1:S:8 2:S:10 3:S:11"));
}

void TestTerminalJournal::failedAppendLeavesNothingBehind_data()
{
    QTest::addColumn<int>("room");
    // The disk takes part of the line, or none of it.
    QTest::newRow("short write") << 10;
    QTest::newRow("nothing written") << 0;
}

void TestTerminalJournal::failedAppendLeavesNothingBehind()
{
    QFETCH(int, room);
    QTemporaryDir dir;
    const QString path = dir.filePath("terminal_journal.txt");
    TerminalJournal journal;
    QVERIFY(journal.open(path));
    Record first = start(1);
    QVERIFY(journal.append(first, false).onDisk);
    const QByteArray before = readFile(path);
    {
        FileSizeLimit limit(before.size() + room);
        Record second = start(2);
        TerminalJournal::Appended appended = journal.append(second, true);
        QCOMPARE(appended.number, qint64(2));
        QVERIFY(!appended.onDisk);
        QVERIFY(appended.becameUnwritable);
        QVERIFY(appended.claimed);
        // Told once for the event.
        Record third = start(3);
        appended = journal.append(third, false);
        QCOMPARE(appended.number, qint64(3));
        QVERIFY(!appended.onDisk);
        QVERIFY(!appended.becameUnwritable);
        QCOMPARE(readFile(path), before);
    }
    // Kept as any other record: the claimed one is held, the other is
    // given to the retries.
    QCOMPARE(journal.pendingCount(), 3);
    QCOMPARE(pendingOf(journal), QString("1:S:1 3:S:3"));
    journal.release(1);
    journal.release(3);
    // The retries' round finds the file writable again: what memory kept
    // reaches it, whole lines only.
    QCOMPARE(readFile(path).count('\n'), 3);
    QVERIFY(readFile(path).endsWith('\n'));

    // The file takes records again.
    Record fourth = start(4);
    TerminalJournal::Appended appended = journal.append(fourth, false);
    QCOMPARE(appended.number, qint64(4));
    QVERIFY(appended.onDisk);
    QVERIFY(!appended.becameUnwritable);
    {
        FileSizeLimit limit(0);
        Record fifth = start(5);
        // A new event, told again.
        QVERIFY(journal.append(fifth, false).becameUnwritable);
    }
    journal.finish(5);
    journal.finish(2);

    TerminalJournal again;
    QVERIFY(again.open(path));
    QCOMPARE(pendingOf(again), QString("1:S:1 2:S:3 3:S:4"));
}

void TestTerminalJournal::keptInMemoryWithoutAFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("folder");
    QTest::newRow("no such folder") << QString("missing/terminal_journal.txt") << false;
    // Cannot be read: it is left as it is.
    QTest::newRow("name taken by a folder") << QString("terminal_journal.txt") << true;
}

void TestTerminalJournal::keptInMemoryWithoutAFile()
{
    QFETCH(QString, name);
    QFETCH(bool, folder);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (folder)
        QVERIFY(QDir(dir.path()).mkpath(name + "/inside"));
    TerminalJournal journal;
    QVERIFY(!journal.open(path));
    QVERIFY(!journal.isOpen());
    Record first = start(1);
    TerminalJournal::Appended appended = journal.append(first, true);
    QCOMPARE(appended.number, qint64(1));
    QVERIFY(appended.claimed);
    QVERIFY(!appended.onDisk);
    QVERIFY(appended.becameUnwritable);
    Record second = start(2);
    appended = journal.append(second, false);
    QCOMPARE(appended.number, qint64(2));
    QVERIFY(!appended.becameUnwritable);
    QCOMPARE(pendingOf(journal), QString("2:S:2"));
    journal.release(2);
    journal.finish(1);
    QCOMPARE(pendingOf(journal), QString("2:S:2"));
    journal.finish(2);
    QCOMPARE(journal.pendingCount(), 0);
    QCOMPARE(QFileInfo(path).isDir(), folder);
}

void TestTerminalJournal::staleTemporariesRemoved()
{
    QTemporaryDir dir;
    const QStringList stale = {"terminal_journal.txt.a1B2c3", "terminal_journal.txt.x"};
    const QStringList others = {"other.txt.a1B2c3", "terminal_journal.txtx", "orvserver.lock"};
    for (const QString &name : stale + others)
        writeFile(dir.filePath(name), "1\tSTART\t7\tt\n");
    TerminalJournal journal;
    QVERIFY(journal.open(dir.filePath("terminal_journal.txt")));
    QCOMPARE(journal.pendingCount(), 0);
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    left.sort();
    QStringList expected = others + QStringList{"terminal_journal.txt"};
    expected.sort();
    QCOMPARE(left, expected);
}

ORV_TEST_MAIN_CORE(TestTerminalJournal)
#include "tst_terminaljournal.moc"
