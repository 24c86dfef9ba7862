#include "ui/mainwindow/databaseoutage.h"

#include "connection/databasestatus.h"
#include "connection/sqlfailurewatch.h"
#include "records/course.h"
#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"

#include <QDebug>

namespace {
// Within 10 s of the database's return the window shows what it holds.
const int OUTAGE_REFRESH_MS = 5000;
} // namespace

DatabaseOutage::DatabaseOutage(BusinessController *businessController,
                               BusinessControllerClient *businessControllerClient, CustomerBox &notice)
    : m_businessController(businessController), m_notice(notice)
{
    m_outageRefresh.setInterval(OUTAGE_REFRESH_MS);
    connect(&m_outageRefresh, &QTimer::timeout, this, &DatabaseOutage::refreshAfterOutage);
    connect(DatabaseStatus::instance(), &DatabaseStatus::reachable, this, &DatabaseOutage::onDatabaseReachable,
            Qt::QueuedConnection);
    connect(businessControllerClient, &BusinessControllerClient::notifyWriteKept, this,
            &DatabaseOutage::onDatabaseUnreachable, Qt::QueuedConnection);
    // Also when the terminals only read: candidates turned away at the
    // door are an outage the operator must hear of.
    connect(businessControllerClient, &BusinessControllerClient::notifyDatabaseAway, this,
            &DatabaseOutage::onDatabaseUnreachable, Qt::QueuedConnection);
    // Sent once each time the journal stops taking records.
    connect(businessControllerClient, &BusinessControllerClient::notifyJournalUnwritable, this,
            &DatabaseOutage::onJournalUnwritable, Qt::QueuedConnection);
}

void DatabaseOutage::onJournalUnwritable()
{
    qCritical() << "MainWindow: the terminals' journal cannot be written; their writes are kept in memory only";
    m_journalNotice.setTitle(QStringLiteral("Cảnh báo"));
    m_journalNotice.setContent(QStringLiteral("Không ghi được tệp nhật ký kết quả: kết quả của máy thi đang được giữ "
                                              "trong bộ nhớ, đừng tắt chương trình."));
    m_journalNotice.setModal(true);
    m_journalNotice.show();
}

void DatabaseOutage::onDatabaseUnreachable()
{
    if (!m_outageRefresh.isActive())
        m_outageRefresh.start();
    if (m_outageNoticed)
        return;
    m_outageNoticed = true;
    qWarning() << "MainWindow: the main database cannot be reached; the window keeps what it shows";
    m_notice.setTitle(QStringLiteral("Cảnh báo"));
    m_notice.setContent(QStringLiteral("Máy chủ không kết nối được cơ sở dữ liệu MySql mô phỏng"));
    m_notice.setModal(true);
    m_notice.show();
}

void DatabaseOutage::onDatabaseReachable()
{
    // A later outage is told again.
    m_outageNoticed = false;
    if (m_outageRefresh.isActive())
        refreshAfterOutage();
}

void DatabaseOutage::refreshAfterOutage()
{
    const SqlFailureWatch watch;
    const Course *course = m_businessController->getCurrentCourse();
    bool failed = false;
    if (course)
        m_businessController->loadStudentsOfCourse(course->getIDKhoaHoc(), &failed);
    if (!failed)
        emit refreshRequested();
    // The window's own reads are statements too: once they succeed the
    // outage is over, whenever the news of it arrives.
    if (!watch.failed()) {
        m_outageNoticed = false;
        m_outageRefresh.stop();
    }
}
