#ifndef TESTS_SUPPORT_TYPETEXT_H
#define TESTS_SUPPORT_TYPETEXT_H

// Types text into a widget one key press a character, as the operator
// would; unlike QTest::keyClicks it takes letters outside ASCII (Vietnamese
// names).

#include <QString>
#include <QTest>
#include <QWidget>

inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

#endif // TESTS_SUPPORT_TYPETEXT_H
