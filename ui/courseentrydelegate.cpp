#include "ui/courseentrydelegate.h"

#include "models/courseentry.h"

#include <QAbstractItemView>
#include <QApplication>

#include <algorithm>

CourseEntryDelegate::CourseEntryDelegate(QObject *parent) : QStyledItemDelegate(parent)
{
}

void CourseEntryDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const QString name = index.data(CourseEntry::NameRole).toString();
    // Measuring an item (no place yet) takes its whole text.
    if (name.isEmpty() || option->rect.width() <= 0)
        return;
    const QWidget *widget = option->widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, option, widget);
    // The style keeps a margin on both sides of the text, and lays it out
    // to a fraction of a pixel wider than the metrics measure.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const int room = std::max(0, text.width() - 2 * margin - 1);
    option->text = CourseEntry::elided(option->text, name, option->fontMetrics, room);
}

QString CourseEntryDelegate::shownText(const QAbstractItemView *view, const QModelIndex &index) const
{
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.widget = view;
    option.font = view->font();
    option.fontMetrics = view->fontMetrics();
    option.rect = view->visualRect(index);
    option.showDecorationSelected = view->style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, nullptr, view);
    option.textElideMode = view->textElideMode();
    initStyleOption(&option, index);
    return option.text;
}
