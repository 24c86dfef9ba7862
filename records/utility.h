#ifndef RECORDS_UTILITY_H
#define RECORDS_UTILITY_H

#include <QString>

// Stateless helpers shared by the user interface and the terminal-message
// thread. One instance, created on first use and never destroyed.
class Utility
{
public:
    // Safe when the first two calls come from different threads.
    static Utility *getInstance();

    // The current local date and time, "yyyy-MM-dd hh:mm:ss".
    QString currentDateTimeText() const;
    // "Không đạt" for RESULT_FAIL, "Đạt" for RESULT_PASS, else empty; the
    // comparison is exact and case-sensitive.
    QString resultLabel(const QString &code) const;
    // Index in RANK_LIST of the first class the text matches whole, used as a
    // case-insensitive wildcard pattern; -1 when none.
    int indexOfLicenceClass(const QString &text) const;

    // A text a terminal sent, as a log line may hold it: in double quotes,
    // a quote and a backslash escaped with a backslash, a control, format or
    // line-separating character as \n, \r, \t or \uXXXX, and cut after
    // LOG_TEXT_CHARS characters (then followed by "... (N characters)"), so
    // that what a peer sends never starts a line of its own nor floods the
    // log.
    static constexpr int LOG_TEXT_CHARS = 200;
    QString logText(const QString &text) const;

    Utility(const Utility &) = delete;
    Utility &operator=(const Utility &) = delete;

private:
    Utility() = default;
    ~Utility() = default;
};

#endif // RECORDS_UTILITY_H
