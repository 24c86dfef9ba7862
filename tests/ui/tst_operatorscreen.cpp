// The main window as the operator sees it on a 1366 x 768 screen, with the
// program's fonts and locale: no text of the candidate table's headers, its
// time cells, the running-course list or the room grid is cut (each shows
// whole or ends in "…"), the grid's three order numbers a row fit in the
// left panel, and the tool row's drop-down lists show their highlighted and
// hovered entries readably (measured on the rendered pixels). A course name
// of 147 characters, running and chosen, widens neither the window nor the
// import and export dialogs beyond the screen, and no drop-down list runs
// off it. One window per process.

#include "models/studentmodel.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testdb.h"
#include "tests/support/workfolder.h"
#include "tests/support/desktopmain.h"
#include "ui/elidedbutton.h"
#include "ui/elidedcombobox.h"
#include "ui/elidedlabel.h"
#include "ui/elidedmenudelegate.h"
#include "ui/exportstudentsdialog.h"
#include "ui/importxmldialog.h"
#include "ui/mainwindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QPushButton>
#include <QScreen>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHeaderView>
#include <QImage>
#include <QLocale>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

const QString LONG_COURSE = QStringLiteral("Khóa sát hạch lái xe ô tô hạng B2 tháng 12 năm 2026 - Sân Một");
// As long as an operator's course names come.
const QString LONGEST_COURSE = QStringLiteral("Khóa sát hạch lái xe ô tô hạng B2 tháng 12 năm 2026 của Trung tâm "
                                              "Đào tạo và Sát hạch lái xe Sân Một, tổ chức tại sân số 2, đợt thi "
                                              "lại bổ sung (2)");
const QString START = QStringLiteral("2026-12-11 01:45:16");
const QString END = QStringLiteral("2026-12-11 02:03:59");

double luminance(QRgb rgb)
{
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of an entry's text with its background, as painted: the
// background is the entry's most common colour, the text the pixel that
// stands out from it the most (the core of a glyph).
double entryContrast(const QImage &image, const QRect &entry)
{
    QHash<QRgb, int> counts;
    for (int y = entry.top(); y <= entry.bottom(); ++y)
        for (int x = entry.left(); x <= entry.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrast(background, it.key()));
    return best;
}

// Whether a painted text leaves a blank margin at both ends of its box: a
// text cut by its box runs into an edge.
bool inkInside(const QImage &image, const QRect &box, QRgb background)
{
    auto column = [&](int x) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            if (contrast(image.pixel(x, y), background) > 1.5)
                return true;
        return false;
    };
    return !column(box.left()) && !column(box.right());
}

} // namespace

class TestOperatorScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void vietnameseDesktop();
    void windowFitsTheScreen();
    void headersWholeOrElided();
    void timeCellsWhole_data();
    void timeCellsWhole();
    void courseNameWholeOrElided();
    void threeOrderNumbersInTheLeftPanel();
    void listEntriesReadable_data();
    void listEntriesReadable();
    void longestNameGivesWay();
    void dialogsWithinTheScreen_data();
    void dialogsWithinTheScreen();
    void listsWithinTheScreen_data();
    void listsWithinTheScreen();

private:
    template <typename T>
    T *widget(const char *name) const
    {
        T *w = m_window->findChild<T *>(name);
        if (!w)
            qWarning("no widget %s", name);
        return w;
    }
    void sql(const QString &statement)
    {
        QVERIFY2(TestDb::exec(m_folder->mainAdmin(), statement), qPrintable(statement.left(100)));
    }

    // The dialog `action` opens, with the longest name chosen in its course
    // list `combo`.
    QDialog *openWithLongestName(const QString &action, const QString &combo);
    static void save(QWidget *widget, const QString &name);

    std::unique_ptr<WorkFolder> m_folder;
    std::unique_ptr<MainWindow> m_window;
};

