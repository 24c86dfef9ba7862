#ifndef RECORDS_CONTESTCONTENT_H
#define RECORDS_CONTESTCONTENT_H

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The examination contents of ./config/NDSH.json: which content numbers
// exist, what each is called, and which need no passed theory result.
//
// The descriptions list (the candidate dialog's combo-box items) and
// getContestContentAt share one order, ascending by content number, so the
// item the operator picks at index i is the number stored for it.
class ContestContent
{
public:
    ContestContent() = default;

    void setNotTestSimulation(const QVariantList &values);
    void setNotTestTheoryResult(const QVariantList &values);
    // The numbers as the file lists them.
    void setContestContentList(const QVariantList &values);
    // Replaces the map and rebuilds the descriptions from it.
    void setContestContentDetail(const QMap<int, QString> &detail);

    // Decimal text of the index-th content number, ascending; empty when the
    // index is out of range.
    QString getContestContentAt(int index) const;
    // The descriptions, ascending by content number.
    QStringList getContestContentDetails() const;
    QList<int> getNotTestTheoryResult() const;
    QList<int> getNotTestSimulation() const;
    QList<int> getContestContentList() const;
    // The description of the number in `content` (text that is not a number
    // looks up 0); empty when there is none.
    QString getContestContentDetail(const QString &content) const;

private:
    QList<int> NOT_TEST_SIMULATION;
    QList<int> NOT_TEST_THEORY_RESULT;
    QList<int> CONTEST_CONTENT_LIST;
    QMap<int, QString> CONTEST_CONTENT_DETAIL;
    QStringList descriptions;
};

#endif // RECORDS_CONTESTCONTENT_H
