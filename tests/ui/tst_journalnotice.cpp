// The operator's window told that the terminals' journal cannot be written:
// its own box, each time the journal stops taking records, beside the
// database outage notice (which comes once per outage).

#include "server/business/businesscontrollerclient.h"
#include "tests/support/desktopmain.h"
#include "tests/support/dialogprobe.h"
#include "tests/support/testmain.h"
#include "tests/support/workfolder.h"
#include "ui/mainwindow.h"

namespace {

const QString OUTAGE_NOTICE = QStringLiteral("Cảnh báo|Máy chủ không kết nối được cơ sở dữ liệu MySql mô phỏng");
const QString JOURNAL_NOTICE =
    QStringLiteral("Cảnh báo|Không ghi được tệp nhật ký kết quả: kết quả của máy thi đang được giữ trong bộ nhớ, "
                   "đừng tắt chương trình.");

QString shownSorted()
{
    QStringList shown = DialogProbe::shownBoxes().split(QStringLiteral("; "), Qt::SkipEmptyParts);
    shown.sort();
    return shown.join(QStringLiteral("; "));
}

} // namespace

class TestJournalNotice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void shownEachTime_data();
    void shownEachTime();

private:
    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<MainWindow> m_window;
};

void TestJournalNotice::initTestCase()
{
    m_folder.reset(new WorkFolder("uijournal"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    m_window.reset(new MainWindow);
    m_window->initModel();
    m_window->show();
}

void TestJournalNotice::cleanupTestCase()
{
    m_window.reset();
    m_folder.reset();
}

void TestJournalNotice::shownEachTime_data()
{
    QTest::addColumn<bool>("writeKept");
    QTest::addColumn<QString>("shown");
    QTest::newRow("journal alone") << false << JOURNAL_NOTICE;
    QTest::newRow("with the outage") << true << JOURNAL_NOTICE + "; " + OUTAGE_NOTICE;
    // The outage goes on: told once; the journal failed again: told again.
    QTest::newRow("same outage") << true << JOURNAL_NOTICE;
}

void TestJournalNotice::shownEachTime()
{
    QFETCH(bool, writeKept);
    QFETCH(QString, shown);
    DialogProbe::hideBoxes();
    BusinessControllerClient *client = BusinessControllerClient::getInstance();
    if (writeKept)
        emit client->notifyWriteKept();
    emit client->notifyJournalUnwritable();
    QTRY_COMPARE(shownSorted(), shown);
}

ORV_TEST_MAIN_DESKTOP(TestJournalNotice)
#include "tst_journalnotice.moc"
