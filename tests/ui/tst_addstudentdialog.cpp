// The candidate dialog over the real business controller (it reads the exam
// content through it): what the form hands out on confirmation, how a stored
// candidate fills it, and the photo pipeline from the file chooser: JPEG
// 2000 recognised by signature or by a ".jp2" ending, every picture fitted
// into 228 x 304 and kept as JPEG. One controller per process.

#include "server/business/businesscontroller.h"
#include "server/network/iocontroller.h"
#include "tests/support/imagefile.h"
#include "tests/support/modalanswer.h"
#include "tests/support/testdb.h"
#include "tests/support/testmain.h"
#include "tests/support/desktopmain.h"
#include "tests/support/textfits.h"
#include "tests/support/typetext.h"
#include "tests/support/workfolder.h"
#include "ui/addstudentdialog.h"

#include <QBuffer>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>

#include <memory>

namespace {

// Top half red, bottom half blue, so a conversion that loses or swaps
// colours shows.
QImage portrait(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(220, 20, 20));
    for (int y = height / 2; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(20, 20, 220));
    }
    return image;
}

using ImageFile::encoded;

QByteArray fixture(const QString &name)
{
    QFile file(TestDb::sourcePath("tests/fixtures/photos/" + name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Head and shoulders on a pale background, for the screenshot.
QImage silhouette()
{
    QImage image(228, 304, QImage::Format_RGB32);
    image.fill(QColor(214, 228, 240));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 84, 102));
    painter.drawEllipse(QRectF(14, 200, 200, 190));
    painter.setBrush(QColor(222, 184, 150));
    painter.drawEllipse(QRectF(64, 60, 100, 126));
    painter.setBrush(QColor(40, 32, 28));
    painter.drawChord(QRectF(60, 50, 108, 90), 0, 180 * 16);
    return image;
}

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 150 && qBlue(pixel) < 100;
}

bool isBlue(QRgb pixel)
{
    return qBlue(pixel) > 150 && qRed(pixel) < 100;
}

} // namespace

class TestAddStudentDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void confirmRightAfterOpeningForAdd_data();
    void confirmRightAfterOpeningForAdd();
    void textsHandedOverAsTyped();
    void cancelEndsWithZero();
    void controlCharactersRefused_data();
    void controlCharactersRefused();
    void failedAddOpensWithWhatWasTyped_data();
    void failedAddOpensWithWhatWasTyped();
    void inputsHoldNoMoreThanTheirColumns_data();
    void inputsHoldNoMoreThanTheirColumns();
    void orderNumberTakesDigitsOnly_data();
    void orderNumberTakesDigitsOnly();
    void storedCandidateFillsTheForm_data();
    void storedCandidateFillsTheForm();
    void storedPhoto_data();
    void storedPhoto();
    void chosenPhoto_data();
    void chosenPhoto();
    void formShowsItsTextsUnclipped();

private:
    template <typename T>
    T *child(const char *name) const
    {
        return m_dialog->findChild<T *>(name);
    }
    // Clicks "Nhập thông tin" and returns the code the dialog finished with
    // (-1 when it did not finish).
    int confirm();
    // The dialog opened for a change of a candidate whose stored photo is
    // m_previousPhoto.
    void openWithPreviousPhoto();
    QString photoPath(const QString &name) const { return m_folder->filePath("photos/" + name); }

    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<AddStudentDialog> m_dialog;
    QByteArray m_previousPhoto;
};

int TestAddStudentDialog::confirm()
{
    QSignalSpy finished(m_dialog.get(), &QDialog::finished);
    child<QPushButton>("btnConfirm")->click();
    return finished.count() == 1 ? finished.at(0).at(0).toInt() : -1;
}

