// The main window as the operator sees it on a 1366 x 768 screen, with the
// program's fonts and locale: no text of the candidate table's headers, its
// time cells, the running-course list or the room grid is cut (each shows
// whole or cut with "…"), the grid's three order numbers a row fit in the
// left panel, and the tool row's drop-down lists show their highlighted and
// hovered entries readably (measured on the rendered pixels). Two courses
// of 150- and 255-character names alike in their first 147, running, read
// apart wherever a course is chosen (text read from the widgets), each cut
// entry with its whole text as its tooltip; the longer, chosen, widens
// neither the window nor the import and export dialogs beyond the screen,
// and no drop-down list runs off it. Every drop-down list of the window and
// its dialogs shows every entry's text, open and closed (checked on the
// painted pixels too). One window per process.

#include "models/courseentry.h"
#include "models/studentmodel.h"
#include "tests/support/provinceunitrows.h"
#include "tests/support/testdb.h"
#include "tests/support/workfolder.h"
#include "tests/support/desktopmain.h"
#include "ui/addcoursedialog.h"
#include "ui/addunitdialog.h"
#include "ui/courseentrydelegate.h"
#include "ui/elidedbutton.h"
#include "ui/elidedcombobox.h"
#include "ui/elidedlabel.h"
#include "ui/elidedmenudelegate.h"
#include "ui/exportstudentsdialog.h"
#include "ui/importinfosdialog.h"
#include "ui/importxmldialog.h"
#include "ui/mainwindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLocale>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QTest>
#include <QToolTip>

#include <cmath>
#include <memory>

namespace {

const QString LONG_COURSE = QStringLiteral("Khóa sát hạch lái xe ô tô hạng B2 tháng 12 năm 2026 - Sân Một");
// Two names alike in their first 147 characters, the longer one as long as
// the database holds.
const QString ALIKE = QStringLiteral("Khóa sát hạch lái xe ô tô hạng B2 tháng 12 năm 2026 của Trung tâm Đào tạo và "
                                     "Sát hạch lái xe Sân Một, tổ chức tại sân số 2, đợt thi lại bổ sung (2)");
const QString NAME_150 = ALIKE + QStringLiteral(" A1");
const QString NAME_255 = ALIKE + QStringLiteral(" dành cho học viên thi lại phần mô phỏng, buổi chiều ở phòng máy "
                                                "số 03, theo kế hoạch của Sở ngày 11/12/2026");
const QChar ELLIPSIS(0x2026);
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

// Whether `shown` is the entry of course `code` named `name` (`mark` after
// the name), whole or with the name cut in the middle: its code whole, some
// of each end of the name.
bool entryOf(const QString &shown, const QString &code, const QString &name, const QString &mark = QString())
{
    const QString prefix = code + QStringLiteral(" – ");
    if (shown == prefix + name + mark)
        return true;
    if (!shown.startsWith(prefix) || !shown.endsWith(mark) || shown.count(ELLIPSIS) != 1)
        return false;
    const QString cut = shown.mid(prefix.size(), shown.size() - prefix.size() - mark.size());
    const QString head = cut.section(ELLIPSIS, 0, 0);
    const QString tail = cut.section(ELLIPSIS, 1);
    return !head.trimmed().isEmpty() && !tail.trimmed().isEmpty() && name.startsWith(head) && name.endsWith(tail);
}

// Whether `shown` reads as entry `whole` of a list: a course's entry (its
// code `code`, its name `name`) whole or cut in the middle of its name, any
// other whole or cut at its end.
bool readsAs(const QString &shown, const QString &whole, const QString &code, const QString &name)
{
    if (!name.isEmpty())
        return entryOf(shown, code, name, whole.mid(whole.indexOf(name) + name.size()));
    return shown == whole || (shown.endsWith(ELLIPSIS) && whole.startsWith(shown.chopped(1)));
}

// The columns of `row` in `image` holding ink, that is a pixel that stands
// out from the row's most common colour: their leftmost and rightmost.
std::pair<int, int> inkSpan(const QImage &image, const QRect &row)
{
    QHash<QRgb, int> counts;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= row.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    int left = -1, right = -1;
    for (int x = row.left(); x <= row.right(); ++x)
        for (int y = row.top(); y <= row.bottom(); ++y)
            if (contrast(image.pixel(x, y) | 0xff000000, background) > 2.5) {
                if (left < 0)
                    left = x;
                right = x;
                break;
            }
    return {left, right};
}

} // namespace

class TestOperatorScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

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
    void coursesReadApart_data();
    void coursesReadApart();
    void everyListShowsItsEntries_data();
    void everyListShowsItsEntries();

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
    // The drop-down list `combo` of the window, or of the dialog `opener`
    // opens (an action, or a dialog's class whose form is shown for a new
    // record); null when it cannot be found.
    QComboBox *openCombo(const QString &opener, const QString &combo);
    // The entry at `row` of the list `box` dropped down, as its delegate
    // paints it.
    static QString shownEntry(QComboBox *box, int row);
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
    // Running too, since the day before and the one before, with nobody in
    // the room.
    QCOMPARE(ALIKE.size(), 147);
    QCOMPARE(NAME_150.size(), 150);
    QCOMPARE(NAME_255.size(), 255);
    sql(QString("INSERT INTO khoathi (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, TrangThai, TrungTam) VALUES"
                " ('K2', '%1', 'U1', CURDATE() - INTERVAL 1 DAY, 2, 'Sân Một'),"
                " ('K3', '%2', 'U1', CURDATE() - INTERVAL 2 DAY, 2, 'Sân Một')")
            .arg(NAME_150, NAME_255));
    // The theory-test database holds them too, the first under the same
    // code (so marked as imported).
    QVERIFY(ProvinceUnitRows::insert(m_folder->auxAdmin(), {{"T1", "Hà Nội"}}, {{"U1", "T1", "Trung tâm Một"}}));
    QVERIFY2(TestDb::exec(m_folder->auxAdmin(),
                          QString("INSERT INTO khoahoc (IDKhoaHoc, TenKhoaHoc, IDDonVi, NgayThi, NamHoc, Thi, HoiDong,"
                                  " TrungTam, TrangThai) VALUES"
                                  " ('K2', '%1', 'U1', CURDATE(), 2026, 1, 'Hà Nội', 'Sân Một', 1),"
                                  " ('A3', '%2', 'U1', CURDATE(), 2026, 1, 'Hà Nội', 'Sân Một', 1)")
                              .arg(NAME_150, NAME_255)),
             "theory-test courses");
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
    combo->setCurrentIndex(combo->findData("K1"));
    QCOMPARE(widget<QTableView>("studentView")->model()->rowCount(), 4);
    QTest::qWait(50);
    const QString folder = qEnvironmentVariable("ORV_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        QVERIFY(m_window->grab().save(folder + "/main-window-1366.png"));
}

void TestOperatorScreen::cleanup()
{
    // A failed case leaves nothing open for the next.
    for (int i = 0; i < 4 && QApplication::activePopupWidget(); ++i)
        QApplication::activePopupWidget()->close();
    for (int i = 0; i < 4 && QApplication::activeModalWidget(); ++i)
        QApplication::activeModalWidget()->close();
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
    // The long course name chosen does not widen the combo: it is cut in
    // the middle.
    auto *combo = widget<ElidedComboBox>("cmbCourse");
    QCOMPARE(combo->currentText(), "K1 – " + LONG_COURSE);
    QVERIFY(combo->width() < QFontMetrics(combo->font()).horizontalAdvance(LONG_COURSE));
    const QString shown = combo->shownText();
    QVERIFY2(shown.contains(ELLIPSIS) && entryOf(shown, "K1", LONG_COURSE), qPrintable(shown));
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

    auto *delegate = qobject_cast<CourseEntryDelegate *>(running->itemDelegate());
    QVERIFY(delegate);
    const QString listed = delegate->shownText(running, running->model()->index(0, 0));
    QVERIFY2(entryOf(listed, "K1", LONG_COURSE), qPrintable(listed));
    QVERIFY(QFontMetrics(running->font()).horizontalAdvance(listed) < running->columnWidth(0));

    // The grid's course button: whole, or cut in the middle of the name.
    ElidedButton *title = nullptr;
    for (ElidedButton *button : widget<QWidget>("scrollAreaWidgetContents")->findChildren<ElidedButton *>())
        if (button->text() == "K1 – " + LONG_COURSE)
            title = button;
    QVERIFY(title);
    const QString shown = title->shownText();
    QVERIFY2(entryOf(shown, "K1", LONG_COURSE), qPrintable(shown));
    QVERIFY(shown.contains(ELLIPSIS)); // the name is longer than the panel
}

