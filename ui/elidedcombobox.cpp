#include "ui/elidedcombobox.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>

ElidedComboBox::ElidedComboBox(QWidget *parent) : QComboBox(parent)
{
}

void ElidedComboBox::showPopup()
{
    QAbstractItemView *list = view();
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
    // The entries' own margins and a scroll bar, should the list need one.
    const int margins = 4 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 16
        + list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth();
    list->setMinimumWidth(widest + margins);
    QComboBox::showPopup();
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
