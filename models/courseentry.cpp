#include "models/courseentry.h"

#include <QFontMetrics>

#include <algorithm>

namespace {
const QString SEPARATOR = QStringLiteral(" \u2013 ");
} // namespace

QString CourseEntry::text(const QString &code, const QString &name)
{
    return code + SEPARATOR + name;
}

QString CourseEntry::elided(const QString &text, const QString &name, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    // The name is sought after the separator: the code, or a mark after the
    // name, may hold the same letters.
    int at = name.isEmpty() ? -1 : text.indexOf(SEPARATOR + name);
    if (at >= 0) {
        at += SEPARATOR.size();
        const QString before = text.left(at);
        const QString after = text.mid(at + name.size());
        const int room = width - metrics.horizontalAdvance(before) - metrics.horizontalAdvance(after);
        // Where not even a letter of the name fits, the code and the mark
        // still tell the course: the name is then "…" alone.
        QString cut = metrics.elidedText(name, Qt::ElideMiddle, std::max(0, room));
        if (cut.isEmpty())
            cut = QStringLiteral("\u2026");
        const QString shown = before + cut + after;
        if (metrics.horizontalAdvance(shown) <= width)
            return shown;
    }
    return metrics.elidedText(text, Qt::ElideRight, width);
}