void TestAddStudentDialog::openWithPreviousPhoto()
{
    m_dialog->updateStudentInfo("Lê Văn Cũ", QDate(1990, 5, 6), "007", "B2", "012345678901", "M",
                                QString::fromLatin1(m_previousPhoto.toBase64()), "1");
    m_dialog->showForEdit(4);
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void TestAddStudentDialog::initTestCase()
{
    m_folder.reset(new WorkFolder("addstudent"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    // Content 3 is listed without a description: its item is empty.
    QVERIFY(m_folder->writeFile("config/NDSH.json",
                                "{\"NOT_TEST_SIMULATION\": [], \"NOT_TEST_THEORY_RESULT\": [3],"
                                " \"CONTEST_CONTENT_LIST\": [1, 2, 3, 4],"
                                " \"CONTEST_CONTENT_DETAIL\": {\"1\": \"Sát hạch lần đầu\","
                                " \"2\": \"Sát hạch lại mô phỏng\", \"4\": \"Sát hạch nâng hạng\"}}"));

    const QByteArray jp2 = fixture("portrait.jp2");
    QVERIFY(jp2.startsWith(QByteArray::fromHex("0000000C6A5020200D0A870A")));
    const QByteArray jpeg = encoded(portrait(304, 228), "JPG");
    QVERIFY(QDir(m_folder->path()).mkpath("photos/x.jp2dir"));
    QVERIFY(m_folder->writeFile("photos/tall.jpg", encoded(portrait(456, 608), "JPG")));
    QVERIFY(m_folder->writeFile("photos/square.png", encoded(portrait(100, 100), "PNG")));
    QVERIFY(m_folder->writeFile("photos/PORTRAIT.JP2", jp2));
    QVERIFY(m_folder->writeFile("photos/jp2-inside.jpg", jp2));
    QVERIFY(m_folder->writeFile("photos/x.jp2dir/photo.jpg", jpeg));
    QVERIFY(m_folder->writeFile("photos/jpeg-inside.jp2", jpeg));
    QByteArray noise(4000, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    QVERIFY(m_folder->writeFile("photos/noise.png", noise));
    m_previousPhoto = encoded(portrait(30, 40), "PNG");

    QVERIFY(BusinessController::getInstance());
    m_dialog.reset(new AddStudentDialog());
}

void TestAddStudentDialog::cleanupTestCase()
{
    m_dialog.reset();
    IOController::destroyInstance();
}

void TestAddStudentDialog::confirmRightAfterOpeningForAdd_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("contentIndex");
    QTest::addColumn<QString>("contentNumber");
    QTest::addColumn<bool>("photoKept");
    QTest::newRow("add, first content") << 5 << 0 << "1" << false;
    QTest::newRow("add, content without description") << 5 << 2 << "3" << false;
    QTest::newRow("add, last content") << 5 << 3 << "4" << false;
    // Only the add code drops the photo of the previous showing.
    QTest::newRow("other mode keeps the photo") << 4 << 1 << "2" << true;
}

void TestAddStudentDialog::confirmRightAfterOpeningForAdd()
{
    QFETCH(int, mode);
    QFETCH(int, contentIndex);
    QFETCH(QString, contentNumber);
    QFETCH(bool, photoKept);

    // A previous showing left texts, a date, a gender and a photo behind.
    openWithPreviousPhoto();
    child<QComboBox>("comboBox")->setCurrentIndex(1);
    QCOMPARE(confirm(), 4);

    child<QComboBox>("cbContestContent")->setCurrentIndex(contentIndex);
    m_dialog->showForAdd(mode);
    QVERIFY(m_dialog->isVisible());
    QVERIFY(m_dialog->isModal());
    QCOMPARE(confirm(), mode);

    const CRUDStudentInfo info = m_dialog->getStudentInfo();
    QCOMPARE(info.getHoTen(), QString());
    QCOMPARE(info.getSoBaoDanh(), QString());
    QCOMPARE(info.getLoaiBang(), QString());
    QCOMPARE(info.getSoCMT(), QString());
    QCOMPARE(info.getNgaySinh(), QDate::currentDate());
    QCOMPARE(info.getGioiTinh(), QString("M"));
    QCOMPARE(info.getNoiDungSH(), contentNumber);
    QCOMPARE(QByteArray::fromBase64(info.getAnhChanDung().toLatin1()), photoKept ? m_previousPhoto : QByteArray());
    if (!photoKept) {
        QCOMPARE(child<QLabel>("labelPath")->text(), QString("Chọn đường dẫn"));
        QVERIFY(child<QLabel>("labelAvatar")->pixmap(Qt::ReturnByValue).isNull());
    }
}

void TestAddStudentDialog::textsHandedOverAsTyped()
{
    m_dialog->showForAdd(5);
    typeText(child<QLineEdit>("leName"), "  Nguyễn Thị Ánh ");
    typeText(child<QLineEdit>("leOrderNumber"), "007");
    typeText(child<QLineEdit>("leRank"), "b2");
    typeText(child<QLineEdit>("leId"), " 0123");
    child<QDateEdit>("dateEdit")->setDate(QDate(2001, 2, 28));
    child<QComboBox>("comboBox")->setCurrentText("F");
    QCOMPARE(confirm(), 5);
    const CRUDStudentInfo info = m_dialog->getStudentInfo();
    QCOMPARE(info.getHoTen(), QString("  Nguyễn Thị Ánh "));
    QCOMPARE(info.getSoBaoDanh(), QString("007"));
    QCOMPARE(info.getLoaiBang(), QString("b2"));
    QCOMPARE(info.getSoCMT(), QString(" 0123"));
    QCOMPARE(info.getNgaySinh(), QDate(2001, 2, 28));
    QCOMPARE(info.getGioiTinh(), QString("F"));
}

void TestAddStudentDialog::controlCharactersRefused_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("name with a line break") << "leName" << "Nguyễn\nThị Ánh";
    QTest::newRow("class with a tab") << "leRank" << "B\t2";
    QTest::newRow("identity number with U+0001") << "leId" << "0123\x01";
}

void TestAddStudentDialog::controlCharactersRefused()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    m_dialog->showForAdd(5);
    child<QLineEdit>("leName")->setText("Nguyễn Thị Ánh");
    child<QLineEdit>("leOrderNumber")->setText("7");
    child<QLineEdit>("leRank")->setText("B2");
    child<QLineEdit>("leId")->setText("0123");
    child<QLineEdit>(qPrintable(field))->setText(text);
    QString shown;
    auto box = ModalAnswer::of<QMessageBox>([&shown](QMessageBox *b) {
        shown = b->text();
        b->accept();
    });
    // Told, and kept open with what was typed.
    QCOMPARE(confirm(), -1);
    QVERIFY(box->answered());
    QCOMPARE(shown, QString("Tên và mã không được chứa ký tự điều khiển (xuống dòng, tab)."));
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(child<QLineEdit>(qPrintable(field))->text(), text);
    m_dialog->reject();
}

void TestAddStudentDialog::cancelEndsWithZero()
{
    m_dialog->showForAdd(5);
    QSignalSpy finished(m_dialog.get(), &QDialog::finished);
    child<QPushButton>("btnCancel")->click();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), 0);
    QVERIFY(!m_dialog->isVisible());
}

