#ifndef COMMON_INTLISTS_H
#define COMMON_INTLISTS_H

#include <QList>

// One simulation pass mark per licence class, in the order of RANK_LIST.
const QList<int> RANK_PASS_MARK_LIST = {35, 35, 35, 35, 35, 35, 35, 35, 35, 35};
const QList<int> INT_LIST_A = {2, 1, 2, 1, 2, 2};

#endif // COMMON_INTLISTS_H
