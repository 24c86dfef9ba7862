#include "ui/elidedmenudelegate.h"

#include "models/courseentry.h"

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
    // The same in every entry and every call, painting or measuring: the
    // text's room must not depend on who asks.
    item.maxIconWidth = m_combo->view()->iconSize().width() + 4;
    item.menuRect = option.rect;
    item.rect = option.rect;
    const QVariant font = index.data(Qt::FontRole);
    item.font = font.isValid() ? font.value<QFont>() : m_combo->font();
    item.fontMetrics = QFontMetrics(item.font);
    return item;
}

int ElidedMenuDelegate::chromeWidth(const QStyleOptionMenuItem &item) const
{
    QStyleOptionMenuItem empty = item;
    empty.text.clear();
    // The size asked for a text is the text's own plus what the style adds
    // around it, as a menu measures its items.
    const QSize text(0, item.fontMetrics.height());
    return m_combo->style()->sizeFromContents(QStyle::CT_MenuItem, &empty, text, m_combo).width();
}

QString ElidedMenuDelegate::shownText(const QModelIndex &index, int width) const
{
    QStyleOptionViewItem option;
    option.initFrom(m_combo->view());
    option.rect = QRect(0, 0, width, 1);
    const QStyleOptionMenuItem item = menuItem(option, index);
    const int room = std::max(0, width - chromeWidth(item));
    return CourseEntry::elided(item.text, index.data(CourseEntry::NameRole).toString(), item.fontMetrics, room);
}

QString ElidedMenuDelegate::shownText(const QModelIndex &index) const
{
    return shownText(index, shownWidth(m_combo->view()->visualRect(index)));
}

int ElidedMenuDelegate::shownWidth(const QRect &entry) const
{
    const int right = std::min(entry.right(), m_combo->view()->viewport()->rect().right());
    return std::max(0, right - entry.left() + 1);
}

void ElidedMenuDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem shown = option;
    shown.rect.setWidth(shownWidth(option.rect));
    QStyleOptionMenuItem item = menuItem(shown, index);
    item.text = menuText(shownText(index, shown.rect.width()));
    m_combo->style()->drawControl(QStyle::CE_MenuItem, &item, painter, m_combo);
}

QSize ElidedMenuDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionMenuItem item = menuItem(option, index);
    const QSize text = item.fontMetrics.size(Qt::TextSingleLine, item.text);
    item.text = menuText(item.text);
    const QSize size = m_combo->style()->sizeFromContents(QStyle::CT_MenuItem, &item, text, m_combo);
    return QSize(chromeWidth(item) + text.width(), size.height());
}
