#include "ui/elidedbutton.h"

#include <QFontMetrics>
#include <QStyleOptionButton>
#include <QStylePainter>

ElidedButton::ElidedButton(const QString &text, QWidget *parent) : QPushButton(text, parent)
{
    // The column decides the width; the text adapts to it.
    setSizePolicy(QSizePolicy::Ignored, sizePolicy().verticalPolicy());
}

QSize ElidedButton::minimumSizeHint() const
{
    return QSize(0, QPushButton::minimumSizeHint().height());
}

QString ElidedButton::shownText() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    return fontMetrics().elidedText(text(), Qt::ElideRight, contents.width());
}

void ElidedButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text = shownText();
    painter.drawControl(QStyle::CE_PushButton, option);
}
