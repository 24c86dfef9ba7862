#ifndef ORV_APP_PROGRAMSTART_H
#define ORV_APP_PROGRAMSTART_H

#include <QString>

class QWidget;

// What the program does before its application object, in the one order
// that lets a second start in a working folder another program serves from
// leave no trace there: the folder's lock first, and only once it is this
// process's the log handler (log.txt) and the rest. main() calls begin()
// first thing and, when it says no, shows refuse() and ends.
class ProgramStart
{
public:
    // Takes the working folder's lock (WorkFolderLock::process()). True when
    // this process may run: the log handler is installed. False when another
    // program holds the folder: the reason went to standard error and
    // nothing was installed or opened in the folder. Either way the settings
    // every start needs (the locale's codec, SIGPIPE ignored, no GL driver,
    // the descriptor limit) are made.
    static bool begin();

    // The operator's box for a folder another program serves from; returns
    // the program's status (1) once it is answered. Needs the application
    // object, and writes nothing.
    static int refuse(QWidget *parent = nullptr);

    // The text of that box.
    static QString folderTakenText();
};

#endif // ORV_APP_PROGRAMSTART_H
