// The automatic sheet's PDF name: the course's characters that would point
// into another folder or cannot stand in a file name are replaced, and only
// those.

#include "tests/support/testmain.h"
#include "ui/autopdffilename.h"

#include <QDir>
#include <QFileInfo>

class TestAutoPdfFileName : public QObject
{
    Q_OBJECT

private slots:
    void name_data();
    void name();
};

void TestAutoPdfFileName::name_data()
{
    QTest::addColumn<QString>("course");
    QTest::addColumn<int>("orderNumber");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << "K01" << 7 << "./pdf/K01_7.pdf";
    QTest::newRow("vietnamese and blanks kept") << "Khóa 12 hạng B2" << 105 << "./pdf/Khóa 12 hạng B2_105.pdf";
    QTest::newRow("dots kept") << "K.01" << 1 << "./pdf/K.01_1.pdf";
    QTest::newRow("slash") << "K01/2024" << 3 << "./pdf/K01_2024_3.pdf";
    QTest::newRow("out of the folder") << "../../etc/x" << 3 << "./pdf/.._.._etc_x_3.pdf";
    QTest::newRow("backslash") << "K01\\2024" << 3 << "./pdf/K01_2024_3.pdf";
    QTest::newRow("reserved characters") << "a<b>c:d\"e|f?g*h" << 2 << "./pdf/a_b_c_d_e_f_g_h_2.pdf";
    QTest::newRow("control characters") << QString("K\t0\n1") + QChar(0x7f) << 4 << "./pdf/K_0_1__4.pdf";
    QTest::newRow("empty course") << "" << 9 << "./pdf/_9.pdf";
}

void TestAutoPdfFileName::name()
{
    QFETCH(QString, course);
    QFETCH(int, orderNumber);
    QFETCH(QString, expected);
    const QString name = autoPdfFileName(course, orderNumber);
    QCOMPARE(name, expected);
    QCOMPARE(QFileInfo(name).dir().path(), QString("./pdf"));
}

ORV_TEST_MAIN_CORE(TestAutoPdfFileName)
#include "tst_autopdffilename.moc"
