// The message box, the confirmation dialog and the About box, as their
// owners use them.

#include "tests/support/testmain.h"
#include "tests/ui/desktopmain.h"
#include "ui/aboutdialog.h"
#include "ui/confirmdialog.h"
#include "ui/customerbox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxShowsWithoutBlocking();
    void messageBoxTakesNewTextInPlace();
    void messageBoxOutlivesTheDialogThatShowedIt();
    void confirmationReportsItsCodeOnlyOnYes();
    void aboutShowsTheTitleEachTime();
    void messageBoxFitsItsText_data();
    void messageBoxFitsItsText();
    void qtDialogsSpeakVietnamese();
};

namespace {

QString labelText(QWidget *dialog, const char *name)
{
    auto *label = dialog->findChild<QLabel *>(name);
    return label ? label->text() : QString("<no label %1>").arg(name);
}

void click(QWidget *dialog, const char *button)
{
    auto *pushButton = dialog->findChild<QPushButton *>(button);
    QVERIFY2(pushButton, button);
    pushButton->click();
}

} // namespace

void TestDialogs::messageBoxShowsWithoutBlocking()
{
    CustomerBox box;
    QCOMPARE(box.windowTitle(), QString("Phần mềm sát hạch"));
    QCOMPARE(labelText(&box, "lbContent"), QString("Số báo danh không đúng"));
    box.setTitle("Thông tin");
    box.setContent("Thêm học viên thành công");
    box.setModal(true);
    box.show();
    QVERIFY(box.isVisible());
    QCOMPARE(box.windowTitle(), QString("Thông tin"));
    QCOMPARE(labelText(&box, "lbContent"), QString("Thêm học viên thành công"));
    click(&box, "btnOk");
    QVERIFY(!box.isVisible());
}

void TestDialogs::messageBoxTakesNewTextInPlace()
{
    CustomerBox box;
    box.setContent("first");
    box.show();
    const int windowsBefore = QApplication::topLevelWidgets().size();
    box.setTitle("Cảnh báo");
    box.setContent("second");
    box.show();
    QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
    QCOMPARE(box.windowTitle(), QString("Cảnh báo"));
    QCOMPARE(labelText(&box, "lbContent"), QString("second"));
}

void TestDialogs::messageBoxOutlivesTheDialogThatShowedIt()
{
    // The editing dialogs hold a box without parent: closing the dialog
    // leaves the message on screen.
    QDialog owner;
    CustomerBox box;
    owner.show();
    box.setContent("Thông tin");
    box.show();
    owner.close();
    QVERIFY(box.isVisible());
}

void TestDialogs::confirmationReportsItsCodeOnlyOnYes()
{
    QMainWindow window;
    auto *dialog = new ConfirmDialog(&window);
    QCOMPARE(labelText(dialog, "title"), QString("Bạn muốn thực hiện thao tác"));
    QSignalSpy finished(dialog, &QDialog::finished);

    dialog->setResultCode(3);
    dialog->open();
    click(dialog, "btnCancel");
    QVERIFY(!dialog->isVisible());
    QCOMPARE(finished.count(), 0);

    dialog->open();
    click(dialog, "btnConfirm");
    dialog->setResultCode(7);
    dialog->open();
    click(dialog, "btnConfirm");
    QCOMPARE(finished.count(), 2);
    QCOMPARE(finished.at(0).at(0).toInt(), 3);
    QCOMPARE(finished.at(1).at(0).toInt(), 7);
    QCOMPARE(dialog->result(), 7);
    QVERIFY(!dialog->isVisible());
}

void TestDialogs::aboutShowsTheTitleEachTime()
{
    QMainWindow window;
    window.show();
    auto *about = new AboutDialog(&window);
    QCOMPARE(about->windowTitle(), QString("Thông tin phần mềm"));
    QCOMPARE(labelText(about, "lbTitle"), QString("VELMORA"));
    auto *emblem = about->findChild<QLabel *>("label_6");
    QVERIFY(emblem && !emblem->pixmap(Qt::ReturnByValue).isNull());
    for (int i = 0; i < 2; ++i) {
        about->setTitle("Taskveld");
        about->setModal(true);
        about->show();
        QCOMPARE(labelText(about, "lbTitle"), QString("Taskveld"));
        QCOMPARE(labelText(about, "label_3"), QString("Phiên bản 1.2.3.1"));
        click(about, "closeButton");
        QVERIFY(!about->isVisible());
        QVERIFY(window.isVisible());
    }
}