void TestAddStudentDialog::failedAddOpensWithWhatWasTyped_data()
{
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<bool>("kept");
    QTest::newRow("save failed") << "failed" << true;
    QTest::newRow("saved") << "saved" << false;
    QTest::newRow("save failed, then cancelled") << "cancelled" << false;
    QTest::newRow("save failed, then a change opened") << "edited" << false;
}

void TestAddStudentDialog::failedAddOpensWithWhatWasTyped()
{
    QFETCH(QString, outcome);
    QFETCH(bool, kept);
    m_dialog->showForAdd(5);
    typeText(child<QLineEdit>("leName"), "Trần Văn Gõ");
    typeText(child<QLineEdit>("leOrderNumber"), "12");
    typeText(child<QLineEdit>("leRank"), "B2");
    typeText(child<QLineEdit>("leId"), "0790");
    child<QDateEdit>("dateEdit")->setDate(QDate(1999, 9, 9));
    child<QComboBox>("comboBox")->setCurrentText("F");
    const QString photo = photoPath("square.png");
    auto chooser = ModalAnswer::of<QFileDialog>([photo](QFileDialog *dialog) {
        dialog->findChild<QLineEdit *>("fileNameEdit")->setText(photo);
        static_cast<QDialog *>(dialog)->accept();
    });
    child<QPushButton>("pushButton")->click();
    QVERIFY(chooser->answered());
    QCOMPARE(confirm(), 5);
    const CRUDStudentInfo typed = m_dialog->getStudentInfo();
    QVERIFY(!typed.getAnhChanDung().isEmpty());
    m_dialog->setSaveOutcome(outcome == "saved");
    if (outcome == "cancelled") {
        m_dialog->showForAdd(5);
        child<QPushButton>("btnCancel")->click();
    } else if (outcome == "edited") {
        openWithPreviousPhoto();
        child<QPushButton>("btnCancel")->click();
    }

    m_dialog->showForAdd(5);
    QCOMPARE(confirm(), 5);
    const CRUDStudentInfo again = m_dialog->getStudentInfo();
    if (kept) {
        QCOMPARE(again.getHoTen(), typed.getHoTen());
        QCOMPARE(again.getSoBaoDanh(), QString("12"));
        QCOMPARE(again.getLoaiBang(), QString("B2"));
        QCOMPARE(again.getSoCMT(), QString("0790"));
        QCOMPARE(again.getNgaySinh(), QDate(1999, 9, 9));
        QCOMPARE(again.getGioiTinh(), QString("F"));
        QCOMPARE(again.getAnhChanDung(), typed.getAnhChanDung());
        QCOMPARE(child<QLabel>("labelPath")->text(), QString("square.png"));
    } else {
        QCOMPARE(again.getHoTen(), QString());
        QCOMPARE(again.getSoBaoDanh(), QString());
        QCOMPARE(again.getNgaySinh(), QDate::currentDate());
        QCOMPARE(again.getGioiTinh(), QString("M"));
        QCOMPARE(again.getAnhChanDung(), QString());
        QCOMPARE(child<QLabel>("labelPath")->text(), QString("Chọn đường dẫn"));
    }
    m_dialog->setSaveOutcome(true);
}

