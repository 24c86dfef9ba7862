#include "ui/addstudentdialog.h"
#include "ui_addstudentdialog.h"

#include "common/constants.h"
#include "records/contestcontent.h"
#include "records/jp2image.h"
#include "records/safetext.h"
#include "server/business/businesscontroller.h"

#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QtDebug>

namespace {

const int PHOTO_WIDTH = 228;
const int PHOTO_HEIGHT = 304;

const char *const NO_PATH_TEXT = "Chọn đường dẫn";

// The file name decides only when it ends in ".jp2": a folder such as
// "x.jp2dir/" says nothing about the files in it. Bytes carrying the JPEG
// 2000 signature are converted whatever the file is called.
bool isJp2File(const QString &path, const QByteArray &bytes)
{
    return isJp2Image(bytes) || path.endsWith(QLatin1String(".jp2"), Qt::CaseInsensitive);
}

} // namespace

AddStudentDialog::AddStudentDialog(QWidget *parent) : QDialog(parent), ui(new Ui::AddStudentDialog)
{
    ui->setupUi(this);
    ui->dateEdit->setDate(QDate::currentDate());
    ui->comboBox->addItems(GENDER_LIST);
    ui->labelPath->setText(NO_PATH_TEXT);
    // The table and the search show the order number as a number: only what
    // a number of theirs holds can be typed.
    ui->leOrderNumber->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), ui->leOrderNumber));

    // Read once: the dialog keeps the content of the start-up for its life.
    // Item i of the combo box stands for getContestContentAt(i).
    m_contestContent = BusinessController::getInstance()->getContestContent();
    if (m_contestContent)
        ui->cbContestContent->addItems(m_contestContent->getContestContentDetails());
}

AddStudentDialog::~AddStudentDialog()
{
    delete ui;
}

void AddStudentDialog::showForAdd(int mode)
{
    const bool keep = m_keepEntries && m_mode == mode;
    m_mode = mode;
    if (!keep) {
        ui->leName->clear();
        ui->leOrderNumber->clear();
        ui->leRank->clear();
        ui->leId->clear();
        ui->dateEdit->setDate(QDate::currentDate());
        ui->comboBox->setCurrentIndex(0);
        if (mode == 5)
            clearPhoto();
    }
    setWindowModality(Qt::ApplicationModal);
    open();
}

void AddStudentDialog::setSaveOutcome(bool saved)
{
    m_keepEntries = !saved;
}

void AddStudentDialog::showForEdit(int mode)
{
    m_mode = mode;
    setWindowModality(Qt::ApplicationModal);
    open();
}

void AddStudentDialog::updateStudentInfo(const QString &name, const QDate &birthDate,
                                         const QString &orderNumber, const QString &licenceClass,
                                         const QString &idNumber, const QString &gender,
                                         const QString &photoBase64, const QString &contentNumber)
{
    // The form now holds a stored candidate, not the failed add.
    m_keepEntries = false;
    ui->leName->setText(name);
    ui->dateEdit->setDate(birthDate);
    ui->leOrderNumber->setText(orderNumber);
    ui->leRank->setText(licenceClass);
    ui->leId->setText(idNumber);

    const int genderIndex = ui->comboBox->findText(gender);
    if (genderIndex >= 0)
        ui->comboBox->setCurrentIndex(genderIndex);

    if (m_contestContent) {
        const QString description = m_contestContent->getContestContentDetail(contentNumber);
        const int contentIndex = description.isEmpty() ? -1 : ui->cbContestContent->findText(description);
        if (contentIndex >= 0)
            ui->cbContestContent->setCurrentIndex(contentIndex);
    }

    // A stored photo is known as JPEG 2000 by its signature only; it is
    // shown and handed back as stored, not scaled.
    const QByteArray bytes = QByteArray::fromBase64(photoBase64.toLocal8Bit());
    m_photo = readablePhoto(bytes);

    QPixmap picture;
    if (picture.loadFromData(m_photo)) {
        ui->labelPath->setText("Ảnh chân dung");
        ui->labelAvatar->setPixmap(picture);
    } else {
        qDebug() << "AddStudentDialog::updateStudentInfo: Can't load image file";
        clearPhoto();
    }
}

CRUDStudentInfo AddStudentDialog::getStudentInfo() const
{
    return m_studentInfo;
}

void AddStudentDialog::on_btnConfirm_clicked()
{
    m_studentInfo.setHoTen(ui->leName->text());
    m_studentInfo.setNgaySinh(ui->dateEdit->date());
    m_studentInfo.setSoBaoDanh(ui->leOrderNumber->text());
    m_studentInfo.setLoaiBang(ui->leRank->text());
    m_studentInfo.setSoCMT(ui->leId->text());
    // Kept open with what was typed: a line break or a tab would reach the
    // sheet, its QR text and the forms.
    for (const QString &text : {m_studentInfo.getHoTen(), m_studentInfo.getSoBaoDanh(), m_studentInfo.getLoaiBang(),
                                m_studentInfo.getSoCMT()}) {
        if (SafeText::hasControls(text)) {
            QMessageBox::warning(this, QStringLiteral("Cảnh báo"), QStringLiteral("Tên và mã không được chứa ký tự điều khiển (xuống dòng, tab)."), QMessageBox::Ok);
            return;
        }
    }
    m_studentInfo.setGioiTinh(ui->comboBox->currentText());
    m_studentInfo.setAnhChanDung(QString::fromLatin1(m_photo.toBase64()));
    m_studentInfo.setNoiDungSH(m_contestContent
                                   ? m_contestContent->getContestContentAt(ui->cbContestContent->currentIndex())
                                   : QString());
    done(m_mode);
}

void AddStudentDialog::on_btnCancel_clicked()
{
    reject();
}

void AddStudentDialog::reject()
{
    m_keepEntries = false;
    QDialog::reject();
}

void AddStudentDialog::on_pushButton_clicked()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Chọn tập tin"), QString(),
                                                      tr("Ảnh (*.jpg *.jpeg *.png *.bmp *.gif *.jp2)"));
    if (path.isEmpty())
        return;

    ui->labelPath->setText(path.mid(path.lastIndexOf('/') + 1));
    ui->labelPath->setToolTip(path);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(this, "Cảnh báo", "Không đọc được tập tin ảnh chân dung", QMessageBox::Ok);
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    m_photo = isJp2File(path, bytes) ? convertJp2ToJpeg(bytes) : bytes;

    QPixmap picture;
    if (!picture.loadFromData(m_photo)) {
        QMessageBox::warning(this, "Cảnh báo", "Không hiển thị được ảnh chân dung", QMessageBox::Ok);
        // The form shows what confirming would store: no photo.
        clearPhoto();
        return;
    }

    QImage image;
    if (image.loadFromData(m_photo)) {
        const QImage fitted =
            image.scaled(PHOTO_WIDTH, PHOTO_HEIGHT, Qt::KeepAspectRatio, Qt::FastTransformation);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        fitted.save(&buffer, "JPG");
        m_photo = jpeg;
    }
    ui->labelAvatar->setPixmap(picture);
}

void AddStudentDialog::clearPhoto()
{
    m_photo.clear();
    ui->labelPath->setText(NO_PATH_TEXT);
    ui->labelAvatar->clear();
}
