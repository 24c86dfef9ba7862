// The operator side's business object when the main database cannot be
// reached: it still exists and says so, the terminals' listener still runs,
// and the operations that need the candidate table fail instead of crashing.

#include "records/crudstudentinfo.h"
#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"
#include "server/network/iocontroller.h"
#include "tests/support/testmain.h"
#include "tests/support/workfolder.h"

#include <QSignalSpy>
#include <QTcpSocket>

class TestBusinessControllerNoDb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void reportsTheFailure();
    void listenerStillRuns();
    void operationsFailWithoutCrashing();

private:
    std::unique_ptr<WorkFolder> m_folder;
    BusinessController *m_controller = nullptr;
};

void TestBusinessControllerNoDb::initTestCase()
{
    WorkFolder::Options options;
    options.mainReachable = false;
    // Values the controller must not read once the main database failed.
    options.autoPrint = 1;
    options.checkPassingTheory = true;
    options.importAvatarFolderOn = 1;
    m_folder.reset(new WorkFolder("biznodb", options));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    m_controller = BusinessController::getInstance();
    QVERIFY(m_controller);
}

void TestBusinessControllerNoDb::cleanupTestCase()
{
    IOController::destroyInstance();
}

void TestBusinessControllerNoDb::reportsTheFailure()
{
    QCOMPARE(m_controller->isDbConnectionFailed(), 1);
    QCOMPARE(m_controller->getStudentModel(), nullptr);
    QCOMPARE(m_controller->getAuxiliaryDb(), nullptr);
    QCOMPARE(m_controller->getAutoPrint(), 0);
    QCOMPARE(m_controller->getTimeUpdateTheoryResult(), 0);
    QCOMPARE(m_controller->getCheckPassingTheoryExam(), false);
    QCOMPARE(m_controller->getImportAvatarFolderOn(), false);
    QCOMPARE(BusinessController::getInstance(), m_controller);
}

void TestBusinessControllerNoDb::listenerStillRuns()
{
    QTRY_COMPARE(IOController::getInstance()->getStatus(), IOController::STATUS_LISTENING);
    QTcpSocket terminal;
    terminal.connectToHost(QHostAddress::LocalHost, m_folder->port());
    QVERIFY(terminal.waitForConnected(5000));
    QTRY_COMPARE(IOController::getInstance()->getClients().size(), size_t(1));
    terminal.disconnectFromHost();
}

void TestBusinessControllerNoDb::operationsFailWithoutCrashing()
{
    QCOMPARE(m_controller->loadStudentsOfCourse("K1"), nullptr);
    QVERIFY(m_controller->getAllCourses()->isEmpty());
    QCOMPARE(m_controller->setCurrentCourse(0), nullptr);
    QVERIFY(m_controller->getAllProvinces()->isEmpty());
    QVERIFY(m_controller->getAllUnits()->isEmpty());
    QVERIFY(m_controller->getAuxiliaryCourses().isEmpty());

    CRUDStudentInfo info;
    info.setHoTen("Lê Văn Một");
    info.setSoBaoDanh("1");
    QCOMPARE(m_controller->addContestantInfo(info).getSuccess(), false);
    QCOMPARE(m_controller->updateContestantInfo(1, 0, info), false);
    QCOMPARE(m_controller->removeContestantInfo(1), false);
    QCOMPARE(m_controller->resetContestantResult(1, 0, "lý do"), false);
    QCOMPARE(m_controller->getReportInfo(1).getResultValid(), false);
    QCOMPARE(m_controller->validateLogin("admin", "x"), -1);
    QCOMPARE(m_controller->getRecentCourseIdAt(0), QString());
    QCOMPARE(m_controller->updateResultOfFriendDB(), 0);
    QCOMPARE(m_controller->importCourseFromAuxiliaryDb("K1").first, 0);
    m_controller->onUpdateAllStudentTable();
    m_controller->exportXml("K1");

    // A stored terminal event still reaches the operator's counters.
    QSignalSpy courseInfo(m_controller, &BusinessController::notifyUpdateCourseInfo);
    emit BusinessControllerClient::getInstance()->notifyContestResultStored(1, 40, 35, true,
                                                                          "2024-03-05 08:30:00");
    emit BusinessControllerClient::getInstance()->notifyContestStartStored(1, "2024-03-05 08:00:00");
    QTRY_COMPARE(courseInfo.count(), 2);
}

ORV_TEST_MAIN_GUI(TestBusinessControllerNoDb)
#include "tst_businesscontrollernodb.moc"