void TestOperatorScreen::save(QWidget *widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("ORV_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        QVERIFY(widget->grab().save(folder + "/" + name + ".png"));
}

void TestOperatorScreen::initTestCase()
{
    m_folder.reset(new WorkFolder("opscreen"));
    QVERIFY2(m_folder->isValid(), qPrintable(m_folder->error()));
    QVERIFY(ProvinceUnitRows::insert(m_folder->mainAdmin(), {{"T1", "Hà Nội"}}, {{"U1", "T1", "Trung tâm Một"}}));
    sql(QString("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrangThai, TrungTam) VALUES"
                " ('K1', '%1', 'U1', CURDATE(), 2, 'Sân Một')")
            .arg(LONG_COURSE));
    // Running too, since the day before, with nobody in the room.
    QCOMPARE(LONGEST_COURSE.size(), 147);
    sql(QString("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrangThai, TrungTam) VALUES"
                " ('K2', '%1', 'U1', CURDATE() - INTERVAL 1 DAY, 2, 'Sân Một')")
            .arg(LONGEST_COURSE));
    // Three in the room with three-digit order numbers, one done.
    for (int id = 1; id <= 4; ++id) {
        sql(QString("INSERT INTO thisinh (IDThiSinh, HoTen, NgaySinh, SoCMT) VALUES (%1, 'Nguyễn Văn %1',"
                    " '1990-01-02', '0790000000%1')")
                .arg(id));
        sql(QString("INSERT INTO khoathi_thisinh (IDKhoaHoc, IDThiSinh, SoBaoDanh, LoaiBang, DiemMoPhong,"
                    " DiemChuanMoPhong, TrangThai, ThoiGianBatDauThi, ThoiGianKetThucThi, KetQuaMoPhong)"
                    " VALUES ('K1', %1, '%2', 'B2', %3, 35, %4, '%5', %6, %7)")
                .arg(id)
                .arg(99 + id)
                .arg(id == 4 ? 42 : -1)
                .arg(id == 4 ? 2 : 1)
                .arg(START)
                .arg(id == 4 ? "'" + END + "'" : "NULL")
                .arg(id == 4 ? "'DAT'" : "NULL"));
    }

    m_window.reset(new MainWindow());
    m_window->initModel();
    // The offscreen screen is smaller than the desk's: the window takes the
    // room a maximised window has on 1366 x 768 under a title bar.
    m_window->show();
    m_window->resize(1366, 740);
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    auto *combo = widget<QComboBox>("cmbCourse");
    combo->setCurrentIndex(combo->findText(LONG_COURSE));
    QCOMPARE(widget<QTableView>("studentView")->model()->rowCount(), 4);
    QTest::qWait(50);
    const QString folder = qEnvironmentVariable("ORV_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        QVERIFY(m_window->grab().save(folder + "/main-window-1366.png"));
}

void TestOperatorScreen::cleanupTestCase()
{
    m_window.reset();
    m_folder.reset();
}

void TestOperatorScreen::vietnameseDesktop()
{
    QCOMPARE(QLocale().language(), QLocale::Vietnamese);
    QCOMPARE(QLocale().country(), QLocale::Vietnam);
    QCOMPARE(QFontInfo(QFont("Tahoma")).family(), QString("DejaVu Sans Condensed"));
    QCOMPARE(QFontInfo(QFont("Arial")).family(), QString("Liberation Sans"));
}

void TestOperatorScreen::windowFitsTheScreen()
{
    // The widths the window asks for, whatever the course names.
    QVERIFY2(m_window->minimumSizeHint().width() <= 1366, qPrintable(QString::number(m_window->minimumSizeHint().width())));
    QCOMPARE(m_window->width(), 1366);
    // The long course name chosen does not widen the combo: it ends in "…".
    auto *combo = widget<ElidedComboBox>("cmbCourse");
    QCOMPARE(combo->currentText(), LONG_COURSE);
    QVERIFY(combo->width() < QFontMetrics(combo->font()).horizontalAdvance(LONG_COURSE));
    const QString shown = combo->shownText();
    QVERIFY2(shown.endsWith(QChar(0x2026)) && LONG_COURSE.startsWith(shown.chopped(1)), qPrintable(shown));
}

void TestOperatorScreen::headersWholeOrElided()
{
    auto *view = widget<QTableView>("studentView");
    QHeaderView *header = view->horizontalHeader();
    const QImage image = header->grab().toImage();
    const QRgb background = qRgb(0xd9, 0xdd, 0xe2);
    int checked = 0;
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section))
            continue;
        const int left = header->sectionViewportPosition(section);
        if (left >= header->viewport()->width())
            break;
        // Inside the section's border and padding.
        const QRect box(left + 5, 2, header->sectionSize(section) - 7, image.height() - 4);
        const QString text = view->model()->headerData(section, Qt::Horizontal).toString();
        QVERIFY2(inkInside(image, box.intersected(image.rect()), background), qPrintable(text));
        ++checked;
    }
    QVERIFY(checked >= 6);
}

