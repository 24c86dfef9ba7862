#ifndef ORV_UI_AUTOPDFFILENAME_H
#define ORV_UI_AUTOPDFFILENAME_H

#include <QString>

// Where an automatic result sheet is written in PDF mode: PDF_FOLDER + "/" +
// course + "_" + order number + ".pdf". The course is the sheet's text and
// may hold anything; the characters a file name cannot hold or that would
// lead elsewhere ("/", "\", <>:"|?* and control characters) become "_", so
// the file always lands in PDF_FOLDER itself. Other names stay as they are.
QString autoPdfFileName(const QString &course, int orderNumber);

#endif // ORV_UI_AUTOPDFFILENAME_H
