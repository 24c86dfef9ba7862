#ifndef CONNECTION_SQLFAILUREWATCH_H
#define CONNECTION_SQLFAILUREWATCH_H

// Tells a group of reads that failed from one that found no rows: the reads
// return empty lists either way, so a caller that must not show or write an
// empty answer for a failure watches the statements its thread runs while it
// reads. Watches may nest.
class SqlFailureWatch
{
public:
    SqlFailureWatch();

    // A statement of this thread failed since the watch began.
    bool failed() const;
    // One of them failed because the database server could not be reached.
    bool unreachable() const;

    // Called by the query helper for each statement that failed.
    static void countFailure(bool unreachable);

private:
    unsigned long m_start;
    unsigned long m_unreachableStart;
};

#endif // CONNECTION_SQLFAILUREWATCH_H
