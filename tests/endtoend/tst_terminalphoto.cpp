// Admission with the theory check and the photo import on: a candidate whose
// theory result is not passed is turned away unless the content exempts it,
// and the photo found in the course's folder becomes the entry's portrait,
// never a file outside that folder.

#include "server/business/businesscontroller.h"
#include "server/business/businesscontrollerclient.h"
#include "server/network/iocontroller.h"
#include "tests/endtoend/endtoendfixture.h"
#include "tests/support/jp2file.h"
#include "tests/support/testmain.h"
#include "tests/support/workfolder.h"

#include <FreeImage.h>

#include <QDir>
#include <QSqlError>

#include <memory>

using namespace EndToEnd;

namespace {

// A JPEG 2000 file of the given size, as the photo folders hold them.
QByteArray makeJp2(int width, int height)
{
    FIBITMAP *bitmap = FreeImage_Allocate(width, height, 24, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                                          FI_RGBA_BLUE_MASK);
    if (!bitmap)
        return QByteArray();
    for (int y = 0; y < height; ++y) {
        BYTE *line = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < width; ++x) {
            line[x * 3 + FI_RGBA_RED] = BYTE(x);
            line[x * 3 + FI_RGBA_GREEN] = BYTE(y);
            line[x * 3 + FI_RGBA_BLUE] = 128;
        }
    }
    const QByteArray bytes = jp2File(bitmap);
    FreeImage_Unload(bitmap);
    return bytes;
}

} // namespace

class TestTerminalPhoto : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void theoryCheck_data();
    void theoryCheck();
    void photoImport_data();
    void photoImport();

private:
    QVariant storedPhoto(const QString &order);

    std::unique_ptr<WorkFolder> m_folder;
    QSqlDatabase m_db;
    TestTerminal m_terminal;
    QByteArray m_jp2;
    QByteArray m_storedPng;
};

void TestTerminalPhoto::initTestCase()
{
    WorkFolder::Options options;
    options.checkPassingTheory = true;
    options.importAvatarFolderOn = 1;
    m_folder.reset(new WorkFolder("e2ephoto", options));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    m_db = m_folder->mainAdmin();

    // photos/K1/R1.jp2 a photo, photos/K1/R5.jp2 not an image, and a photo
    // beside the folder that only a path leaving it would reach.
    m_jp2 = makeJp2(120, 160);
    QVERIFY(m_jp2.startsWith(QByteArray::fromHex("0000000c6a5020200d0a870a")));
    QVERIFY(QDir().mkpath(m_folder->filePath("photos/K1")));
    QVERIFY(m_folder->writeFile("photos/K1/R1.jp2", m_jp2));
    QVERIFY(m_folder->writeFile("photos/K1/R5.jp2", "not a picture"));
    QVERIFY(m_folder->writeFile("R3.jp2", m_jp2));
    // Pictures padded to the photo limit and one byte over it (the image
    // readers ignore what follows the picture).
    const QByteArray picture = imageFile(60, 80);
    const int limit = int(BusinessControllerClient::MAX_PHOTO_BYTES);
    QVERIFY(m_folder->writeFile("photos/K1/R7.jp2", picture + QByteArray(limit - picture.size(), '\0')));
    QVERIFY(m_folder->writeFile("photos/K1/R8.jp2", picture + QByteArray(limit + 1 - picture.size(), '\0')));
    m_storedPng = imageFile(60, 80);

    QSqlQuery course(m_db);
    course.prepare("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, NgayThi, TrangThai, GhiChu) "
                   "VALUES ('C1', 'Khóa một', CURDATE(), 2, :folder)");
    course.bindValue(":folder", m_folder->filePath("photos"));
    QVERIFY2(course.exec(), qPrintable(course.lastError().text()));
    const QStringList seed = {
        "INSERT INTO thisinh (IDThiSinh, HoTen, SoCMT, Ma_Ky_SH, Ma_Dang_Ky) VALUES "
        "(1, 'Một', '1', 'K1', 'R1'), (2, 'Hai', '2', 'K1', 'R2'), (3, 'Ba', '3', '..', 'R3'), "
        "(4, 'Bốn', '4', 'K1/../K1', 'R1'), (5, 'Năm', '5', 'K1', 'R5'), (6, 'Sáu', '6', 'K1', 'R1'), "
        "(7, 'Bảy', '7', 'K1', 'R7'), (8, 'Tám', '8', 'K1', 'R8')",
        QString("INSERT INTO khoathi_thisinh (ID, IDKhoaHoc, IDThiSinh, SoBaoDanh, TrangThai, NoiDungSH, "
                "LoaiBang, KetQuaSHLyThuyet, AnhChanDung) VALUES "
                "(1, 'C1', 1, '1', 0, '1', 'B2', 'DAT', NULL), "
                "(2, 'C1', 2, '2', 0, '1', 'B2', 'DAT', '%1'), "
                "(3, 'C1', 3, '3', 0, '1', 'B2', 'DAT', NULL), "
                "(4, 'C1', 4, '4', 0, '1', 'B2', 'DAT', NULL), "
                "(5, 'C1', 5, '5', 0, '1', 'B2', 'DAT', NULL), "
                "(7, 'C1', 7, '7', 0, '1', 'B2', 'DAT', NULL), "
                "(8, 'C1', 8, '8', 0, '1', 'B2', 'DAT', NULL), "
                "(11, 'C1', 6, '11', 0, '1', 'B2', 'dat', NULL), "
                "(12, 'C1', 6, '12', 0, '1', 'B2', NULL, NULL), "
                "(13, 'C1', 6, '13', 0, '1', 'B2', 'KHONG DAT', NULL), "
                "(14, 'C1', 6, '14', 0, '3', 'B2', NULL, NULL), "
                "(15, 'C1', 6, '15', 2, '1', 'B2', NULL, NULL)")
            .arg(QString::fromLatin1(m_storedPng.toBase64())),
    };
    for (const QString &statement : seed)
        QVERIFY2(TestDb::exec(m_db, statement), qPrintable(statement.left(80)));

    BusinessController *controller = BusinessController::getInstance();
    QCOMPARE(controller->isDbConnectionFailed(), 0);
    QVERIFY(controller->getCheckPassingTheoryExam());
    QVERIFY(controller->getImportAvatarFolderOn());
    QVERIFY(m_terminal.connectTo("127.0.0.1", m_folder->port()));
    QVERIFY2(m_terminal.handshake(), qPrintable(m_terminal.errorString()));
}

