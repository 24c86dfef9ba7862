#include "ui/elidedbutton.h"

#include "models/courseentry.h"

#include <QFontMetrics>
#include <QStyleOptionButton>
#include <QStylePainter>

ElidedButton::ElidedButton(const QString &text, QWidget *parent) : QPushButton(text, parent)
{
    // The column decides the width; the text adapts to it.
    setSizePolicy(QSizePolicy::Ignored, sizePolicy().verticalPolicy());
}

void ElidedButton::setCourse(const QString &code, const QString &name)
{
    m_name = name;
    setText(CourseEntry::text(code, name));
    setToolTip(text());
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
    return CourseEntry::elided(text(), m_name, fontMetrics(), contents.width());
}

void ElidedButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text = shownText();
    painter.drawControl(QStyle::CE_PushButton, option);
}
