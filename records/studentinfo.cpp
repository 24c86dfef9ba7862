#include "records/studentinfo.h"

void StudentInfo::setSoCMT(const QString &value)
{
    // Terminals expect the identity number in a 12-character field.
    m_SoCMT = value.leftJustified(12, QLatin1Char(' '), false);
}
