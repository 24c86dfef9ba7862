// The resource bundle: every path the windows and the result sheet name
// loads as an image, and the two paths nothing provides stay absent.

#include "common/constants.h"
#include "tests/support/testmain.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void loads_data();
    void loads();
    void absentPathsStayAbsent();
};

void TestResources::loads_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &path :
         {QStringLiteral(":/images/resources/app_icon.svg"), QStringLiteral(":/images/resources/course_icon.svg"),
          QStringLiteral(":/images/resources/warning_icon.svg"), USER_ICON_PATH, PASSWORD_ICON_PATH,
          QStringLiteral(":/images/resources/RoadDepartment.png"), QStringLiteral(":/images/resources/cancel.png"),
          QStringLiteral(":/images/resources/sign_out.png"), QStringLiteral(":/icon/resources/icon/add.svg"),
          QStringLiteral(":/icon/resources/icon/edit.svg"), QStringLiteral(":/icon/resources/icon/delete.svg"),
          QStringLiteral(":/icon/resources/icon/search.svg"), QStringLiteral(":/icon/resources/icon/dvr.png")})
        QTest::newRow(qPrintable(path)) << path;
}

void TestResources::loads()
{
    QFETCH(QString, path);
    QImageReader reader(path);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QVERIFY(image.width() >= 16 && image.height() >= 16);
}

void TestResources::absentPathsStayAbsent()
{
    QVERIFY(!QFile::exists(FLAG_ICON_PATH));
    QVERIFY(!QFile::exists(ADMINISTRATOR_ICON_PATH));
    QVERIFY(!QFile::exists(":/images/resources/images"));
}

ORV_TEST_MAIN_GUI(TestResources)
#include "tst_resources.moc"
