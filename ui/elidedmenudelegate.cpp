#include "ui/elidedmenudelegate.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QPainter>

#include <algorithm>

namespace {
// A lone "&" would be taken for a shortcut's mark.
QString menuText(const QString &text)
{
    return QString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}
} // namespace

ElidedMenuDelegate::ElidedMenuDelegate(QComboBox *combo) : QAbstractItemDelegate(combo), m_combo(combo)
{
}

QStyleOptionMenuItem ElidedMenuDelegate::menuItem(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionMenuItem item;
    item.palette = option.palette.resolve(QApplication::palette("QMenu"));
    item.state = QStyle::State_None;
    if (m_combo->window()->isActiveWindow())
        item.state |= QStyle::State_Active;
    if ((option.state & QStyle::State_Enabled) && (index.flags() & Qt::ItemIsEnabled))
        item.state |= QStyle::State_Enabled;
    else
        item.palette.setCurrentColorGroup(QPalette::Disabled);
    if (option.state & QStyle::State_Selected)
        item.state |= QStyle::State_Selected;
    item.checkType = QStyleOptionMenuItem::NonExclusive;
    item.checked = m_combo->currentIndex() == index.row();
    item.menuItemType = QStyleOptionMenuItem::Normal;
    item.text = index.data(Qt::DisplayRole).toString();
    item.tabWidth = 0;
    item.maxIconWidth = option.decorationSize.width() + 4;
    item.menuRect = option.rect;
    item.rect = option.rect;
    const QVariant font = index.data(Qt::FontRole);
    item.font = font.isValid() ? font.value<QFont>() : m_combo->font();
    item.fontMetrics = QFontMetrics(item.font);
    return item;
}

QString ElidedMenuDelegate::shownText(const QModelIndex &index, int width) const
{
    QStyleOptionViewItem option;
    option.initFrom(m_combo->view());
    option.rect = QRect(0, 0, width, 1);
    QStyleOptionMenuItem item = menuItem(option, index);
    const QString whole = item.text;
    // What the entry takes beside its text: the check mark's column and the
    // margins.
    item.text.clear();
    const int chrome =
        m_combo->style()->sizeFromContents(QStyle::CT_MenuItem, &item, QSize(0, 0), m_combo).width();
    return item.fontMetrics.elidedText(whole, Qt::ElideRight, std::max(0, width - chrome));
}

void ElidedMenuDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionMenuItem item = menuItem(option, index);
    item.text = menuText(shownText(index, option.rect.width()));
    m_combo->style()->drawControl(QStyle::CE_MenuItem, &item, painter, m_combo);
}

QSize ElidedMenuDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionMenuItem item = menuItem(option, index);
    item.text = menuText(item.text);
    return m_combo->style()->sizeFromContents(QStyle::CT_MenuItem, &item, option.rect.size(), m_combo);
}
