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

QString Utility::logText(const QString &text) const
{
    const int shown = qMin(text.size(), LOG_TEXT_CHARS);
    QString line;
    line.reserve(shown + 16);
    line += QLatin1Char('"');
    for (int i = 0; i < shown; ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '"':
            line += QLatin1String("\\\"");
            continue;
        case '\\':
            line += QLatin1String("\\\\");
            continue;
        case '\n':
            line += QLatin1String("\\n");
            continue;
        case '\r':
            line += QLatin1String("\\r");
            continue;
        case '\t':
            line += QLatin1String("\\t");
            continue;
        default:
            break;
        }
        const QChar::Category category = c.category();
        // A lone surrogate half too: it would not survive the log's UTF-8.
        const bool paired = c.isHighSurrogate() ? i + 1 < shown && text.at(i + 1).isLowSurrogate()
                                                : c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate();
        if (category == QChar::Other_Control || category == QChar::Other_Format
            || category == QChar::Separator_Line || category == QChar::Separator_Paragraph
            || (c.isSurrogate() && !paired))
            line += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            line += c;
    }
    line += QLatin1Char('"');
    if (shown < text.size())
        line += QStringLiteral("... (%1 characters)").arg(text.size());
    return line;
}
