#ifndef ORV_UI_DESKTOPSETUP_H
#define ORV_UI_DESKTOPSETUP_H

class QCoreApplication;

// The operator's desktop in Vietnamese with the forms' proportions: fonts in
// the place of the forms' Tahoma and Arial, the Vietnamese (Vietnam) default
// locale and the translation of Qt's own dialogs. Called once, after the
// application object and before any widget exists.
void setUpDesktop(QCoreApplication *app);

#endif // ORV_UI_DESKTOPSETUP_H
