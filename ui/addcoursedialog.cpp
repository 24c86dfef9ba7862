#include "ui/addcoursedialog.h"

#include "common/constants.h"
#include "records/course.h"
#include "records/province.h"
#include "records/safetext.h"
#include "records/unit.h"
#include "server/business/businesscontroller.h"
#include "ui_addcoursedialog.h"

#include <QDate>
#include <QComboBox>
#include <QFileDialog>

namespace {
const int FIRST_YEAR = 1991;
const int LAST_YEAR = 2090;
const int MODE_CREATE = 0;
const int MODE_UPDATE = 1;

// Whole text, any letter case; without such an item the selection stays.
void selectItemByText(QComboBox *box, const QString &text)
{
    const int index = box->findText(text, Qt::MatchFixedString);
    if (index >= 0)
        box->setCurrentIndex(index);
}
} // namespace

AddCourseDialog::AddCourseDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::AddCourseDialog), m_box(nullptr)
{
    ui->setupUi(this);
    ui->dateContest->setDate(QDate::currentDate());
    for (int year = FIRST_YEAR; year <= LAST_YEAR; ++year)
        ui->cbYear->addItem(QString::number(year));
    ui->cbStatus->addItems(COURSE_STATE_LIST);
    m_course = new Course;
    connect(ui->cbUnit, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &AddCourseDialog::onChangedUnit);
    const bool avatarFolder = BusinessController::getInstance()->getImportAvatarFolderOn();
    ui->lbAvatarLabel->setVisible(avatarFolder);
    ui->lbAvatarFolderPath->setVisible(avatarFolder);
    ui->btnBrowseAvatarFolder->setVisible(avatarFolder);
}

AddCourseDialog::~AddCourseDialog()
{
    delete m_course;
    delete ui;
}

void AddCourseDialog::fillUnits()
{
    m_units = BusinessController::getInstance()->getAllUnits();
    // The unit shown before stays chosen when it is still listed.
    const QVariant previous = ui->cbUnit->currentData();
    ui->cbUnit->clear();
    for (const Unit *unit : qAsConst(*m_units))
        ui->cbUnit->addItem(unit->getIDDonVi() + " - " + unit->getTenDonVi(), unit->getIDDonVi());
    const int again = previous.isValid() ? ui->cbUnit->findData(previous) : -1;
    if (again >= 0)
        ui->cbUnit->setCurrentIndex(again);
}

Unit *AddCourseDialog::unitOfItem(int index) const
{
    if (!m_units || index < 0 || index >= ui->cbUnit->count())
        return nullptr;
    const QString code = ui->cbUnit->itemData(index).toString();
    for (Unit *unit : qAsConst(*m_units)) {
        if (unit->getIDDonVi() == code)
            return unit;
    }
    return nullptr;
}

void AddCourseDialog::onChangedUnit(int index)
{
    const Unit *unit = unitOfItem(index);
    if (!unit)
        return;
    const Province *province = unit->getProvince();
    ui->lbProvinceName->setText(province ? province->getTenTinh() : QString());
}

void AddCourseDialog::showForCreate()
{
    m_mode = MODE_CREATE;
    ui->leCourseCode->setReadOnly(false);
    ui->lbProvinceName->clear();
    fillUnits();
    ui->cbUnit->setCurrentIndex(0);
    ui->cbStatus->setCurrentIndex(0);
    ui->cbYear->setCurrentIndex(0);
    ui->leCourseCode->clear();
    ui->leCourseName->clear();
    ui->dateContest->setDate(QDate::currentDate());
    const int yearItem = ui->cbYear->findText(QString::number(QDate::currentDate().year()),
                                              Qt::MatchFixedString);
    ui->cbYear->setCurrentIndex(yearItem);
    ui->lbAvatarFolderPath->clear();
    setWindowModality(Qt::ApplicationModal);
    open();
}

