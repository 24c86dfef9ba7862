#ifndef TESTS_UI_DESKTOPMAIN_H
#define TESTS_UI_DESKTOPMAIN_H

// The main of the desktop's suites: the program's own fonts, locale and
// translation of Qt's dialogs, so that what the suites measure and the
// screenshots they take are what the operator sees.

#include "tests/support/testmain.h"
#include "ui/desktopsetup.h"

#include <QApplication>

#define ORV_TEST_MAIN_DESKTOP(TestObject) ORV_TEST_MAIN_SETUP(TestObject, QApplication, setUpDesktop(&app))

#endif // TESTS_UI_DESKTOPMAIN_H