void TestOperatorScreen::threeOrderNumbersInTheLeftPanel()
{
    auto *area = widget<QScrollArea>("scrollArea");
    QVERIFY(!area->horizontalScrollBar()->isVisible());
    QStringList shown;
    for (ElidedButton *button : area->widget()->findChildren<ElidedButton *>()) {
        if (button->text().contains(" – "))
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
        if (!box->itemText(i).contains(ALIKE))
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
    combo->setCurrentIndex(combo->findData("K3"));
    QTest::qWait(50);
    QVERIFY2(m_window->minimumSizeHint().width() <= 1366, qPrintable(QString::number(m_window->minimumSizeHint().width())));
    QCOMPARE(m_window->width(), 1366);
    // The counters' title, the name alone, ends in "…" within its place, the
    // whole name in its tooltip.
    auto *title = widget<ElidedLabel>("lbCourse2");
    QCOMPARE(title->text(), NAME_255);
    QCOMPARE(title->toolTip(), NAME_255);
    const QString shown = title->shownText();
    QVERIFY2(shown.endsWith(ELLIPSIS) && NAME_255.startsWith(shown.chopped(1)), qPrintable(shown));
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
    box->setCurrentIndex(box->findData("K3"));
    if (!QTest::qWaitForWindowExposed(dialog))
        return nullptr;
    return box->currentData().toString() == "K3" ? dialog : nullptr;
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
    QVERIFY2(shown.contains(ELLIPSIS) && entryOf(shown, "K3", NAME_255), qPrintable(shown));
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
        box->setCurrentIndex(box->findData("K3"));
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
    // The chosen entry, checked, is cut in the middle of its name; a short
    // one shows whole.
    const QString shown = shownEntry(box, box->currentIndex());
    QVERIFY2(shown.contains(ELLIPSIS) && entryOf(shown, "K3", NAME_255), qPrintable(shown));
    const int other = box->findData("K1");
    if (other >= 0 && list->viewport()->width() > 2 * QFontMetrics(box->font()).horizontalAdvance(LONG_COURSE))
        QCOMPARE(shownEntry(box, other), "K1 – " + LONG_COURSE);
    save(list->window(), "list-" + (action.isEmpty() ? QString("course-choice") : action) + "-longest-name");
    box->hidePopup();
    if (dialog)
        dialog->reject();
}

QString TestOperatorScreen::shownEntry(QComboBox *box, int row)
{
    QAbstractItemView *list = box->view();
    const QModelIndex index = list->model()->index(row, box->modelColumn());
    if (auto *menu = qobject_cast<ElidedMenuDelegate *>(box->itemDelegate()))
        return menu->shownText(index);
    if (auto *entries = qobject_cast<CourseEntryDelegate *>(box->itemDelegate()))
        return entries->shownText(list, index);
    return index.data().toString();
}

QComboBox *TestOperatorScreen::openCombo(const QString &opener, const QString &combo)
{
    QWidget *owner = m_window.get();
    if (opener == "AddCourseDialog") {
        auto *dialog = m_window->findChild<AddCourseDialog *>();
        dialog->showForCreate();
        owner = dialog;
    } else if (opener == "AddUnitDialog") {
        auto *dialog = m_window->findChild<AddUnitDialog *>();
        dialog->showForCreate();
        owner = dialog;
    } else if (opener == "btnAdd") {
        widget<QPushButton>("btnAdd")->click();
        owner = QApplication::activeModalWidget();
    } else if (!opener.isEmpty()) {
        m_window->findChild<QAction *>(opener)->trigger();
        owner = QApplication::activeModalWidget();
    }
    if (!owner)
        return nullptr;
    return owner->findChild<QComboBox *>(combo);
}

void TestOperatorScreen::coursesReadApart_data()
{
    // Where the two courses are shown: the list of the combo of the window
    // or of the dialog an action opens, the combo closed on each of them,
    // the running courses' list, the room grid's titles.
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("mark");
    QTest::newRow("course choice, list") << "" << "list:cmbCourse" << "";
    QTest::newRow("course choice, closed") << "" << "closed:cmbCourse" << "";
    QTest::newRow("XML import, list") << "actionImport_XML" << "list:cbCourse" << "";
    QTest::newRow("XML import, closed") << "actionImport_XML" << "closed:cbCourse" << "";
    QTest::newRow("export, list") << "actionExport_XML" << "list:cmbCourse" << "";
    QTest::newRow("export, closed") << "actionExport_XML" << "closed:cmbCourse" << "";
    QTest::newRow("theory-test import, list") << "actionAuxDb" << "list:cmbCourse" << " [Đã import]";
    QTest::newRow("theory-test import, closed") << "actionAuxDb" << "closed:cmbCourse" << " [Đã import]";
    QTest::newRow("running courses") << "" << "running" << "";
    QTest::newRow("room grid") << "" << "grid" << "";
}

void TestOperatorScreen::coursesReadApart()
{
    QFETCH(QString, opener);
    QFETCH(QString, where);
    QFETCH(QString, mark);
    // The theory-test database lists the shorter name under its code in
    // the main database (marked as imported), the longer under another.
    const QString shortCode = "K2";
    const QString longCode = opener == "actionAuxDb" ? "A3" : "K3";
    QStringList shown, tips;
    QString screenshot;
    if (where == "running") {
        auto *running = widget<QTableView>("startingCourseView");
        auto *delegate = qobject_cast<CourseEntryDelegate *>(running->itemDelegate());
        QVERIFY(delegate);
        for (int row = 0; row < running->model()->rowCount(); ++row) {
            const QModelIndex index = running->model()->index(row, 0);
            if (index.data(CourseEntry::NameRole).toString().startsWith(ALIKE)) {
                shown << delegate->shownText(running, index);
                tips << index.data(Qt::ToolTipRole).toString();
            }
        }
        screenshot = "running-courses-alike";
        save(widget<QWidget>("scrollArea")->parentWidget(), screenshot);
    } else if (where == "grid") {
        for (ElidedButton *button : widget<QWidget>("scrollAreaWidgetContents")->findChildren<ElidedButton *>())
            if (button->text().contains(ALIKE)) {
                shown << button->shownText();
                tips << button->toolTip();
            }
    } else {
        QComboBox *box = openCombo(opener, where.section(':', 1));
        QVERIFY(box);
        auto *elided = qobject_cast<ElidedComboBox *>(box);
        QVERIFY(elided);
        for (const QString &code : {shortCode, longCode}) {
            const int row = box->findData(code);
            QVERIFY2(row >= 0, qPrintable(code));
            if (where.startsWith("closed")) {
                box->setCurrentIndex(row);
                shown << elided->shownText();
                // The box's tooltip is the chosen entry's, whole.
                QToolTip::hideText();
                QHelpEvent help(QEvent::ToolTip, box->rect().center(), box->mapToGlobal(box->rect().center()));
                QApplication::sendEvent(box, &help);
                tips << QToolTip::text();
                QToolTip::hideText();
            } else {
                if (!box->view()->isVisible()) {
                    box->showPopup();
                    QVERIFY(QTest::qWaitForWindowExposed(box->view()->window()));
                }
                shown << shownEntry(box, row);
                tips << box->itemData(row, Qt::ToolTipRole).toString();
            }
        }
        const QString place = opener.isEmpty() ? QString("course-choice") : opener;
        if (box->view()->isVisible()) {
            save(box->view()->window(), "list-alike-" + place);
            box->hidePopup();
        } else if (!opener.isEmpty()) {
            save(box->window(), "closed-alike-" + place);
        }
        if (!opener.isEmpty())
            box->window()->close();
    }
    QCOMPARE(shown.size(), 2);
    QVERIFY2(shown.at(0) != shown.at(1), qPrintable(shown.join(" | ")));
    QVERIFY2(entryOf(shown.at(0), shortCode, NAME_150, mark), qPrintable(shown.at(0)));
    QVERIFY2(entryOf(shown.at(1), longCode, NAME_255), qPrintable(shown.at(1)));
    // The longer is cut wherever it is shown; each cut one has its whole
    // entry as its tooltip.
    QVERIFY2(shown.at(1).contains(ELLIPSIS), qPrintable(shown.at(1)));
    const QString marks[] = {mark, QString()};
    const QString codes[] = {shortCode, longCode};
    const QString names[] = {NAME_150, NAME_255};
    for (int i = 0; i < 2; ++i)
        if (shown.at(i).contains(ELLIPSIS))
            QCOMPARE(tips.at(i), codes[i] + " – " + names[i] + marks[i]);
}

void TestOperatorScreen::everyListShowsItsEntries_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("combo");
    QTest::newRow("course choice") << "" << "cmbCourse";
    QTest::newRow("candidate filter") << "" << "cbStudentType";
    QTest::newRow("XML import") << "actionImport_XML" << "cbCourse";
    QTest::newRow("export") << "actionExport_XML" << "cmbCourse";
    QTest::newRow("theory-test import") << "actionAuxDb" << "cmbCourse";
    QTest::newRow("course's unit") << "AddCourseDialog" << "cbUnit";
    QTest::newRow("course's year") << "AddCourseDialog" << "cbYear";
    QTest::newRow("course's state") << "AddCourseDialog" << "cbStatus";
    QTest::newRow("unit's council") << "AddUnitDialog" << "cbProvince";
    QTest::newRow("candidate's gender") << "btnAdd" << "comboBox";
    QTest::newRow("candidate's content") << "btnAdd" << "cbContestContent";
}

