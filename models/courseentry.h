#ifndef MODELS_COURSEENTRY_H
#define MODELS_COURSEENTRY_H

#include <QString>
#include <Qt>

class QFontMetrics;

// A course as the operator tells it from the others wherever one is chosen:
// "<code> – <name>". Names of a centre often differ only in their last
// words, so a name too long for its place is cut in the middle, not at the
// end; the code and what follows the name stay whole.
class CourseEntry
{
public:
    // An entry's item holds the name its text shows in this role, the whole
    // text as its tooltip.
    enum Role { NameRole = Qt::UserRole + 64 };

    static QString text(const QString &code, const QString &name);

    // `text` as painted within `width` pixels: whole when it fits, otherwise
    // with `name` (the part after the code) cut in the middle with "…", down
    // to "…" alone. When even the rest does not fit, or the name is not in
    // the text, the text is cut at the end.
    static QString elided(const QString &text, const QString &name, const QFontMetrics &metrics, int width);
};

#endif // MODELS_COURSEENTRY_H
