#include "ui/autopdffilename.h"

#include "common/constants.h"

QString autoPdfFileName(const QString &course, int orderNumber)
{
    static const QString unsafe = QStringLiteral("/\\<>:\"|?*");
    QString name = course;
    for (QChar &c : name) {
        if (unsafe.contains(c) || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    return PDF_FOLDER + "/" + name + "_" + QString::number(orderNumber) + ".pdf";
}
