// The receiving end of a video transfer: a peer's path may only name a file
// below the video folder, and the chunks written rebuild the file.

#include "connection/videoobject.h"

#include "tests/support/testmain.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>

class TestVideoObject : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void acceptedPaths_data();
    void acceptedPaths();
    void refusedPaths_data();
    void refusedPaths();
    void chunksReassembleFile();
    void missingFolderLogsError();
    void callsWithoutOpenFileIgnored();
    void newStartClosesEarlierFile();

private:
    static QByteArray contents(const QString &path);
    // Every file below the temporary root, relative to it.
    QStringList filesUnderRoot() const;

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_previousDir;
};

void TestVideoObject::init()
{
    // The video folder is relative to the working folder, so each case runs
    // in a fresh one: <root>/work with videos/, videos/sub/ and videos2/.
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    QDir root(m_root->path());
    QVERIFY(root.mkpath("work/videos/sub"));
    QVERIFY(root.mkpath("work/videos2"));
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root.filePath("work")));
}

void TestVideoObject::cleanup()
{
    QDir::setCurrent(m_previousDir);
    m_root.reset();
}

QByteArray TestVideoObject::contents(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

QStringList TestVideoObject::filesUnderRoot() const
{
    QStringList files;
    const QDir root(m_root->path());
    QDirIterator it(m_root->path(), QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << root.relativeFilePath(it.next());
    return files;
}

void TestVideoObject::acceptedPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("written");

    QTest::newRow("as the server lists it") << "./videos/chapter1.mp4" << "work/videos/chapter1.mp4";
    QTest::newRow("without ./") << "videos/chapter1.mp4" << "work/videos/chapter1.mp4";
    QTest::newRow("sub-folder") << "./videos/sub/chapter2.mp4" << "work/videos/sub/chapter2.mp4";
    QTest::newRow("doubled slash") << "videos//chapter3.mp4" << "work/videos/chapter3.mp4";
    QTest::newRow("dot component") << "./videos/./chapter4.mp4" << "work/videos/chapter4.mp4";
}

void TestVideoObject::acceptedPaths()
{
    QFETCH(QString, path);
    QFETCH(QString, written);

    VideoObject video;
    video.openFile(path);
    QCOMPARE(video.writeData("abc", 3), 3);
    video.closeFile();
    QCOMPARE(filesUnderRoot(), QStringList({written}));
    QCOMPARE(contents(QDir(m_root->path()).filePath(written)), QByteArray("abc"));
}

void TestVideoObject::refusedPaths_data()
{
    QTest::addColumn<QString>("path");

    // Relative paths resolve from <root>/work; each would land outside the
    // video folder, or climbs with "..". "<root>" stands for the temporary
    // root, made only when the case runs.
    QTest::newRow("empty") << "";
    QTest::newRow("absolute outside") << "<root>/abs.mp4";
    QTest::newRow("absolute into the video folder") << "<root>/work/videos/chapter1.mp4";
    QTest::newRow("parent folder") << "../escape.mp4";
    QTest::newRow("out of the video folder") << "./videos/../escape.mp4";
    QTest::newRow("two levels up") << "videos/../../escape.mp4";
    QTest::newRow("dot-dot that stays inside") << "videos/sub/../chapter1.mp4";
    QTest::newRow("working folder") << "chapter1.mp4";
    QTest::newRow("folder with the same prefix") << "./videos2/chapter1.mp4";
    QTest::newRow("the video folder itself") << "./videos/";
    QTest::newRow("backslashes") << "videos\\..\\..\\escape.mp4";
    QTest::newRow("backslash as separator") << "videos\\chapter1.mp4";
}

void TestVideoObject::refusedPaths()
{
    QFETCH(QString, path);
    path.replace("<root>", m_root->path());

    VideoObject video;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Refused video path"));
    video.openFile(path);
    QCOMPARE(video.writeData("abc", 3), -1);
    video.closeFile();
    QCOMPARE(filesUnderRoot(), QStringList());
}

void TestVideoObject::chunksReassembleFile()
{
    QByteArray source(25000, Qt::Uninitialized);
    QRandomGenerator generator(6);
    for (char &c : source)
        c = static_cast<char>(generator.bounded(256));

    VideoObject video;
    video.openFile("./videos/chapter1.mp4");
    for (int offset = 0; offset < source.size(); offset += 10240) {
        const int n = qMin(10240, source.size() - offset);
        QCOMPARE(video.writeData(source.constData() + offset, n), n);
    }
    video.closeFile();
    QCOMPARE(contents("videos/chapter1.mp4"), source);

    // A second transfer of the same file replaces it, even when shorter.
    video.openFile("./videos/chapter1.mp4");
    QCOMPARE(video.writeData(source.constData(), 100), 100);
    video.closeFile();
    QCOMPARE(contents("videos/chapter1.mp4"), source.left(100));
}

void TestVideoObject::missingFolderLogsError()
{
    VideoObject video;
    QTest::ignoreMessage(QtInfoMsg, "Error open mp4 file");
    video.openFile("./videos/nosuch/chapter1.mp4");
    QCOMPARE(video.writeData("abc", 3), -1);
    QCOMPARE(video.writeData("abc", 3), -1);
    video.closeFile();
    QCOMPARE(filesUnderRoot(), QStringList());

    // The failed transfer does not spoil the next one.
    video.openFile("./videos/chapter2.mp4");
    QCOMPARE(video.writeData("abc", 3), 3);
    video.closeFile();
    QCOMPARE(contents("videos/chapter2.mp4"), QByteArray("abc"));
}

void TestVideoObject::callsWithoutOpenFileIgnored()
{
    VideoObject video;
    QCOMPARE(video.writeData("abc", 3), -1);
    video.closeFile();

    video.openFile("./videos/chapter1.mp4");
    QCOMPARE(video.writeData("abc", 3), 3);
    video.closeFile();
    video.closeFile();
    QCOMPARE(video.writeData("def", 3), -1);
    QCOMPARE(contents("videos/chapter1.mp4"), QByteArray("abc"));
}

void TestVideoObject::newStartClosesEarlierFile()
{
    // A start message without the earlier file's end: the earlier file keeps
    // what it received and the chunks go to the new one.
    VideoObject video;
    video.openFile("./videos/chapter1.mp4");
    QCOMPARE(video.writeData("one", 3), 3);
    video.openFile("./videos/chapter2.mp4");
    QCOMPARE(video.writeData("two", 3), 3);
    QCOMPARE(contents("videos/chapter1.mp4"), QByteArray("one"));
    video.closeFile();
    QCOMPARE(contents("videos/chapter2.mp4"), QByteArray("two"));
}

ORV_TEST_MAIN_CORE(TestVideoObject)
#include "tst_videoobject.moc"
