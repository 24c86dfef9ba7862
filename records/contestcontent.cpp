#include "records/contestcontent.h"

#include <QVariant>

namespace {

QList<int> toIntList(const QVariantList &values)
{
    QList<int> numbers;
    numbers.reserve(values.size());
    for (const QVariant &value : values)
        numbers.append(value.toInt());
    return numbers;
}

} // namespace

void ContestContent::setNotTestSimulation(const QVariantList &values)
{
    NOT_TEST_SIMULATION = toIntList(values);
}

void ContestContent::setNotTestTheoryResult(const QVariantList &values)
{
    NOT_TEST_THEORY_RESULT = toIntList(values);
}

void ContestContent::setContestContentList(const QVariantList &values)
{
    CONTEST_CONTENT_LIST = toIntList(values);
}

void ContestContent::setContestContentDetail(const QMap<int, QString> &detail)
{
    CONTEST_CONTENT_DETAIL = detail;
    descriptions = detail.values(); // ascending by key
}

QString ContestContent::getContestContentAt(int index) const
{
    // Indexed like the descriptions (the map's keys, ascending), not like the
    // file's list: the dialog stores what this returns for the item picked.
    if (index < 0 || index >= CONTEST_CONTENT_DETAIL.size())
        return QString();
    return QString::number((CONTEST_CONTENT_DETAIL.cbegin() + index).key());
}

QStringList ContestContent::getContestContentDetails() const
{
    return descriptions;
}

QList<int> ContestContent::getNotTestTheoryResult() const
{
    return NOT_TEST_THEORY_RESULT;
}

QList<int> ContestContent::getNotTestSimulation() const
{
    return NOT_TEST_SIMULATION;
}

QList<int> ContestContent::getContestContentList() const
{
    return CONTEST_CONTENT_LIST;
}

QString ContestContent::getContestContentDetail(const QString &content) const
{
    return CONTEST_CONTENT_DETAIL.value(content.toInt());
}
