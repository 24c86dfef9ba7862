#ifndef TESTS_SUPPORT_DIALOGPROBE_H
#define TESTS_SUPPORT_DIALOGPROBE_H

// What the operator sees of the dialogs under test: the message boxes on
// screen and pictures of the windows. Blocking dialogs are answered with
// ModalAnswer.

#include "ui/customerbox.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QWidget>

namespace DialogProbe {

// The top-level widget of type T (the last one, should there be several),
// null when none: the windows the program opens by itself, such as the main
// window the controller shows.
template <class T>
T *topLevel()
{
    T *found = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *widget = qobject_cast<T *>(window))
            found = widget;
    }
    return found;
}

// Hides every message box, so that the next check sees only what the next
// action shows.
inline void hideBoxes()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<CustomerBox *>(window))
            window->hide();
    }
}

// "title|content" of each message box on screen, joined by "; " (empty when
// none is shown).
inline QString shownBoxes()
{
    QStringList shown;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!qobject_cast<CustomerBox *>(window) || !window->isVisible())
            continue;
        const QLabel *content = window->findChild<QLabel *>(QStringLiteral("lbContent"));
        shown << window->windowTitle() + "|" + (content ? content->text() : QString());
    }
    return shown.join(QStringLiteral("; "));
}

// Saves a picture of `widget` as <name>.png into the folder named by
// ORV_SCREENSHOT_DIR, when it is set.
inline void screenshot(QWidget *widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("ORV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    widget->grab().save(QDir(folder).filePath(name + ".png"));
}

} // namespace DialogProbe

#endif // TESTS_SUPPORT_DIALOGPROBE_H
