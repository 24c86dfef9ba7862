#ifndef ORV_UI_ELIDEDMENUDELEGATE_H
#define ORV_UI_ELIDEDMENUDELEGATE_H

#include <QAbstractItemDelegate>
#include <QStyleOptionMenuItem>

class QComboBox;

// The entries of a combo box's list dropped down as a menu, painted as the
// style paints menu items (the chosen one checked), but with a text that
// does not fit the entry cut at the end with "…".
class ElidedMenuDelegate : public QAbstractItemDelegate
{
    Q_OBJECT

public:
    explicit ElidedMenuDelegate(QComboBox *combo);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The entry's text as painted within `width` pixels of entry.
    QString shownText(const QModelIndex &index, int width) const;

private:
    // The menu item standing for the entry, with its whole text as it is.
    QStyleOptionMenuItem menuItem(const QStyleOptionViewItem &option, const QModelIndex &index) const;

    QComboBox *m_combo;
};

#endif // ORV_UI_ELIDEDMENUDELEGATE_H