void AddCourseDialog::showForEdit(Course *course)
{
    if (!course)
        return;
    m_mode = MODE_UPDATE;
    ui->leCourseCode->setReadOnly(true);
    ui->leCourseCode->setText(course->getIDKhoaHoc());
    ui->leCourseName->setText(course->getTenKhoaHoc());
    ui->dateContest->setDate(course->getNgayThi());
    selectItemByText(ui->cbYear, QString::number(course->getNamHoc()));
    ui->cbStatus->setCurrentIndex(course->getTrangThai() > 0 ? course->getTrangThai() - 1 : 0);
    fillUnits();
    ui->lbProvinceName->setText(course->getHoiDong());
    int unitItem = ui->cbUnit->findText(course->getIDDonVi() + " - " + course->getTrungTam(),
                                        Qt::MatchFixedString);
    // A unit renamed since the course was stored is still the course's own:
    // keeping another selection would move the course on saving.
    if (unitItem < 0)
        unitItem = ui->cbUnit->findData(course->getIDDonVi());
    if (unitItem >= 0)
        ui->cbUnit->setCurrentIndex(unitItem);
    ui->lbAvatarFolderPath->setText(course->getGhiChu());
    setWindowModality(Qt::ApplicationModal);
    open();
}

void AddCourseDialog::on_btnBrowseAvatarFolder_clicked()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Chọn thư mục ảnh"), "./",
                                                             QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        ui->lbAvatarFolderPath->setText(folder);
}

void AddCourseDialog::on_btnUpdate_clicked()
{
    const Unit *unit = unitOfItem(ui->cbUnit->currentIndex());
    if (ui->cbUnit->count() == 0 || !unit) {
        showMessage(QStringLiteral("Chưa có đơn vị"));
        reject();
        return;
    }
    m_course->setIDKhoaHoc(ui->leCourseCode->text());
    m_course->setTenKhoaHoc(ui->leCourseName->text());
    m_course->setNgayThi(ui->dateContest->date());
    m_course->setNamHoc(ui->cbYear->currentText().toInt());
    m_course->setTrangThai(ui->cbStatus->currentIndex() + 1);
    m_course->setHoiDong(ui->lbProvinceName->text());
    m_course->setIDDonVi(unit->getIDDonVi());
    m_course->setTrungTam(unit->getTenDonVi());
    m_course->setGhiChu(ui->lbAvatarFolderPath->text());
    // What cannot be stored is told, and the dialog stays open with what was
    // typed.
    if (m_course->getIDKhoaHoc().isEmpty() || m_course->getTenKhoaHoc().isEmpty()) {
        showMessage(QStringLiteral("Trường bắt buộc bị thiếu"));
        return;
    }
    // A line break or a tab would reach the sheets, the reports and the
    // forms written from the course.
    if (SafeText::hasControls(m_course->getIDKhoaHoc()) || SafeText::hasControls(m_course->getTenKhoaHoc())) {
        showMessage(QStringLiteral("Tên và mã không được chứa ký tự điều khiển (xuống dòng, tab)."));
        return;
    }
    BusinessController *controller = BusinessController::getInstance();
    if (m_mode == MODE_CREATE) {
        bool duplicateCode = false;
        if (controller->createCourse(m_course, &duplicateCode)) {
            showMessage(QStringLiteral("Tạo khóa học thành công"));
            done(CreatedCode);
        } else {
            showMessage(duplicateCode ? QStringLiteral("Tạo khóa học thất bại: mã khóa học đã tồn tại.")
                                      : QStringLiteral("Tạo khóa học thất bại"));
        }
        return;
    }
    if (controller->updateCourse(m_course)) {
        showMessage(QStringLiteral("Cập nhật khóa học thành công"));
        done(UpdatedCode);
    } else {
        showMessage(QStringLiteral("Cập nhật khóa học thất bại"));
    }
}

void AddCourseDialog::on_btnCancel_clicked()
{
    reject();
}

void AddCourseDialog::showMessage(const QString &message)
{
    m_box.setTitle(tr("Thông tin"));
    m_box.setContent(message);
    m_box.setModal(true);
    m_box.show();
}
