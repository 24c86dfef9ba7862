#include "records/safetext.h"

#include <QTextBoundaryFinder>

namespace {

int utf8Size(const QString &text)
{
    return text.toUtf8().size();
}

bool isControl(QChar c)
{
    return c.unicode() < 0x20;
}

} // namespace

QString SafeText::cleaned(const QString &name)
{
    static const QString unsafe = QStringLiteral("/\\<>:\"|?*");
    QString result = name;
    for (QChar &c : result) {
        if (unsafe.contains(c) || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    return result;
}

QString SafeText::cut(const QString &text, int bytes)
{
    if (bytes <= 0)
        return QString();
    if (utf8Size(text) <= bytes)
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int end = 0;
    for (int next = finder.toNextBoundary(); next > 0; next = finder.toNextBoundary()) {
        if (utf8Size(text.left(next)) > bytes)
            break;
        end = next;
    }
    return text.left(end);
}

QString SafeText::fileName(const QString &name, const QString &code, const QString &tail)
{
    const QString safeTail = cleaned(tail);
    const QString whole = cleaned(name) + safeTail;
    if (utf8Size(whole) <= MAX_FILE_NAME_BYTES)
        return whole;
    QString kept = safeTail;
    if (!code.isEmpty())
        kept = QLatin1Char('_') + cut(cleaned(code), MAX_FILE_NAME_BYTES - utf8Size(safeTail) - 1) + safeTail;
    return cut(cleaned(name), MAX_FILE_NAME_BYTES - utf8Size(kept)) + kept;
}

QString SafeText::withoutControls(const QString &text)
{
    if (!hasControls(text))
        return text;
    QString result = text;
    for (QChar &c : result) {
        if (isControl(c))
            c = QLatin1Char(' ');
    }
    return result;
}

bool SafeText::hasControls(const QString &text)
{
    for (const QChar c : text) {
        if (isControl(c))
            return true;
    }
    return false;
}