void TestOperatorScreen::timeCellsWhole_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("start") << int(StudentModel::ColumnStartTime) << START;
    QTest::newRow("end") << int(StudentModel::ColumnEndTime) << END;
}

void TestOperatorScreen::timeCellsWhole()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    auto *view = widget<QTableView>("studentView");
    QCOMPARE(view->columnWidth(column), 160);
    bool found = false;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        found = found || view->model()->index(row, column).data().toString() == text;
    QVERIFY(found);
    // The item's text margins on both sides.
    const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    QVERIFY2(QFontMetrics(view->font()).horizontalAdvance(text) + margins <= 160,
             qPrintable(QString::number(QFontMetrics(view->font()).horizontalAdvance(text))));
}

void TestOperatorScreen::courseNameWholeOrElided()
{
    // The running-course list: the entry elides within the list's width.
    auto *running = widget<QTableView>("startingCourseView");
    QCOMPARE(running->textElideMode(), Qt::ElideRight);
    QVERIFY2(running->columnWidth(0) <= running->viewport()->width(),
             qPrintable(QString("%1 > %2").arg(running->columnWidth(0)).arg(running->viewport()->width())));
    QVERIFY(!running->horizontalScrollBar()->isVisible());

    // The grid's course button: whole, or cut at the end with "…".
    ElidedButton *title = nullptr;
    for (ElidedButton *button : widget<QWidget>("scrollAreaWidgetContents")->findChildren<ElidedButton *>())
        if (button->text() == LONG_COURSE)
            title = button;
    QVERIFY(title);
    const QString shown = title->shownText();
    QVERIFY2(shown == LONG_COURSE || (shown.endsWith(QChar(0x2026)) && LONG_COURSE.startsWith(shown.chopped(1))),
             qPrintable(shown));
    QVERIFY(shown != LONG_COURSE); // the name is longer than the panel
}

void TestOperatorScreen::threeOrderNumbersInTheLeftPanel()
{
    auto *area = widget<QScrollArea>("scrollArea");
    QVERIFY(!area->horizontalScrollBar()->isVisible());
    QStringList shown;
    for (ElidedButton *button : area->widget()->findChildren<ElidedButton *>()) {
        if (button->text() == LONG_COURSE || button->text() == LONGEST_COURSE)
            continue;
        const QRect inPanel(button->mapTo(area->viewport(), QPoint(0, 0)), button->size());
        QVERIFY2(area->viewport()->rect().contains(inPanel), qPrintable(button->text()));
        QCOMPARE(button->shownText(), button->text());
        shown << button->text();
    }
    shown.sort();
    QCOMPARE(shown, (QStringList{"100", "101", "102"}));
}

void TestOperatorScreen::listEntriesReadable_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<bool>("hovered");
    for (const char *name : {"cmbCourse", "cbStudentType"}) {
        QTest::addRow("%s highlighted", name) << name << false;
        QTest::addRow("%s hovered", name) << name << true;
    }
}

