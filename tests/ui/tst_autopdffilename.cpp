// The automatic sheet's PDF name: the course's characters that would point
// into another folder or cannot stand in a file name are replaced, and only
// those; a name too long for the file system is cut and keeps the course
// code, and the file can be written.

#include "tests/support/testmain.h"
#include "ui/autopdffilename.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {
// 255 characters, 2 or 3 bytes each in UTF-8 past the first words.
QString longName(const QString &end)
{
    QString name = QStringLiteral("Khóa đào tạo lái xe hạng B2 ");
    while (name.size() < 255 - end.size())
        name += QStringLiteral("ấ");
    return name + end;
}
} // namespace

class TestAutoPdfFileName : public QObject
{
    Q_OBJECT

private slots:
    void name_data();
    void name();
    void longNames();
};

void TestAutoPdfFileName::name_data()
{
    QTest::addColumn<QString>("course");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("orderNumber");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << "K01" << "K01" << 7 << "./pdf/K01_7.pdf";
    QTest::newRow("vietnamese and blanks kept") << "Khóa 12 hạng B2"
                                                << "K01" << 105 << "./pdf/Khóa 12 hạng B2_105.pdf";
    QTest::newRow("dots kept") << "K.01" << "K01" << 1 << "./pdf/K.01_1.pdf";
    QTest::newRow("slash") << "K01/2024" << "K01" << 3 << "./pdf/K01_2024_3.pdf";
    QTest::newRow("out of the folder") << "../../etc/x" << "K01" << 3 << "./pdf/.._.._etc_x_3.pdf";
    QTest::newRow("backslash") << "K01\\2024" << "K01" << 3 << "./pdf/K01_2024_3.pdf";
    QTest::newRow("reserved characters") << "a<b>c:d\"e|f?g*h" << "K01" << 2 << "./pdf/a_b_c_d_e_f_g_h_2.pdf";
    QTest::newRow("control characters") << QString("K\t0\n1") + QChar(0x7f) << "K01" << 4 << "./pdf/K_0_1__4.pdf";
    QTest::newRow("empty course") << "" << "K01" << 9 << "./pdf/_9.pdf";
}

void TestAutoPdfFileName::name()
{
    QFETCH(QString, course);
    QFETCH(QString, code);
    QFETCH(int, orderNumber);
    QFETCH(QString, expected);
    const QString name = autoPdfFileName(course, code, orderNumber);
    QCOMPARE(name, expected);
    QCOMPARE(QFileInfo(name).dir().path(), QString("./pdf"));
}

void TestAutoPdfFileName::longNames()
{
    // Two courses of 255 characters whose names differ only past the 200th.
    const QString first = longName(QStringLiteral("một"));
    const QString second = longName(QStringLiteral("hai"));
    QCOMPARE(first.size(), 255);
    QVERIFY(first.toUtf8().size() > 255);
    QCOMPARE(first.left(200), second.left(200));
    const QString firstFile = QFileInfo(autoPdfFileName(first, "K/01", 105)).fileName();
    const QString secondFile = QFileInfo(autoPdfFileName(second, "K02", 105)).fileName();
    QVERIFY(firstFile != secondFile);
    QVERIFY(firstFile.endsWith("_K_01_105.pdf"));
    QVERIFY(secondFile.endsWith("_K02_105.pdf"));
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QList<QPair<QString, QString>> files = {{firstFile, "_K_01_105.pdf"}, {secondFile, "_K02_105.pdf"}};
    for (const auto &entry : files) {
        const QString &file = entry.first;
        // As much of the name as fits, on a character boundary.
        QVERIFY2(file.toUtf8().size() <= 255 && file.toUtf8().size() > 252, qPrintable(file));
        QVERIFY(first.startsWith(file.chopped(entry.second.size())));
        QFile written(folder.filePath(file));
        QVERIFY2(written.open(QIODevice::WriteOnly), qPrintable(written.errorString()));
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 2);
}

ORV_TEST_MAIN_CORE(TestAutoPdfFileName)
#include "tst_autopdffilename.moc"