void TestAddStudentDialog::inputsHoldNoMoreThanTheirColumns_data()
{
    // The column sizes of sql/main_schema.sql.
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("columnSize");
    QTest::newRow("name, HoTen") << "leName" << 255;
    QTest::newRow("order number, SoBaoDanh") << "leOrderNumber" << 32;
    QTest::newRow("licence class, LoaiBang") << "leRank" << 16;
    QTest::newRow("identity number, SoCMT") << "leId" << 64;
}

void TestAddStudentDialog::inputsHoldNoMoreThanTheirColumns()
{
    QFETCH(QString, input);
    QFETCH(int, columnSize);
    m_dialog->showForAdd(5);
    auto *edit = child<QLineEdit>(qPrintable(input));
    edit->setText(QString(columnSize + 5, QChar(0x1EA0)));
    QCOMPARE(edit->text().size(), columnSize);
    m_dialog->reject();
}

void TestAddStudentDialog::orderNumberTakesDigitsOnly_data()
{
    // What the operator types, and what the field then holds: what the
    // table shows as a number.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("held");
    QTest::newRow("nine digits") << "123456789" << "123456789";
    QTest::newRow("leading zeros") << "007" << "007";
    QTest::newRow("a tenth digit") << "1234567890" << "123456789";
    QTest::newRow("32 digits") << QString(32, QChar('9')) << "999999999";
    QTest::newRow("letters among digits") << "12a3B" << "123";
    QTest::newRow("letters only") << "SBD" << "";
    QTest::newRow("sign and spaces") << "-1 2+" << "12";
    QTest::newRow("digits of another script") << QString::fromUtf8("٣٤") << "";
}

