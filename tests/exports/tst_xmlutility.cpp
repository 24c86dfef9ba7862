#include "reports/exports/xmlutility.h"
#include "tests/support/testmain.h"

#include <QCoreApplication>
#include <QDomDocument>

class TestXmlUtility : public QObject
{
    Q_OBJECT

private slots:
    void firstRegistrationCodes_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("registrationCode");
        QTest::addColumn<QString>("examPeriodCode");

        const QString candidate = "<NGUOI_LX><MA_DK>%1</MA_DK><HO_SO><MA_KY_SH>%2</MA_KY_SH></HO_SO></NGUOI_LX>";
        QTest::newRow("both codes")
            << "<BAO_CAO1><DATA><NGUOI_LXS>" + candidate.arg("DK1", "KY1") + "</NGUOI_LXS></DATA></BAO_CAO1>"
            << "DK1" << "KY1";
        QTest::newRow("only the first candidate")
            << "<R><DATA><NGUOI_LXS>" + candidate.arg("DK1", "KY1") + candidate.arg("DK2", "KY2")
                   + "</NGUOI_LXS></DATA></R>"
            << "DK1" << "KY1";
        QTest::newRow("comment before the first candidate")
            << "<R><DATA><NGUOI_LXS><!-- danh sách -->" + candidate.arg("DK1", "KY1") + "</NGUOI_LXS></DATA></R>"
            << "DK1" << "KY1";
        QTest::newRow("other elements first")
            << "<R><HEADER/><DATA><KY_SH/><NGUOI_LXS><X/>" + candidate.arg("DK1", "KY1") + "</NGUOI_LXS></DATA></R>"
            << "DK1" << "KY1";
        QTest::newRow("text of nested elements")
            << "<R><DATA><NGUOI_LXS><NGUOI_LX><MA_DK>A<b>B</b>C</MA_DK></NGUOI_LX></NGUOI_LXS></DATA></R>"
            << "ABC" << "";
        QTest::newRow("no DATA") << "<R><NGUOI_LXS>" + candidate.arg("DK1", "KY1") + "</NGUOI_LXS></R>" << ""
                                 << "";
        QTest::newRow("no NGUOI_LXS") << "<R><DATA>" + candidate.arg("DK1", "KY1") + "</DATA></R>" << "" << "";
        QTest::newRow("no candidate") << "<R><DATA><NGUOI_LXS/></DATA></R>" << "" << "";
        QTest::newRow("no HO_SO")
            << "<R><DATA><NGUOI_LXS><NGUOI_LX><MA_DK>DK1</MA_DK><MA_KY_SH>KY1</MA_KY_SH></NGUOI_LX>"
               "</NGUOI_LXS></DATA></R>"
            << "DK1" << "";
        QTest::newRow("no MA_DK")
            << "<R><DATA><NGUOI_LXS><NGUOI_LX><HO_SO><MA_KY_SH>KY1</MA_KY_SH></HO_SO></NGUOI_LX>"
               "</NGUOI_LXS></DATA></R>"
            << "" << "KY1";
        QTest::newRow("empty document") << "" << "" << "";
    }

    void firstRegistrationCodes()
    {
        QFETCH(QString, xml);
        QFETCH(QString, registrationCode);
        QFETCH(QString, examPeriodCode);

        QDomDocument document;
        if (!xml.isEmpty())
            QVERIFY(document.setContent(xml));
        const QPair<QString, QString> codes = XmlUtility::getInstance()->getFirstRegistrationCodes(document);
        QCOMPARE(codes.first, registrationCode);
        QCOMPARE(codes.second, examPeriodCode);
        // Empty, never null: callers compare and bind these texts.
        QVERIFY(!codes.first.isNull());
        QVERIFY(!codes.second.isNull());
    }

    void oneInstance() { QCOMPARE(XmlUtility::getInstance(), XmlUtility::getInstance()); }
};

ORV_TEST_MAIN_CORE(TestXmlUtility)
#include "tst_xmlutility.moc"
