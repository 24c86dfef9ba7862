#include "records/jsonhandler.h"

#include "common/constants.h"
#include "records/contestcontent.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QVariant>

JsonHandler::JsonHandler(QObject *parent) : QObject(parent) {}

std::shared_ptr<ContestContent> JsonHandler::readContestContent() const
{
    auto content = std::make_shared<ContestContent>();

    QByteArray bytes;
    QFile file(NDSH_CONFIG_PATH);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        bytes = file.readAll();
        file.close();
    }
    if (bytes.isEmpty())
        return content;

    // Text that is not a JSON object leaves every list empty.
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    const QJsonArray contentList = root.value(QStringLiteral("CONTEST_CONTENT_LIST")).toArray();
    const QJsonObject detail = root.value(QStringLiteral("CONTEST_CONTENT_DETAIL")).toObject();

    content->setNotTestSimulation(root.value(QStringLiteral("NOT_TEST_SIMULATION")).toArray().toVariantList());
    content->setNotTestTheoryResult(
        root.value(QStringLiteral("NOT_TEST_THEORY_RESULT")).toArray().toVariantList());
    const QVariantList numbers = contentList.toVariantList();
    content->setContestContentList(numbers);

    // Only the listed numbers get a description; a listed number without one
    // still gets an (empty) item.
    QMap<int, QString> descriptions;
    for (const QVariant &number : numbers) {
        const int key = number.toInt();
        descriptions.insert(key, detail.value(QString::number(key)).toString());
    }
    content->setContestContentDetail(descriptions);
    return content;
}