void TestAddStudentDialog::orderNumberTakesDigitsOnly()
{
    QFETCH(QString, typed);
    QFETCH(QString, held);
    m_dialog->showForAdd(5);
    auto *edit = child<QLineEdit>("leOrderNumber");
    edit->clear();
    typeText(edit, typed);
    QCOMPARE(edit->text(), held);
    m_dialog->reject();
}

void TestAddStudentDialog::storedCandidateFillsTheForm_data()
{
    QTest::addColumn<QString>("gender");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("expectedGender");
    QTest::addColumn<QString>("expectedContent");
    // The form starts each row on gender "F" and the last content ("4").
    QTest::newRow("listed gender and content") << "M" << "2" << "M" << "2";
    QTest::newRow("unknown gender keeps the selection") << "X" << "1" << "F" << "1";
    QTest::newRow("content without description keeps the selection") << "M" << "3" << "M" << "4";
    QTest::newRow("unlisted content keeps the selection") << "M" << "9" << "M" << "4";
    QTest::newRow("content that is not a number keeps the selection") << "M" << "abc" << "M" << "4";
}

void TestAddStudentDialog::storedCandidateFillsTheForm()
{
    QFETCH(QString, gender);
    QFETCH(QString, content);
    QFETCH(QString, expectedGender);
    QFETCH(QString, expectedContent);

    child<QComboBox>("comboBox")->setCurrentText("F");
    child<QComboBox>("cbContestContent")->setCurrentIndex(3);
    m_dialog->updateStudentInfo("Trần Văn Bảy", QDate(1985, 12, 31), "007", "C", "012345678901", gender,
                                QString::fromLatin1(m_previousPhoto.toBase64()), content);
    m_dialog->showForEdit(4);
    QVERIFY(m_dialog->isModal());
    QCOMPARE(confirm(), 4);

    const CRUDStudentInfo info = m_dialog->getStudentInfo();
    QCOMPARE(info.getHoTen(), QString("Trần Văn Bảy"));
    QCOMPARE(info.getNgaySinh(), QDate(1985, 12, 31));
    QCOMPARE(info.getSoBaoDanh(), QString("007"));
    QCOMPARE(info.getLoaiBang(), QString("C"));
    QCOMPARE(info.getSoCMT(), QString("012345678901"));
    QCOMPARE(info.getGioiTinh(), expectedGender);
    QCOMPARE(info.getNoiDungSH(), expectedContent);
}

void TestAddStudentDialog::storedPhoto_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QSize>("handedBack");
    QTest::addColumn<bool>("sameBytes");

    // Handed back as stored: no scaling on this path.
    QTest::newRow("png") << encoded(portrait(30, 40), "PNG") << QSize(30, 40) << true;
    QTest::newRow("large jpeg") << encoded(portrait(456, 608), "JPG") << QSize(456, 608) << true;
    // Known by its signature and converted.
    QTest::newRow("jpeg 2000") << fixture("portrait.jp2") << QSize(60, 80) << false;
    QTest::newRow("not a picture") << QByteArray("not a picture") << QSize() << false;
    QTest::newRow("no photo") << QByteArray() << QSize() << false;
}

