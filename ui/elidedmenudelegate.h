#ifndef ORV_UI_ELIDEDMENUDELEGATE_H
#define ORV_UI_ELIDEDMENUDELEGATE_H

#include <QAbstractItemDelegate>
#include <QStyleOptionMenuItem>

class QComboBox;

// The entries of a combo box's list dropped down as a menu, painted as the
// style paints menu items (the chosen one checked), but with a text that
// does not fit the entry cut with "…": a course's entry (one holding
// CourseEntry::NameRole) in the middle of its name, any other at the end.
// An entry's tooltip is its Qt::ToolTipRole.
class ElidedMenuDelegate : public QAbstractItemDelegate
{
    Q_OBJECT

public:
    explicit ElidedMenuDelegate(QComboBox *combo);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // As wide as the entry's whole text asks.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The entry's text as painted in the list's present width.
    QString shownText(const QModelIndex &index) const;

private:
    // The menu item standing for the entry, with its whole text as it is.
    QStyleOptionMenuItem menuItem(const QStyleOptionViewItem &option, const QModelIndex &index) const;
    // What the entry takes beside its text: the check mark's column and the
    // margins.
    int chromeWidth(const QStyleOptionMenuItem &item) const;
    // The entry's text as painted within `width` pixels of entry.
    QString shownText(const QModelIndex &index, int width) const;
    // The entry's width on the screen: the list lays an entry out as wide as
    // its text asks, the list's edge cuts it.
    int shownWidth(const QRect &entry) const;

    QComboBox *m_combo;
};

#endif // ORV_UI_ELIDEDMENUDELEGATE_H
