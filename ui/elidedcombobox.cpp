#include "ui/elidedcombobox.h"

#include "ui/elidedmenudelegate.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>

ElidedComboBox::ElidedComboBox(QWidget *parent) : QComboBox(parent)
{
}

void ElidedComboBox::showPopup()
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // A style that drops the list down as a menu paints its entries as menu
    // items, which it cuts at the list's edge without "…".
    if (style()->styleHint(QStyle::SH_ComboBox_Popup, &option, this)
        && !qobject_cast<ElidedMenuDelegate *>(itemDelegate()))
        setItemDelegate(new ElidedMenuDelegate(this));

    QAbstractItemView *list = view();
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    // The entries' own margins and a scroll bar, should the list need one.
    const int margins = 4 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 16
        + list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth();
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
    return fontMetrics().elidedText(currentText(), Qt::ElideRight, label.width() - 2);
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