void TestOperatorScreen::everyListShowsItsEntries()
{
    QFETCH(QString, opener);
    QFETCH(QString, combo);
    QComboBox *box = openCombo(opener, combo);
    QVERIFY(box);
    QVERIFY(box->count() > 0);
    box->showPopup();
    QAbstractItemView *list = box->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    const QRect screen = box->screen()->availableGeometry();
    QVERIFY(list->window()->width() <= screen.width());
    // The entries are painted in the box's font.
    const QFontMetrics metrics(box->font());
    for (int row = 0; row < box->count(); ++row) {
        const QModelIndex index = list->model()->index(row, box->modelColumn());
        list->scrollTo(index);
        QTest::qWait(1);
        const QString whole = box->itemText(row);
        const QString shown = shownEntry(box, row);
        // The text read: whole, or a course's entry cut in the middle of its
        // name, or another cut at its end.
        QVERIFY2(readsAs(shown, whole, box->itemData(row).toString(), index.data(CourseEntry::NameRole).toString()),
                 qPrintable(shown + " of " + whole));
        // The text painted: ink across most of the text's width, none at
        // the entry's right edge. A check mark alone is narrower than any
        // entry's text.
        const QImage image = list->viewport()->grab().toImage();
        const QRect entry = list->visualRect(index).intersected(image.rect());
        QVERIFY2(entry.height() > 4, qPrintable(whole));
        const std::pair<int, int> ink = inkSpan(image, entry.adjusted(1, 1, -1, -1));
        const int textWidth = metrics.horizontalAdvance(shown);
        QVERIFY2(ink.first >= 0 && ink.second - ink.first + 1 >= textWidth * 4 / 5,
                 qPrintable(QString("%1: ink %2..%3 for a text %4 wide").arg(whole).arg(ink.first).arg(ink.second).arg(textWidth)));
        QVERIFY2(ink.second < entry.right() - 1, qPrintable(whole));
        if (row == 0 || row == box->currentIndex())
            save(list->window(), "list-" + (opener.isEmpty() ? QString() : opener + "-") + combo
                     + (row == 0 ? QString() : "-chosen"));
    }
    box->hidePopup();

    // Closed, each entry chosen shows whole or cut with "…" within the
    // box's field, not cut by its edge.
    if (auto *elided = qobject_cast<ElidedComboBox *>(box)) {
        const int chosen = box->currentIndex();
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.subControls = QStyle::SC_All;
        const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
        for (int row = 0; row < box->count(); ++row) {
            box->setCurrentIndex(row);
            const QString whole = box->itemText(row);
            const QString shown = elided->shownText();
            QVERIFY2(readsAs(shown, whole, box->itemData(row).toString(),
                             box->itemData(row, CourseEntry::NameRole).toString()),
                     qPrintable(shown + " of " + whole));
            const QImage image = box->grab().toImage();
            const std::pair<int, int> ink = inkSpan(image, field.adjusted(0, 2, 0, -2));
            const int textWidth = metrics.horizontalAdvance(shown);
            QVERIFY2(ink.first >= 0 && ink.second - ink.first + 1 >= textWidth * 4 / 5,
                     qPrintable(QString("%1: ink %2..%3 for a text %4 wide").arg(whole).arg(ink.first).arg(ink.second).arg(textWidth)));
            QVERIFY2(ink.second < field.right(), qPrintable(QString("%1: ink to %2 in a field to %3").arg(shown).arg(ink.second).arg(field.right())));
        }
        save(box, "closed-" + (opener.isEmpty() ? QString() : opener + "-") + combo);
        box->setCurrentIndex(chosen);
    }
    if (!opener.isEmpty())
        box->window()->close();
}

ORV_TEST_MAIN_DESKTOP(TestOperatorScreen)
#include "tst_operatorscreen.moc"
