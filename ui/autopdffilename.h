#ifndef ORV_UI_AUTOPDFFILENAME_H
#define ORV_UI_AUTOPDFFILENAME_H

#include <QString>

// Where an automatic result sheet is written in PDF mode: PDF_FOLDER + "/" +
// course name + "_" + order number + ".pdf", the name made a file name by
// SafeText::fileName (so the file always lands in PDF_FOLDER itself, and a
// name too long is cut and followed by the course code).
QString autoPdfFileName(const QString &course, const QString &courseCode, int orderNumber);

#endif // ORV_UI_AUTOPDFFILENAME_H
