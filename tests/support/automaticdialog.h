#ifndef TESTS_SUPPORT_AUTOMATICDIALOG_H
#define TESTS_SUPPORT_AUTOMATICDIALOG_H

#include "reports/print/printdialog.h"

#include <QApplication>

// The automatic printing dialog: the top-level PrintDialog whose queue has
// sheets in it.
inline PrintDialog *automaticDialog()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<PrintDialog *>(w);
        if (dialog && !dialog->getReportList().isEmpty())
            return dialog;
    }
    return nullptr;
}

#endif // TESTS_SUPPORT_AUTOMATICDIALOG_H