void TestOperatorScreen::listEntriesReadable()
{
    QFETCH(QString, combo);
    QFETCH(bool, hovered);
    auto *box = widget<QComboBox>(qPrintable(combo));
    box->setCurrentIndex(1);
    box->showPopup();
    QAbstractItemView *list = box->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    int row = 1;
    if (hovered) {
        row = 0;
        QTest::mouseMove(list->viewport(), list->visualRect(list->model()->index(row, 0)).center());
        QTest::qWait(20);
    }
    QCOMPARE(list->currentIndex().row(), row);
    // The whole text of every entry is in the list; one longer than the
    // screen is wide is listsWithinTheScreen's.
    const QFontMetrics metrics(list->font());
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i) != LONGEST_COURSE)
            QVERIFY2(metrics.horizontalAdvance(box->itemText(i)) < list->viewport()->width(), qPrintable(box->itemText(i)));
    const QImage image = list->viewport()->grab().toImage();
    const QRect entry = list->visualRect(list->model()->index(row, 0)).intersected(image.rect());
    const double ratio = entryContrast(image, entry.adjusted(1, 1, -1, -1));
    const QString folder = qEnvironmentVariable("ORV_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        image.save(folder + "/list-" + combo + (hovered ? "-hovered" : "") + ".png");
    box->hidePopup();
    QVERIFY2(ratio >= 4.5, qPrintable(QString::number(ratio)));
}

void TestOperatorScreen::longestNameGivesWay()
{
    auto *combo = widget<ElidedComboBox>("cmbCourse");
    combo->setCurrentIndex(combo->findText(LONGEST_COURSE));
    QTest::qWait(50);
    QVERIFY2(m_window->minimumSizeHint().width() <= 1366, qPrintable(QString::number(m_window->minimumSizeHint().width())));
    QCOMPARE(m_window->width(), 1366);
    // The counters' title ends in "…" within its place, the whole name in
    // its tooltip.
    auto *title = widget<ElidedLabel>("lbCourse2");
    QCOMPARE(title->text(), LONGEST_COURSE);
    QCOMPARE(title->toolTip(), LONGEST_COURSE);
    const QString shown = title->shownText();
    QVERIFY2(shown.endsWith(QChar(0x2026)) && LONGEST_COURSE.startsWith(shown.chopped(1)), qPrintable(shown));
    QVERIFY(QFontMetrics(title->font()).horizontalAdvance(shown) <= title->contentsRect().width());
    // The filter, the search field and the counters' columns stay in sight.
    for (const char *name : {"cbStudentType", "leSearch", "lbCourse2", "lbTotal", "lbNotPass"}) {
        auto *w = widget<QWidget>(name);
        const QRect inWindow(w->mapTo(m_window.get(), QPoint(0, 0)), w->size());
        QVERIFY2(m_window->rect().contains(inWindow), name);
    }
    save(m_window.get(), "main-window-1366-longest-name");
}

QDialog *TestOperatorScreen::openWithLongestName(const QString &action, const QString &combo)
{
    m_window->findChild<QAction *>(action)->trigger();
    QDialog *dialog = nullptr;
    for (QDialog *candidate : m_window->findChildren<QDialog *>())
        if (candidate->isVisible() && candidate->findChild<QComboBox *>(combo))
            dialog = candidate;
    if (!dialog)
        return nullptr;
    auto *box = dialog->findChild<QComboBox *>(combo);
    box->setCurrentIndex(box->findText(LONGEST_COURSE));
    if (!QTest::qWaitForWindowExposed(dialog))
        return nullptr;
    return box->currentText() == LONGEST_COURSE ? dialog : nullptr;
}

void TestOperatorScreen::dialogsWithinTheScreen_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("import") << "actionImport_XML" << "cbCourse"
                            << QStringList{"btnGetXml", "btnImport", "btnCancel"};
    QTest::newRow("export") << "actionExport_XML" << "cmbCourse" << QStringList{"btnOk", "btnCancel"};
}

