#ifndef TESTS_SUPPORT_TESTMAIN_H
#define TESTS_SUPPORT_TESTMAIN_H

// The main of every suite: as the program's own main, it pins the local 8-bit
// codec to UTF-8 so texts hashed as local 8-bit give the same bytes under any
// locale, and it runs without a display.

#include <QTest>
#include <QTextCodec>

// `setUp` runs once the application object `app` exists, before the test
// object is made.
#define ORV_TEST_MAIN_SETUP(TestObject, AppType, setUp)                                   \
    int main(int argc, char *argv[])                                                   \
    {                                                                                   \
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                             \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                    \
        AppType app(argc, argv);                                                        \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                        \
        setUp;                                                                          \
        TestObject tc;                                                                  \
        QTEST_SET_MAIN_SOURCE_PATH                                                      \
        return QTest::qExec(&tc, argc, argv);                                           \
    }

#define ORV_TEST_MAIN_IMPL(TestObject, AppType) ORV_TEST_MAIN_SETUP(TestObject, AppType, (void)app)

// For suites that need no GUI classes.
#define ORV_TEST_MAIN_CORE(TestObject) ORV_TEST_MAIN_IMPL(TestObject, QCoreApplication)
// For suites that paint or load images (QGuiApplication) or show widgets (QApplication).
#define ORV_TEST_MAIN_GUI(TestObject) ORV_TEST_MAIN_IMPL(TestObject, QGuiApplication)
#define ORV_TEST_MAIN_WIDGETS(TestObject) ORV_TEST_MAIN_IMPL(TestObject, QApplication)

#endif // TESTS_SUPPORT_TESTMAIN_H