void TestAddStudentDialog::storedPhoto()
{
    QFETCH(QByteArray, stored);
    QFETCH(QSize, handedBack);
    QFETCH(bool, sameBytes);

    if (!handedBack.isValid())
        QTest::ignoreMessage(QtDebugMsg, "AddStudentDialog::updateStudentInfo: Can't load image file");
    m_dialog->updateStudentInfo("Phạm Thị Tám", QDate(1999, 1, 1), "8", "B2", "000000000008", "F",
                                QString::fromLatin1(stored.toBase64()), "1");
    m_dialog->showForEdit(4);
    QCOMPARE(confirm(), 4);

    const QByteArray photo = QByteArray::fromBase64(m_dialog->getStudentInfo().getAnhChanDung().toLatin1());
    const QLabel *path = child<QLabel>("labelPath");
    const QLabel *avatar = child<QLabel>("labelAvatar");
    if (!handedBack.isValid()) {
        QVERIFY(photo.isEmpty());
        QCOMPARE(path->text(), QString("Chọn đường dẫn"));
        QVERIFY(avatar->pixmap(Qt::ReturnByValue).isNull());
        return;
    }
    if (sameBytes)
        QCOMPARE(photo, stored);
    QImage image = QImage::fromData(photo);
    QCOMPARE(image.size(), handedBack);
    if (!sameBytes) {
        QBuffer buffer(const_cast<QByteArray *>(&photo));
        QCOMPARE(QImageReader(&buffer).format(), QByteArray("jpeg"));
        QVERIFY(isRed(image.pixel(30, 10)));
        QVERIFY(isBlue(image.pixel(30, 70)));
    }
    QCOMPARE(path->text(), QString("Ảnh chân dung"));
    QCOMPARE(avatar->pixmap(Qt::ReturnByValue).size(), handedBack);
}

void TestAddStudentDialog::chosenPhoto_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("goneBeforeRead");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<QString>("pathText");

    const QSize none;
    const QSize previous(30, 40);
    const QString noPath = "Chọn đường dẫn";
    const QString unreadable = "Không đọc được tập tin ảnh chân dung";
    const QString undisplayable = "Không hiển thị được ảnh chân dung";

    QTest::newRow("large jpeg fitted") << "tall.jpg" << false << QString() << QSize(228, 304) << QSize(456, 608)
                                       << "tall.jpg";
    QTest::newRow("small png enlarged") << "square.png" << false << QString() << QSize(228, 228)
                                        << QSize(100, 100) << "square.png";
    QTest::newRow("jpeg 2000 named in capitals") << "PORTRAIT.JP2" << false << QString() << QSize(228, 304)
                                                 << QSize(60, 80) << "PORTRAIT.JP2";
    QTest::newRow("jpeg 2000 under another name") << "jp2-inside.jpg" << false << QString() << QSize(228, 304)
                                                  << QSize(60, 80) << "jp2-inside.jpg";
    QTest::newRow("jpeg in a folder named .jp2") << "x.jp2dir/photo.jpg" << false << QString() << QSize(228, 171)
                                                 << QSize(304, 228) << "photo.jpg";
    QTest::newRow("jpeg named .jp2") << "jpeg-inside.jp2" << false << undisplayable << none << none << noPath;
    QTest::newRow("not a picture") << "noise.png" << false << undisplayable << none << none << noPath;
    // The earlier photo stays when the file cannot be read.
    QTest::newRow("unreadable") << "gone.jpg" << true << unreadable << previous << previous << "gone.jpg";
    QTest::newRow("chooser cancelled") << QString() << false << QString() << previous << previous
                                       << "Ảnh chân dung";
}

