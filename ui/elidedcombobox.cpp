#include "ui/elidedcombobox.h"

#include "models/courseentry.h"
#include "ui/courseentrydelegate.h"
#include "ui/elidedmenudelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>

#include <algorithm>

ElidedComboBox::ElidedComboBox(QWidget *parent) : QComboBox(parent)
{
}

void ElidedComboBox::addCourse(const QString &code, const QString &name, const QString &mark)
{
    const QString text = CourseEntry::text(code, name) + mark;
    addItem(text, code);
    const int added = count() - 1;
    setItemData(added, name, CourseEntry::NameRole);
    setItemData(added, text, Qt::ToolTipRole);
}

void ElidedComboBox::useElidingDelegate()
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // A style that drops the list down as a menu paints its entries as menu
    // items, which it cuts at the list's edge without "…".
    if (style()->styleHint(QStyle::SH_ComboBox_Popup, &option, this)) {
        if (!qobject_cast<ElidedMenuDelegate *>(itemDelegate()))
            setItemDelegate(new ElidedMenuDelegate(this));
    } else if (!qobject_cast<CourseEntryDelegate *>(itemDelegate())) {
        setItemDelegate(new CourseEntryDelegate(this));
    }
}

void ElidedComboBox::showPopup()
{
    useElidingDelegate();
    QAbstractItemView *list = view();
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.font = list->font();
    option.fontMetrics = QFontMetrics(option.font);
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, itemDelegate()->sizeHint(option, model()->index(i, modelColumn())).width());
    // A scroll bar, should the list need one, and the list's frame.
    const int margins = list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth();
    const QRect available = screen()->availableGeometry();
    list->setMinimumWidth(std::min(widest + margins, available.width()));
    QComboBox::showPopup();

    // QComboBox keeps the list within the screen, but not below the minimum
    // width of the list and its frame, nor to the pixel.
    QWidget *popup = list->window();
    QRect geometry = popup->geometry();
    if (geometry.width() > available.width()) {
        list->setMinimumWidth(std::max(0, list->minimumWidth() - (geometry.width() - available.width())));
        if (popup->layout())
            popup->layout()->activate();
        geometry.setWidth(available.width());
    }
    if (geometry.right() > available.right())
        geometry.moveRight(available.right());
    if (geometry.left() < available.left())
        geometry.moveLeft(available.left());
    if (geometry != popup->geometry())
        popup->setGeometry(geometry);
}

QString ElidedComboBox::shownText() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect label = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    // The style draws the label a pixel inside the field on each side.
    return CourseEntry::elided(currentText(), currentData(CourseEntry::NameRole).toString(), fontMetrics(),
                               label.width() - 2);
}

bool ElidedComboBox::event(QEvent *event)
{
    // Without a tooltip of its own the box shows the chosen entry's, when
    // the entry is cut.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        const QString whole = currentData(Qt::ToolTipRole).toString();
        if (!whole.isEmpty() && shownText() != currentText()) {
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), whole, this);
            return true;
        }
    }
    return QComboBox::event(event);
}

void ElidedComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = shownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
