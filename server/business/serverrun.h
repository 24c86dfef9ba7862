#ifndef SERVER_BUSINESS_SERVERRUN_H
#define SERVER_BUSINESS_SERVERRUN_H

// The exam server's start and stop, in the one order the desktop program and
// the headless server share: the working folder's lock before anything in
// the folder is opened, the journal before the listener, the listener and
// the main database checked before the replay starts; at the end the
// listener and every terminal first, then the replay, then the terminals'
// database sessions.

class ServerRun
{
public:
    enum class Outcome {
        Running,
        // Another program serves from the working folder: nothing of the
        // folder was opened (no journal, no terminals' port, no database).
        FolderTaken,
        // The terminals' port could not be opened: IOController's status
        // and error say which step failed.
        ListenerFailed,
        DatabaseFailed
    };

    // Raises the soft limit of open descriptors to the hard one: each
    // terminal holds a socket and, once it asks for something, a database
    // session, and a desktop session's soft limit (often 1024) would stop
    // the accepts of a big room. False when the system refused.
    static bool raiseDescriptorLimit();

    // Builds the business controllers (the first one takes the folder's
    // lock unless this process holds it already), waits for the listener to
    // settle, checks the main database and, when all of it runs, starts
    // storing what the journal holds. Holds the calling thread meanwhile.
    static Outcome start();
    // Ends the listener and every terminal connection (joining their
    // threads), then the replay (what is not stored stays in the
    // journal), then the terminals' database sessions. Safe to call more
    // than once.
    static void stop();
};

#endif // SERVER_BUSINESS_SERVERRUN_H