void TestAddStudentDialog::chosenPhoto()
{
    QFETCH(QString, file);
    QFETCH(bool, goneBeforeRead);
    QFETCH(QString, warning);
    QFETCH(QSize, stored);
    QFETCH(QSize, shown);
    QFETCH(QString, pathText);

    openWithPreviousPhoto();
    const QString path = file.isEmpty() ? QString() : photoPath(file);
    if (goneBeforeRead)
        QVERIFY(m_folder->writeFile("photos/" + file, m_previousPhoto));

    auto chooser = ModalAnswer::of<QFileDialog>([path, goneBeforeRead](QFileDialog *dialog) {
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed into the name box, as the operator would: selectFile leaves
        // a box that has the focus alone.
        dialog->findChild<QLineEdit *>("fileNameEdit")->setText(path);
        static_cast<QDialog *>(dialog)->accept();
        // Chosen, then gone before the dialog reads it.
        if (goneBeforeRead)
            QFile::remove(path);
    });
    std::unique_ptr<ModalAnswer> box;
    if (!warning.isEmpty()) {
        // Comes up once the chooser has closed.
        box = ModalAnswer::of<QMessageBox>(ModalAnswer::press(QMessageBox::Ok));
    }
    child<QPushButton>("pushButton")->click();
    QVERIFY(chooser->answered());
    if (!warning.isEmpty()) {
        QVERIFY(box->answered());
        QCOMPARE(box->title(), QString("Cảnh báo"));
        QCOMPARE(box->text(), warning);
    }
    QVERIFY(m_dialog->isVisible());

    const QLabel *avatar = child<QLabel>("labelAvatar");
    QCOMPARE(child<QLabel>("labelPath")->text(), pathText);
    if (!path.isEmpty() && pathText != "Chọn đường dẫn")
        QCOMPARE(child<QLabel>("labelPath")->toolTip(), path);
    if (shown.isValid())
        QCOMPARE(avatar->pixmap(Qt::ReturnByValue).size(), shown);
    else
        QVERIFY(avatar->pixmap(Qt::ReturnByValue).isNull());

    QCOMPARE(confirm(), 4);
    const QByteArray photo = QByteArray::fromBase64(m_dialog->getStudentInfo().getAnhChanDung().toLatin1());
    if (!stored.isValid()) {
        QVERIFY(photo.isEmpty());
        return;
    }
    if (stored == QSize(30, 40)) {
        QCOMPARE(photo, m_previousPhoto);
        return;
    }
    QBuffer buffer(const_cast<QByteArray *>(&photo));
    QCOMPARE(QImageReader(&buffer).format(), QByteArray("jpeg"));
    const QImage image = QImage::fromData(photo);
    QCOMPARE(image.size(), stored);
    QVERIFY(isRed(image.pixel(stored.width() / 2, stored.height() / 4)));
    QVERIFY(isBlue(image.pixel(stored.width() / 2, stored.height() * 3 / 4)));
}

void TestAddStudentDialog::formShowsItsTextsUnclipped()
{
    m_dialog->updateStudentInfo("Nguyễn Thị Hồng Nhung", QDate(1998, 7, 15), "012", "B2", "001198012345",
                                "F", QString::fromLatin1(encoded(silhouette(), "JPG").toBase64()), "4");
    m_dialog->showForEdit(4);
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    const QByteArray folder = qgetenv("ORV_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        QVERIFY(m_dialog->grab().save(QString::fromLocal8Bit(folder) + "/candidate-dialog.png"));
    for (QLabel *label : m_dialog->findChildren<QLabel *>())
        QVERIFY2(textFits(label, label->text()), qPrintable(label->objectName()));
    for (QPushButton *b : m_dialog->findChildren<QPushButton *>())
        QVERIFY2(textFits(b, b->text()), qPrintable(b->objectName()));
    for (QLineEdit *edit : m_dialog->findChildren<QLineEdit *>())
        QVERIFY2(textFits(edit, edit->text()), qPrintable(edit->objectName()));
    QComboBox *content = child<QComboBox>("cbContestContent");
    QVERIFY(textFits(content, content->currentText()));
    m_dialog->hide();
    // Opened for adding, the photo's label asks for a path.
    m_dialog->showForAdd(5);
    QLabel *path = child<QLabel>("labelPath");
    QCOMPARE(path->text(), QString("Chọn đường dẫn"));
    QVERIFY(textFits(path, path->text()));
    m_dialog->hide();
}

ORV_TEST_MAIN_DESKTOP(TestAddStudentDialog)
#include "tst_addstudentdialog.moc"
