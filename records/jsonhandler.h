#ifndef RECORDS_JSONHANDLER_H
#define RECORDS_JSONHANDLER_H

#include <QObject>

#include <memory>

class ContestContent;

// Reads the examination contents file ./config/NDSH.json.
class JsonHandler : public QObject
{
    Q_OBJECT

public:
    explicit JsonHandler(QObject *parent = nullptr);

    // Never null: a missing, empty or malformed file gives empty content.
    std::shared_ptr<ContestContent> readContestContent() const;
};

#endif // RECORDS_JSONHANDLER_H
