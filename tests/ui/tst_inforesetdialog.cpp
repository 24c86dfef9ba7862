// The reset-reason dialog: a reason is required, handed over exactly as
// typed, at most 50 characters, and every opening starts empty.

#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"
#include "tests/ui/expectmodal.h"
#include "tests/ui/textfits.h"
#include "tests/ui/typetext.h"
#include "ui/inforesetdialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

class TestInfoResetDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void reasonHandedOver_data();
    void reasonHandedOver();
    void emptyReasonRefused();
    void reasonLimitedTo50Characters();
    void cancelEmitsNothingAndNextOpeningIsEmpty();
    void formShowsItsTextsUnclipped();

private:
    QLineEdit *comment() const { return m_dialog->findChild<QLineEdit *>("leComment"); }
    QPushButton *button(const char *name) const { return m_dialog->findChild<QPushButton *>(name); }
    void openDialog()
    {
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->showDialog();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
    }

    InfoResetDialog *m_dialog = nullptr;
};

void TestInfoResetDialog::init()
{
    m_dialog = new InfoResetDialog();
}

void TestInfoResetDialog::cleanup()
{
    delete m_dialog;
    m_dialog = nullptr;
}

void TestInfoResetDialog::reasonHandedOver_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("words") << "Máy thi hỏng giữa bài";
    QTest::newRow("blanks only") << "   ";
    QTest::newRow("surrounding blanks kept") << "  mất điện ";
}

void TestInfoResetDialog::reasonHandedOver()
{
    QFETCH(QString, typed);
    openDialog();
    QSignalSpy confirmed(m_dialog, &InfoResetDialog::confirmResetAccount);
    typeText(comment(), typed);
    button("startButton")->click();
    QCOMPARE(confirmed.count(), 1);
    QCOMPARE(confirmed.at(0).at(0).toString(), typed);
    QVERIFY(!m_dialog->isVisible());
}

void TestInfoResetDialog::emptyReasonRefused()
{
    openDialog();
    QSignalSpy confirmed(m_dialog, &InfoResetDialog::confirmResetAccount);
    auto box = ExpectModal::messageBox();
    button("startButton")->click();
    QVERIFY(box->answered());
    QCOMPARE(box->title(), QString("Cảnh báo"));
    QCOMPARE(box->text(), QString("Phải điền lý do thiêt lập lại"));
    QCOMPARE(confirmed.count(), 0);
    QVERIFY(m_dialog->isVisible());
}

void TestInfoResetDialog::reasonLimitedTo50Characters()
{
    openDialog();
    QSignalSpy confirmed(m_dialog, &InfoResetDialog::confirmResetAccount);
    const QString typed = QString("Lý do ").repeated(10);
    typeText(comment(), typed);
    button("startButton")->click();
    QCOMPARE(confirmed.count(), 1);
    QCOMPARE(confirmed.at(0).at(0).toString(), typed.left(50));
}

void TestInfoResetDialog::cancelEmitsNothingAndNextOpeningIsEmpty()
{
    openDialog();
    QSignalSpy confirmed(m_dialog, &InfoResetDialog::confirmResetAccount);
    QSignalSpy finished(m_dialog, &QDialog::finished);
    typeText(comment(), "dở dang");
    button("btnCancel")->click();
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(confirmed.count(), 0);
    QCOMPARE(finished.count(), 0);

    openDialog();
    QCOMPARE(comment()->text(), QString());
    QCOMPARE(m_dialog->focusWidget(), comment());

    // A confirmed reason does not come back either.
    typeText(comment(), "lần một");
    button("startButton")->click();
    openDialog();
    QCOMPARE(comment()->text(), QString());
}

void TestInfoResetDialog::formShowsItsTextsUnclipped()
{
    openDialog();
    const QByteArray folder = qgetenv("ORV_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        QVERIFY(m_dialog->grab().save(QString::fromLocal8Bit(folder) + "/reset-reason-dialog.png"));
    for (QLabel *label : m_dialog->findChildren<QLabel *>())
        QVERIFY2(textFits(label, label->text()), qPrintable(label->objectName()));
    for (QPushButton *b : m_dialog->findChildren<QPushButton *>())
        QVERIFY2(textFits(b, b->text()), qPrintable(b->objectName()));
}

ORV_TEST_MAIN_DESKTOP(TestInfoResetDialog)
#include "tst_inforesetdialog.moc"
