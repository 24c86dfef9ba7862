#ifndef REPORTS_EXPORTS_XMLUTILITY_H
#define REPORTS_EXPORTS_XMLUTILITY_H

#include <QDomDocument>
#include <QPair>
#include <QString>

#include <mutex>

// Reads the codes of the first candidate of an authority candidate list, so
// that a list already imported into a course can be recognised.
class XmlUtility
{
public:
    static XmlUtility *getInstance();

    // (registration code "MA_DK", exam-period code "HO_SO/MA_KY_SH") of the
    // first "DATA/NGUOI_LXS/NGUOI_LX"; a missing element gives an empty text.
    QPair<QString, QString> getFirstRegistrationCodes(QDomDocument document) const;

    XmlUtility(const XmlUtility &) = delete;
    XmlUtility &operator=(const XmlUtility &) = delete;

private:
    XmlUtility() = default;

    static XmlUtility *s_instance;
    static std::mutex s_mutex;
};

#endif // REPORTS_EXPORTS_XMLUTILITY_H
