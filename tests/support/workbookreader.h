#ifndef TESTS_SUPPORT_WORKBOOKREADER_H
#define TESTS_SUPPORT_WORKBOOKREADER_H

#include <QJsonObject>
#include <QString>

// A workbook as openpyxl reads it (tests/support/readxlsx.py): "cells" by
// reference, "raw" cell types as written, "merged", "children", "order_ok",
// "parts" (digest and compression of every entry), "dimension". An empty
// object when the reader failed; `error` says why.
namespace WorkbookReader {
QJsonObject read(const QString &path, QString *error = nullptr);
// Rewrites `from` into `to` with every entry deflated, as most writers do.
bool deflatedCopy(const QString &from, const QString &to);
}

#endif // TESTS_SUPPORT_WORKBOOKREADER_H
