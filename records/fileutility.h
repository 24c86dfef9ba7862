#ifndef RECORDS_FILEUTILITY_H
#define RECORDS_FILEUTILITY_H

#include "records/mysqlconnectioninfo.h"

#include <QObject>
#include <QString>

// Reads and writes the key:value files under ./config. A missing file is never
// an error for the caller: the reader returns the built-in defaults and
// creates the file with them, so the operator has one to edit. Holds no state;
// each call opens, reads or writes and closes its file by itself.
class FileUtility : public QObject
{
    Q_OBJECT

public:
    explicit FileUtility(QObject *parent = nullptr);

    // The listening port as text; "6886" by default.
    QString readTcpConnectionConfig() const;
    // The connection in `path`; the default database is "quenlor" when the
    // path contains "aux", "orv" otherwise. A port that is not a number is 0.
    MySqlConnectionInfo readMysqlConnectionConfig(const QString &path) const;
    // Sets the three values to 1, 120 and false, then applies the file.
    void readRunModeConfig(int &autoPrint, int &timeUpdateTheoryResult, bool &checkPassingTheory) const;
    // Sets the value to 0, then applies the file.
    void readAvatarConfig(int &importAvatarFolderOn) const;
    // True when the run-mode file was written whole.
    bool writeRunModeConfig(int autoPrint, int timeUpdateTheoryResult, bool checkPassingTheory) const;
};

#endif // RECORDS_FILEUTILITY_H
