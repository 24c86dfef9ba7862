#include "records/utility.h"

#include "common/constants.h"

#include <QDateTime>
#include <QRegExp>

Utility *Utility::getInstance()
{
    // A function-local static is initialised exactly once, even when two
    // threads arrive first together; the instance is never destroyed.
    static Utility *const instance = new Utility;
    return instance;
}

QString Utility::currentDateTimeText() const
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString Utility::resultLabel(const QString &code) const
{
    if (code == RESULT_FAIL)
        return RESULT_FAIL_LABEL;
    if (code == RESULT_PASS)
        return RESULT_PASS_LABEL;
    return QString();
}

int Utility::indexOfLicenceClass(const QString &text) const
{
    // The entry's stored class is taken as a pattern ("B*" picks the first B
    // class); the whole class must match, so "B1" finds "B1" and not "B11".
    const QRegExp pattern(text, Qt::CaseInsensitive, QRegExp::Wildcard);
    for (int i = 0; i < RANK_LIST.size(); ++i) {
        if (pattern.exactMatch(RANK_LIST.at(i)))
            return i;
    }
    return -1;
}