void TestDialogs::messageBoxFitsItsText_data()
{
    // Texts shown one after the other in the same box, and whether the box
    // is then wider than the form's 400 pixels.
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("wider");
    const QString longText = "Không thể xóa khóa thi đang thi, hãy dừng khóa thi trước khi xóa khóa thi";
    QTest::newRow("short") << QStringList{"Export thất bại."} << false;
    QTest::newRow("long") << QStringList{longText} << true;
    QTest::newRow("long, then short") << QStringList{longText, "Export thất bại."} << false;
    QTest::newRow("short, then long") << QStringList{"Export thất bại.", longText} << true;
}

void TestDialogs::messageBoxFitsItsText()
{
    QFETCH(QStringList, texts);
    QFETCH(bool, wider);
    CustomerBox box;
    box.show();
    for (const QString &text : texts)
        box.setContent(text);
    // The window system answers a resize with an event.
    QTRY_COMPARE(box.width() > 400, wider);
    QVERIFY(box.width() >= 400 && box.height() >= 169);
    auto *label = box.findChild<QLabel *>("lbContent");
    QVERIFY(QFontMetrics(label->font()).horizontalAdvance(texts.last()) <= label->width());
}

void TestDialogs::qtDialogsSpeakVietnamese()
{
    auto buttonTexts = [](QWidget *dialog) {
        QStringList texts;
        for (QAbstractButton *b : dialog->findChildren<QAbstractButton *>())
            texts << b->text();
        return texts;
    };
    auto labelTexts = [](QWidget *dialog) {
        QStringList texts;
        for (QLabel *l : dialog->findChildren<QLabel *>())
            texts << l->text();
        return texts;
    };

    QFileDialog open(nullptr, "Chọn tập tin");
    open.setOption(QFileDialog::DontUseNativeDialog);
    open.setAcceptMode(QFileDialog::AcceptOpen);
    open.show();
    QVERIFY(labelTexts(&open).contains("Tìm trong:"));
    QVERIFY(labelTexts(&open).contains("Tên &tập tin:"));
    QVERIFY(labelTexts(&open).contains("Loại tập tin:"));
    QVERIFY(buttonTexts(&open).contains("&Mở"));
    QVERIFY(buttonTexts(&open).contains("Hủy bỏ"));
    open.setAcceptMode(QFileDialog::AcceptSave);
    QVERIFY(buttonTexts(&open).contains("&Lưu"));
    open.hide();

    QMessageBox question(QMessageBox::Question, "Cảnh báo", "?", QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.button(QMessageBox::Yes)->text(), QString("&Có"));
    QCOMPARE(question.button(QMessageBox::No)->text(), QString("&Không"));
    QMessageBox warning(QMessageBox::Warning, "Cảnh báo", "!", QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(warning.button(QMessageBox::Ok)->text(), QString("Đồng ý"));
    QCOMPARE(warning.button(QMessageBox::Cancel)->text(), QString("Hủy bỏ"));

    QPrinter printer;
    QPrintDialog print(&printer);
    print.show();
    QCOMPARE(print.windowTitle(), QString("In"));
    QVERIFY(buttonTexts(&print).contains("&In"));
    QVERIFY(buttonTexts(&print).contains("&Tùy chọn >>"));
    QStringList printers;
    for (QComboBox *combo : print.findChildren<QComboBox *>())
        for (int i = 0; i < combo->count(); ++i)
            printers << combo->itemText(i);
    QVERIFY2(printers.contains("In ra tập tin (PDF)"), qPrintable(printers.join('|')));
    print.hide();
}

ORV_TEST_MAIN_DESKTOP(TestDialogs)
#include "tst_dialogs.moc"
