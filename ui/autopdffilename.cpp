#include "ui/autopdffilename.h"

#include "common/constants.h"
#include "records/safetext.h"

QString autoPdfFileName(const QString &course, const QString &courseCode, int orderNumber)
{
    return PDF_FOLDER + "/"
        + SafeText::fileName(course, courseCode, "_" + QString::number(orderNumber) + ".pdf");
}
