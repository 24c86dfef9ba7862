#ifndef SERVER_BUSINESS_TERMINALSETTINGS_H
#define SERVER_BUSINESS_TERMINALSETTINGS_H

#include <QString>

// The run-mode values the terminal business logic reads at each use, on the
// handler-queue thread: the operator may change them while the server runs.
class TerminalSettings
{
public:
    // Not 0: a stored result is announced for automatic printing.
    virtual int getAutoPrint() const = 0;
    // Admission asks for a passed theory test.
    virtual bool getCheckPassingTheoryExam() const = 0;
    // The portrait is taken from the course's photo folder at admission.
    virtual bool getImportAvatarFolderOn() const = 0;
    // The candidate's content code sits the simulation without the theory
    // test's result.
    virtual bool isNotTestTheoryResult(const QString &contentNumber) const = 0;

protected:
    ~TerminalSettings() = default;
};

#endif // SERVER_BUSINESS_TERMINALSETTINGS_H