void TestOperatorScreen::dialogsWithinTheScreen()
{
    QFETCH(QString, action);
    QFETCH(QString, combo);
    QFETCH(QStringList, buttons);
    QDialog *dialog = openWithLongestName(action, combo);
    QVERIFY(dialog);
    const QRect screen = dialog->screen()->availableGeometry();
    QVERIFY2(dialog->minimumSizeHint().width() <= screen.width(),
             qPrintable(QString::number(dialog->minimumSizeHint().width())));
    // Where it lies on the screen is the smoke run's: here the window is
    // larger than the offscreen screen, and the dialog opens over its middle.
    QVERIFY2(dialog->frameGeometry().width() <= screen.width(),
             qPrintable(QString::number(dialog->frameGeometry().width())));
    for (const QString &name : buttons) {
        auto *button = dialog->findChild<QPushButton *>(name);
        QVERIFY2(button->isVisible(), qPrintable(name));
        const QRect inDialog(button->mapTo(dialog, QPoint(0, 0)), button->size());
        QVERIFY2(dialog->rect().contains(inDialog), qPrintable(name));
        QCOMPARE(button->width(), std::max(button->sizeHint().width(), button->minimumSizeHint().width()));
    }
    auto *box = dialog->findChild<ElidedComboBox *>(combo);
    QVERIFY(box);
    const QString shown = box->shownText();
    QVERIFY2(shown.endsWith(QChar(0x2026)) && LONGEST_COURSE.startsWith(shown.chopped(1)), qPrintable(shown));
    save(dialog, action == "actionImport_XML" ? "import-xml-dialog-longest-name" : "export-dialog-longest-name");
    dialog->reject();
}

void TestOperatorScreen::listsWithinTheScreen_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("combo");
    QTest::newRow("course choice") << "" << "cmbCourse";
    QTest::newRow("import") << "actionImport_XML" << "cbCourse";
    QTest::newRow("export") << "actionExport_XML" << "cmbCourse";
}

void TestOperatorScreen::listsWithinTheScreen()
{
    QFETCH(QString, action);
    QFETCH(QString, combo);
    QDialog *dialog = nullptr;
    QComboBox *box = nullptr;
    if (action.isEmpty()) {
        box = widget<QComboBox>(qPrintable(combo));
        box->setCurrentIndex(box->findText(LONGEST_COURSE));
    } else {
        dialog = openWithLongestName(action, combo);
        QVERIFY(dialog);
        box = dialog->findChild<QComboBox *>(combo);
    }
    box->showPopup();
    QAbstractItemView *list = box->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    const QRect screen = box->screen()->availableGeometry();
    // As wide as the screen at most; where it lies the offscreen platform
    // decides (it moves a shown window by a frame it does not draw).
    const QRect popup = list->window()->geometry();
    QVERIFY2(popup.width() <= screen.width(),
             qPrintable(QString("%1 on %2").arg(popup.width()).arg(screen.width())));
    // The chosen entry, checked, ends in "…"; a short one shows whole.
    const QModelIndex chosen = list->model()->index(box->currentIndex(), 0);
    const int width = list->visualRect(chosen).width();
    QString shown;
    if (auto *menu = qobject_cast<ElidedMenuDelegate *>(box->itemDelegate())) {
        shown = menu->shownText(chosen, width);
        const QModelIndex other = list->model()->index(box->findText(LONG_COURSE), 0);
        if (other.isValid() && QFontMetrics(box->font()).horizontalAdvance(LONG_COURSE) < width / 2)
            QCOMPARE(menu->shownText(other, width), LONG_COURSE);
    } else {
        QCOMPARE(list->textElideMode(), Qt::ElideRight);
        shown = QFontMetrics(list->font()).elidedText(LONGEST_COURSE, Qt::ElideRight, width);
    }
    QVERIFY2(shown.endsWith(QChar(0x2026)) && LONGEST_COURSE.startsWith(shown.chopped(1)), qPrintable(shown));
    save(list->window(), "list-" + (action.isEmpty() ? QString("course-choice") : action) + "-longest-name");
    box->hidePopup();
    if (dialog)
        dialog->reject();
}

ORV_TEST_MAIN_DESKTOP(TestOperatorScreen)
#include "tst_operatorscreen.moc"
