// The local video list: a real SQLite file "orv.db" in a temporary working
// folder.

#include "connection/sqliteconnection.h"

#include "common/constants.h"
#include "tests/support/testmain.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <memory>

struct VideoRow
{
    QString name;
    int chapter;
    int th;
};
Q_DECLARE_METATYPE(QList<VideoRow>)

class TestSqliteConnection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void missingFileCreatedEmpty();
    void videoList_data();
    void videoList();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    std::unique_ptr<SqliteConnection> m_connection;
};

void TestSqliteConnection::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    m_connection = std::make_unique<SqliteConnection>();
}

void TestSqliteConnection::cleanup()
{
    m_connection.reset();
    QSqlDatabase::removeDatabase(SQLITE_CONNECTION_NAME);
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestSqliteConnection::missingFileCreatedEmpty()
{
    QVERIFY(!QFileInfo::exists(SQLITE_DB_NAME));
    const QSqlError error = m_connection->initDatabase();
    QCOMPARE(error.type(), QSqlError::NoError);
    QVERIFY(QFileInfo::exists(QDir(m_dir->path()).filePath("orv.db")));
    // A new file has no video table: nothing to send.
    QCOMPARE(m_connection->getVideoList(), QStringList());
}

void TestSqliteConnection::videoList_data()
{
    QTest::addColumn<QList<VideoRow>>("rows");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("chapter names in any case, by chapter then number")
        << QList<VideoRow>{{"chapter2_1.mp4", 2, 1},  {"intro.mp4", 0, 1},
                           {"Chapter1_10.mp4", 1, 10}, {"mychapter1.mp4", 1, 0},
                           {"CHAPTER3_1.mp4", 3, 1},   {"chapter1_9.mp4", 1, 9},
                           {"chapter1_1.mp4", 1, 1}}
        << QStringList{"./videos/chapter1_1.mp4", "./videos/chapter1_9.mp4",
                       "./videos/Chapter1_10.mp4", "./videos/chapter2_1.mp4",
                       "./videos/CHAPTER3_1.mp4"};
    QTest::newRow("no chapter video") << QList<VideoRow>{{"intro.mp4", 1, 1}} << QStringList();
    QTest::newRow("empty table") << QList<VideoRow>{} << QStringList();
}

void TestSqliteConnection::videoList()
{
    QFETCH(QList<VideoRow>, rows);
    QFETCH(QStringList, expected);

    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fixture");
        db.setDatabaseName(QDir(m_dir->path()).filePath("orv.db"));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec("CREATE TABLE video (id INTEGER PRIMARY KEY, name TEXT, chapter INTEGER, "
                       "th INTEGER)"));
        QVERIFY(q.prepare("INSERT INTO video (name, chapter, th) VALUES (:name, :chapter, :th)"));
        for (const VideoRow &row : rows) {
            q.bindValue(":name", row.name);
            q.bindValue(":chapter", row.chapter);
            q.bindValue(":th", row.th);
            QVERIFY(q.exec());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("fixture");

    QCOMPARE(m_connection->initDatabase().type(), QSqlError::NoError);
    QCOMPARE(m_connection->getVideoList(), expected);
}

ORV_TEST_MAIN_CORE(TestSqliteConnection)
#include "tst_sqliteconnection.moc"
