#ifndef ORV_UI_COURSEENTRYDELEGATE_H
#define ORV_UI_COURSEENTRYDELEGATE_H

#include <QStyledItemDelegate>

class QAbstractItemView;

// The items of a list as the style paints them, except that a course's
// entry (one holding CourseEntry::NameRole) too long for its place is cut
// in the middle of its name, so that names alike but for their end still
// read apart; other items keep the view's own eliding. An item's tooltip is
// its Qt::ToolTipRole.
class CourseEntryDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CourseEntryDelegate(QObject *parent = nullptr);

    // The item's text as painted in `view` at its present place.
    QString shownText(const QAbstractItemView *view, const QModelIndex &index) const;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

#endif // ORV_UI_COURSEENTRYDELEGATE_H
