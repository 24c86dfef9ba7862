#ifndef TESTS_SUPPORT_TEXTFITS_H
#define TESTS_SUPPORT_TEXTFITS_H

// Whether a widget as laid out shows its text whole: the fonts that stand
// in for the forms' own (DejaVu for Tahoma) run wider, and a form that fits
// with one may cut texts with the other.

#include <QFontMetrics>
#include <QString>
#include <QWidget>

inline bool textFits(const QWidget *widget, const QString &text)
{
    // The least that frames, padding and a combo box's arrow take.
    const int chrome = widget->inherits("QLabel") ? 0 : widget->inherits("QComboBox") ? 24 : 4;
    return QFontMetrics(widget->font()).horizontalAdvance(text) + chrome <= widget->width();
}

#endif // TESTS_SUPPORT_TEXTFITS_H
