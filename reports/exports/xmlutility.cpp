#include "reports/exports/xmlutility.h"

XmlUtility *XmlUtility::s_instance = nullptr;
std::mutex XmlUtility::s_mutex;

XmlUtility *XmlUtility::getInstance()
{
    const std::lock_guard<std::mutex> locker(s_mutex);
    if (!s_instance)
        s_instance = new XmlUtility;
    return s_instance;
}

QPair<QString, QString> XmlUtility::getFirstRegistrationCodes(QDomDocument document) const
{
    QString registrationCode = QLatin1String("");
    QString examPeriodCode = QLatin1String("");
    const QDomElement candidate = document.documentElement()
                                      .firstChildElement(QStringLiteral("DATA"))
                                      .firstChildElement(QStringLiteral("NGUOI_LXS"))
                                      .firstChildElement(QStringLiteral("NGUOI_LX"));
    // A null element reads as a null text; append keeps the result non-null.
    registrationCode.append(candidate.firstChildElement(QStringLiteral("MA_DK")).text());
    examPeriodCode.append(candidate.firstChildElement(QStringLiteral("HO_SO"))
                              .firstChildElement(QStringLiteral("MA_KY_SH"))
                              .text());
    return qMakePair(registrationCode, examPeriodCode);
}