void TestTerminalPhoto::cleanupTestCase()
{
    m_terminal.close();
    IOController::destroyInstance();
    m_db = QSqlDatabase();
    m_folder.reset();
}

QVariant TestTerminalPhoto::storedPhoto(const QString &order)
{
    return scalar(m_db, QString("SELECT AnhChanDung FROM khoathi_thisinh WHERE SoBaoDanh = '%1'").arg(order));
}

void TestTerminalPhoto::theoryCheck_data()
{
    QTest::addColumn<QByteArray>("order");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("id");

    QTest::newRow("theory passed, in lower case") << QByteArray("11") << 0 << 11;
    QTest::newRow("no theory result") << QByteArray("12") << 5 << 0;
    QTest::newRow("theory failed") << QByteArray("13") << 5 << 0;
    QTest::newRow("content exempt from the theory result") << QByteArray("14") << 0 << 14;
    QTest::newRow("result stored: the review is not held back") << QByteArray("15") << 2 << 15;
}

void TestTerminalPhoto::theoryCheck()
{
    QFETCH(QByteArray, order);
    QFETCH(int, status);

    Messages::EnterResponseFields reply;
    QString error;
    QVERIFY2(enter(m_terminal, "C1", order, &reply, &error), qPrintable(error));
    QCOMPARE(int(reply.status), status);
    QTEST(int(reply.entryId), "id");
    if (status == 5) {
        QVERIFY(reply.soCmt.isEmpty());
        QVERIFY(reply.name.isEmpty());
        QVERIFY(reply.portrait.isEmpty());
    } else {
        QCOMPARE(reply.soCmt, QByteArray("6           "));
        QCOMPARE(QString::fromUtf8(reply.name), QString("Sáu"));
    }
}

void TestTerminalPhoto::photoImport_data()
{
    QTest::addColumn<QByteArray>("order");
    // "file": the JPEG 2000 file as read; "seeded": what was stored before;
    // "none": nothing.
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QSize>("portrait");

    QTest::newRow("photo in the folder") << QByteArray("1") << "file" << QSize(114, 152);
    QTest::newRow("no file: the stored photo") << QByteArray("2") << "seeded" << QSize(114, 152);
    QTest::newRow("code leaving the folder") << QByteArray("3") << "none" << QSize();
    QTest::newRow("code with a separator") << QByteArray("4") << "none" << QSize();
    QTest::newRow("file that is no image") << QByteArray("5") << "none" << QSize();
    QTest::newRow("photo at the size limit") << QByteArray("7") << "limit" << QSize(114, 152);
    QTest::newRow("photo over the size limit") << QByteArray("8") << "none" << QSize();
}

void TestTerminalPhoto::photoImport()
{
    QFETCH(QByteArray, order);
    QFETCH(QString, stored);
    QFETCH(QSize, portrait);

    Messages::EnterResponseFields reply;
    QString error;
    QVERIFY2(enter(m_terminal, "C1", order, &reply, &error), qPrintable(error));
    QCOMPARE(int(reply.status), 0);

    const QVariant photo = storedPhoto(order);
    if (stored == "file")
        QCOMPARE(QByteArray::fromBase64(photo.toByteArray()), m_jp2);
    else if (stored == "seeded")
        QCOMPARE(QByteArray::fromBase64(photo.toByteArray()), m_storedPng);
    else if (stored == "limit")
        QCOMPARE(QByteArray::fromBase64(photo.toByteArray()).size(),
                 int(BusinessControllerClient::MAX_PHOTO_BYTES));
    else
        QVERIFY(photo.isNull());
    // Whatever the photo, the terminal's connection stays whole: the next
    // admission is answered.
    Messages::EnterResponseFields next;
    QVERIFY2(enter(m_terminal, "C1", "11", &next, &error), qPrintable(error));
    QCOMPARE(int(next.status), 0);

    if (!portrait.isValid()) {
        QVERIFY(reply.portrait.isEmpty());
        return;
    }
    const QByteArray jpeg = QByteArray::fromBase64(reply.portrait);
    QVERIFY(jpeg.startsWith("\xff\xd8"));
    QCOMPARE(QImage::fromData(jpeg, "JPG").size(), portrait);
}

ORV_TEST_MAIN_GUI(TestTerminalPhoto)
#include "tst_terminalphoto.moc"
