// The journal of the terminals' writes as the file a restart finds: what it
// still holds, in order, whatever a killed process left at its end.

#include "server/business/terminaljournal.h"
#include "tests/support/testmain.h"

#include <QFile>
#include <QTemporaryDir>

class TestTerminalJournal : public QObject
{
    Q_OBJECT

private slots:
    void reopened_data();
    void reopened();
    void textsRoundTrip();
    void laterWriteOfAnEntryWaits();

private:
    static QString pendingOf(TerminalJournal &journal);
};

QString TestTerminalJournal::pendingOf(TerminalJournal &journal)
{
    QStringList shown;
    for (const TerminalJournal::Record &record : journal.claimPending())
        shown << QString("%1:%2:%3").arg(record.number).arg(record.kind == TerminalJournal::Record::Start ? "S" : "R")
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
    QTest::newRow("start done") << start + result + "1\tDONE\n" << "2:R:7";
    QTest::newRow("all done") << start + result + "2\tDONE\n1\tDONE\n" << "";
    // A process killed while writing leaves a line without its end.
    QTest::newRow("torn last line") << start + result.left(20) << "1:S:7";
    QTest::newRow("torn done") << start + "1\tDO" << "1:S:7";
    QTest::newRow("not a record") << start + "garbage\n" + result << "1:S:7 2:R:7";
    QTest::newRow("result short of a field") << start + "2\tRESULT\t7\tC1\t2026-01-02 08:20:00\t40\t35\t1\n"
                                             << "1:S:7";
    QTest::newRow("empty") << QByteArray() << "";
}

void TestTerminalJournal::reopened()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, pending);
    QTemporaryDir dir;
    const QString path = dir.filePath("terminal_journal.txt");
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();

    TerminalJournal journal;
    QVERIFY(journal.open(path));
    QCOMPARE(pendingOf(journal), pending);

    // Rewritten without what was done or torn: the same again.
    TerminalJournal again;
    QVERIFY(again.open(path));
    QCOMPARE(pendingOf(again), pending);
    QFile rewritten(path);
    QVERIFY(rewritten.open(QIODevice::ReadOnly));
    QVERIFY(!rewritten.readAll().contains("DONE"));
}

void TestTerminalJournal::textsRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("terminal_journal.txt");
    TerminalJournal::Record record;
    record.kind = TerminalJournal::Record::Result;
    record.entryId = 3;
    record.courseCode = "K 1\tà";
    record.time = "2026-01-02 08:20:00";
    record.score = -1;
    record.passMark = 35;
    record.answers = "1A;2B\n3%C\r";
    {
        TerminalJournal journal;
        QVERIFY(journal.open(path));
        const TerminalJournal::Appended appended = journal.append(record, true);
        QCOMPARE(appended.number, qint64(1));
        QVERIFY(appended.claimed);
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // One line, readable.
    QCOMPARE(file.readAll().count('\n'), 1);
    TerminalJournal journal;
    QVERIFY(journal.open(path));
    const QList<TerminalJournal::Record> pending = journal.claimPending();
    QCOMPARE(pending.size(), 1);
    QCOMPARE(pending[0].courseCode, record.courseCode);
    QCOMPARE(pending[0].answers, record.answers);
    QCOMPARE(pending[0].time, record.time);
    QCOMPARE(pending[0].score, -1);
    QCOMPARE(pending[0].passMark, 35);
    QCOMPARE(pending[0].passed, false);
}

void TestTerminalJournal::laterWriteOfAnEntryWaits()
{
    QTemporaryDir dir;
    TerminalJournal journal;
    QVERIFY(journal.open(dir.filePath("terminal_journal.txt")));
    TerminalJournal::Record start;
    start.entryId = 5;
    const TerminalJournal::Appended started = journal.append(start, true);
    const qint64 first = started.number;
    QVERIFY(started.claimed);
    TerminalJournal::Record result;
    result.kind = TerminalJournal::Record::Result;
    result.entryId = 5;
    bool claimed = journal.append(result, true).claimed;
    // Its start is still being tried: the result waits for it.
    QVERIFY(!claimed);
    TerminalJournal::Record other;
    other.entryId = 6;
    claimed = journal.append(other, true).claimed;
    QVERIFY(claimed);
    // Nor do the retries take it while the start is held elsewhere.
    QCOMPARE(journal.claimPending().size(), 0);
    journal.release(first);
    QCOMPARE(pendingOf(journal), QString("1:S:5 2:R:5"));
}

ORV_TEST_MAIN_CORE(TestTerminalJournal)
#include "tst_terminaljournal.moc"
