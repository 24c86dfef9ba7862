#ifndef CONNECTION_FAULTPOINT_H
#define CONNECTION_FAULTPOINT_H

#include <QString>

// A fault the process suites inject into the real server at one named
// statement, to show what a loss at that very point leaves behind. Set by
// the environment variable ORV_FAULT_POINT as "<fault>@<statement name>",
// read once, fired at the first statement of that name only:
//
//   kill-before  the process raises SIGKILL just before the statement runs
//   kill-after   ... just after it ran (an autocommitted write is stored)
//   lose-reply   the statement runs, then its reply counts as lost with the
//                connection: the query helper reopens and runs it again
//   fail         the statement does not run and fails as a database that
//                cannot be reached would
//
// Unset (as in production) it costs one comparison per statement.
class FaultPoint
{
public:
    enum Fault { None, KillBefore, KillAfter, LoseReply, Fail };

    // The fault set for statement `name`, once: None afterwards.
    static Fault take(const char *name);
    // Raises SIGKILL when `fault` is `kill`.
    static void killIf(Fault fault, Fault kill);
};

#endif // CONNECTION_FAULTPOINT_H
