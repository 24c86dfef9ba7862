// The examination contents file: what the candidate dialog lists, what it
// stores for the item picked, and which contents skip the theory check.

#include "records/contestcontent.h"
#include "records/jsonhandler.h"
#include "tests/support/testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

class TestContestContent : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void unusableFileGivesEmptyContent_data();
    void unusableFileGivesEmptyContent();
    void itemsAndStoredNumbersShareOneOrder();
    void describedOnlyWhenListed();
    void detailLookup_data();
    void detailLookup();
    void outOfRangeIndex_data();
    void outOfRangeIndex();
    void settersConvertToInt();

private:
    std::shared_ptr<ContestContent> read(const QByteArray &json);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
};

void TestContestContent::init()
{
    m_previousDir = QDir::currentPath();
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QDir().mkdir("config"));
}

void TestContestContent::cleanup()
{
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

std::shared_ptr<ContestContent> TestContestContent::read(const QByteArray &json)
{
    QFile file("config/NDSH.json");
    if (file.open(QIODevice::WriteOnly)) {
        file.write(json);
        file.close();
    }
    return JsonHandler().readContestContent();
}

void TestContestContent::unusableFileGivesEmptyContent_data()
{
    QTest::addColumn<QByteArray>("json"); // null: no file at all
    QTest::newRow("no file") << QByteArray();
    QTest::newRow("empty file") << QByteArray("");
    QTest::newRow("not json") << QByteArray("CONTEST_CONTENT_LIST: [1, 2]");
    QTest::newRow("cut short") << QByteArray("{\"CONTEST_CONTENT_LIST\": [1, 2");
    QTest::newRow("array at top") << QByteArray("[1, 2, 3]");
    QTest::newRow("empty object") << QByteArray("{}");
    QTest::newRow("wrong types") << QByteArray("{\"CONTEST_CONTENT_LIST\": 3, \"NOT_TEST_THEORY_RESULT\": \"5\"}");
}

void TestContestContent::unusableFileGivesEmptyContent()
{
    QFETCH(QByteArray, json);
    std::shared_ptr<ContestContent> content;
    if (json.isNull()) {
        content = JsonHandler().readContestContent();
        // Reading does not create the file.
        QVERIFY(!QFile::exists("config/NDSH.json"));
    } else {
        content = read(json);
    }
    QVERIFY(content != nullptr);
    QVERIFY(content->getContestContentList().isEmpty());
    QVERIFY(content->getNotTestSimulation().isEmpty());
    QVERIFY(content->getNotTestTheoryResult().isEmpty());
    QVERIFY(content->getContestContentDetails().isEmpty());
    QVERIFY(content->getContestContentAt(0).isEmpty());
    QVERIFY(content->getContestContentDetail("0").isEmpty());
}

void TestContestContent::itemsAndStoredNumbersShareOneOrder()
{
    const auto content = read(R"({
        "NOT_TEST_SIMULATION": [5, 6, 7, 8],
        "NOT_TEST_THEORY_RESULT": [4, 7],
        "CONTEST_CONTENT_LIST": [3, 1, 2],
        "CONTEST_CONTENT_DETAIL": {"1": "Sát hạch lần đầu", "2": "Sát hạch lại lý thuyết",
                                   "3": "Sát hạch lại mô phỏng"}
    })");
    QCOMPARE(content->getContestContentList(), QList<int>({3, 1, 2}));
    QCOMPARE(content->getNotTestSimulation(), QList<int>({5, 6, 7, 8}));
    QCOMPARE(content->getNotTestTheoryResult(), QList<int>({4, 7}));

    // The dialog shows item i and stores getContestContentAt(i): both must
    // name the same content.
    const QStringList items = content->getContestContentDetails();
    QCOMPARE(items, QStringList({"Sát hạch lần đầu", "Sát hạch lại lý thuyết", "Sát hạch lại mô phỏng"}));
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(content->getContestContentDetail(content->getContestContentAt(i)), items.at(i));
    QCOMPARE(content->getContestContentAt(0), QString("1"));
    QCOMPARE(content->getContestContentAt(2), QString("3"));
}

void TestContestContent::describedOnlyWhenListed()
{
    // 4 has no description but is still an item; 9 is described but not
    // listed; 3 is listed twice.
    const auto content = read(R"({
        "CONTEST_CONTENT_LIST": [3, 4, 1, 3],
        "CONTEST_CONTENT_DETAIL": {"1": "Một", "3": "Ba", "9": "Chín"}
    })");
    QCOMPARE(content->getContestContentDetails(), QStringList({"Một", "Ba", ""}));
    QCOMPARE(content->getContestContentAt(0), QString("1"));
    QCOMPARE(content->getContestContentAt(1), QString("3"));
    QCOMPARE(content->getContestContentAt(2), QString("4"));
    QVERIFY(content->getContestContentAt(3).isEmpty());
    QVERIFY(content->getContestContentDetail("9").isEmpty());
    QVERIFY(content->getContestContentDetail("4").isEmpty());
    QCOMPARE(content->getContestContentList(), QList<int>({3, 4, 1, 3}));
}

void TestContestContent::detailLookup_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("description");
    QTest::newRow("listed") << "2" << "Hai";
    QTest::newRow("zero") << "0" << "Không";
    // Text that is not a number looks up 0.
    QTest::newRow("not a number") << "abc" << "Không";
    QTest::newRow("empty") << "" << "Không";
    QTest::newRow("absent") << "5" << "";
}

void TestContestContent::detailLookup()
{
    QFETCH(QString, number);
    QFETCH(QString, description);
    const auto content = read(R"({"CONTEST_CONTENT_LIST": [0, 2],
                                  "CONTEST_CONTENT_DETAIL": {"0": "Không", "2": "Hai"}})");
    QCOMPARE(content->getContestContentDetail(number), description);
}

void TestContestContent::outOfRangeIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("negative") << -1;
    QTest::newRow("size") << 2;
    QTest::newRow("far") << 1000;
}

void TestContestContent::outOfRangeIndex()
{
    QFETCH(int, index);
    const auto content = read(R"({"CONTEST_CONTENT_LIST": [1, 2],
                                  "CONTEST_CONTENT_DETAIL": {"1": "Một", "2": "Hai"}})");
    QVERIFY(content->getContestContentAt(index).isEmpty());
}

void TestContestContent::settersConvertToInt()
{
    ContestContent content;
    content.setNotTestTheoryResult({QVariant(4.0), QVariant("7"), QVariant(2)});
    QCOMPARE(content.getNotTestTheoryResult(), QList<int>({4, 7, 2}));

    content.setContestContentDetail({{2, "Hai"}, {1, "Một"}});
    QCOMPARE(content.getContestContentDetails(), QStringList({"Một", "Hai"}));
    // Setting the map again rebuilds the items.
    content.setContestContentDetail({{5, "Năm"}});
    QCOMPARE(content.getContestContentDetails(), QStringList({"Năm"}));
    QCOMPARE(content.getContestContentAt(0), QString("5"));
}

ORV_TEST_MAIN_CORE(TestContestContent)
#include "tst_contestcontent.moc"
