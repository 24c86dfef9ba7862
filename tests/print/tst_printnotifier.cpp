// Automatic printing: the queue, the notifier thread that announces each
// sheet once, in order, one per period, and its stop. The announcements are
// taken directly on the notifier thread: a queued delivery passes through
// Qt's event queue, whose lock ThreadSanitizer cannot see (tst_printdialog
// checks that delivery).
#include "lib/report/reportengine.h"
#include "records/reportinfo.h"
#include "reports/print/printdialog.h"
#include "tests/support/sheetfolder.h"
#include "tests/support/testmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QRegularExpression>

#include <chrono>
#include <mutex>
#include <vector>

namespace {

const int PERIOD_MS = 300;

ReportInfo candidate(int orderNumber)
{
    ReportInfo info;
    info.setName(QString::fromUtf8("Lê Văn Đức"));
    info.setOrderNumber(QString::number(orderNumber));
    info.setCourse("K01");
    info.setScore(40);
    info.setResult("DAT");
    info.setResultValid(true);
    info.setAnswers("4;4;4;4;4;4;4;4;4;4");
    return info;
}

// Announcements as the notifier thread makes them, with their times.
class Announcements
{
public:
    explicit Announcements(PrintDialog &dialog)
    {
        QObject::connect(&dialog, &PrintDialog::notifyPrintReport, &dialog,
                         [this](int index) {
                             std::lock_guard<std::mutex> guard(m_mutex);
                             m_seen.push_back({index, std::chrono::steady_clock::now()});
                         },
                         Qt::DirectConnection);
    }
    size_t count()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_seen.size();
    }
    std::vector<int> indices()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        std::vector<int> out;
        for (const auto &seen : m_seen)
            out.push_back(seen.index);
        return out;
    }
    qint64 msBetween(size_t first, size_t second)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        return std::chrono::duration_cast<std::chrono::milliseconds>(m_seen.at(second).at - m_seen.at(first).at)
            .count();
    }

private:
    struct Seen
    {
        int index;
        std::chrono::steady_clock::time_point at;
    };
    std::mutex m_mutex;
    std::vector<Seen> m_seen;
};

} // namespace

class TestPrintNotifier : public QObject
{
    Q_OBJECT

private slots:
    void sheetsAnnouncedInOrderOnePerPeriod()
    {
        SheetFolder folder;
        QVERIFY(folder.isValid());
        PrintDialog dialog(nullptr, PERIOD_MS);
        Announcements announced(dialog);
        dialog.startPrintNotifyThread();
        dialog.startPrintNotifyThread();
        ReportInfo first = candidate(1), second = candidate(2), third = candidate(3);
        dialog.setDetail2(&first);
        dialog.setDetail2(&second);
        dialog.setDetail2(&third);
        QCOMPARE(dialog.getReportList().size(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(announced.count(), size_t(3), 20000);
        // Two more periods: nothing is announced twice (one notifier only).
        QTest::qWait(2 * PERIOD_MS);
        QCOMPARE(announced.indices(), (std::vector<int>{0, 1, 2}));
        QVERIFY(announced.msBetween(0, 1) >= PERIOD_MS - 5);
        QVERIFY(announced.msBetween(1, 2) >= PERIOD_MS - 5);
    }

    // Queueing a sheet starts the notifier when nobody did.
    void queueingStartsTheNotifier()
    {
        SheetFolder folder;
        QVERIFY(folder.isValid());
        PrintDialog dialog(nullptr, PERIOD_MS);
        Announcements announced(dialog);
        ReportInfo info = candidate(1);
        dialog.setDetail2(&info);
        QTRY_COMPARE_WITH_TIMEOUT(announced.count(), size_t(1), 20000);
        QCOMPARE(announced.indices(), std::vector<int>{0});
    }

    void changedTemplateQueuesNothing_data()
    {
        QTest::addColumn<bool>("missing");
        QTest::newRow("altered by one byte") << false;
        QTest::newRow("missing") << true;
    }
    void changedTemplateQueuesNothing()
    {
        QFETCH(bool, missing);
        SheetFolder folder;
        QVERIFY(folder.isValid());
        PrintDialog dialog(nullptr, PERIOD_MS);
        Announcements announced(dialog);
        ReportInfo first = candidate(1), second = candidate(2);
        dialog.setDetail2(&first);
        QTRY_COMPARE_WITH_TIMEOUT(announced.count(), size_t(1), 20000);

        QVERIFY(missing ? folder.removeTemplate("orv04_new.lrxml") : folder.alterTemplate("orv04_new.lrxml"));
        QTest::ignoreMessage(QtDebugMsg,
                             "PrintDialog::setDetail2: Don't print report because template file was changed!");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("automatic result sheets are not printed"));
        dialog.setDetail2(&second);
        QCOMPARE(dialog.getReportList().size(), 1);
        QTest::qWait(2 * PERIOD_MS);
        QCOMPARE(announced.indices(), std::vector<int>{0});
        // The sheet announced before stays printable.
        QVERIFY(dialog.getReportList().at(0) != nullptr);
    }

    void releasedSheetIsGone()
    {
        SheetFolder folder;
        QVERIFY(folder.isValid());
        PrintDialog dialog(nullptr, 60000);
        ReportInfo first = candidate(1), second = candidate(2);
        dialog.setDetail2(&first);
        dialog.setDetail2(&second);
        QPointer<LimeReport::ReportEngine> released = dialog.getReportList().at(0);
        QPointer<LimeReport::ReportEngine> kept = dialog.getReportList().at(1);
        dialog.releaseReport(0);
        dialog.releaseReport(0);
        dialog.releaseReport(-1);
        dialog.releaseReport(2);
        QVERIFY(released.isNull());
        QVERIFY(!kept.isNull());
        const QList<LimeReport::ReportEngine *> list = dialog.getReportList();
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(0), nullptr);
        QCOMPARE(list.at(1), kept.data());
        QCOMPARE(kept->dataManager()->variable("OrderNumber").toInt(), 2);
        QVERIFY(kept->printToPDF(folder.filePath("K01_2.pdf")));
    }

    // The destructor wakes the sleeping notifier, joins it and deletes the
    // queued engines.
    void destroyedWhileTheNotifierRuns()
    {
        SheetFolder folder;
        QVERIFY(folder.isValid());
        auto *dialog = new PrintDialog(nullptr, 60000);
        ReportInfo first = candidate(1), second = candidate(2);
        dialog->setDetail2(&first);
        dialog->setDetail2(&second);
        QPointer<LimeReport::ReportEngine> engine = dialog->getReportList().at(1);
        QTest::qWait(50);
        QElapsedTimer timer;
        timer.start();
        delete dialog;
        QVERIFY(engine.isNull());
        // Well before the period ran out.
        QVERIFY(timer.elapsed() < 30000);
    }
};

ORV_TEST_MAIN_WIDGETS(TestPrintNotifier)
#include "tst_printnotifier.moc"
