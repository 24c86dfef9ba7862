#include "records/fileutility.h"

#include "common/constants.h"

#include <QFile>
#include <QStringList>
#include <QtDebug>

#include <functional>

namespace {

// The connection defaults belong to this reader: the shared DEFAULT_*
// constants of the same values are no part of the files' format, and editing
// them must not change what a new installation gets.
const QString DEFAULT_TCP_PORT = QStringLiteral("6886");
const QString DEFAULT_MYSQL_HOST = QStringLiteral("127.0.0.1");
const int DEFAULT_MYSQL_PORT = 3306;
const QString DEFAULT_MAIN_DB_NAME = QStringLiteral("orv");
const QString DEFAULT_AUX_DB_NAME = QStringLiteral("quenlor");
const QString DEFAULT_MYSQL_USER = QStringLiteral("root");
const QString DEFAULT_MYSQL_PASSWORD = QStringLiteral("570913");
const int DEFAULT_AUTO_PRINT = 1;
const int DEFAULT_TIME_UPDATE_THEORY_RESULT = 120;

using LineHandler = std::function<void(const QString &key, const QString &value)>;

// Applies every "key:value" line of the file in order. The line is taken whole,
// line end included: readers that trim get the same result from CRLF and LF
// files, and the numeric conversions ignore the line end. A line without a
// colon is skipped; a value ends at a second colon. False with the file's
// error text when it does not open.
bool applyLines(const QString &path, const LineHandler &handler, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    bool first = true;
    while (!file.atEnd()) {
        QByteArray bytes = file.readLine();
        // Editors on Windows may start the file with a byte-order mark, which
        // would otherwise become part of the first key.
        if (first && bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        first = false;
        const QStringList fields = QString::fromUtf8(bytes).split(QLatin1Char(':'));
        if (fields.size() < 2)
            continue;
        handler(fields.at(0), fields.at(1));
    }
    return true;
}

// Writes the defaults for the operator to edit. Only a file that does not
// exist is created: one that exists but could not be read keeps the operator's
// settings. Without a config folder nothing is written.
void writeDefaultFile(const QString &path, const QByteArray &content)
{
    if (QFile::exists(path))
        return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(content);
    file.close();
}

// A base-10 number; white space around the digits, line end included, is
// ignored.
bool toNumber(const QString &value, int *number)
{
    bool ok = false;
    const int converted = value.trimmed().toInt(&ok, 10);
    if (ok)
        *number = converted;
    return ok;
}

bool isAuxiliaryPath(const QString &path)
{
    return path.contains(QLatin1String("aux"), Qt::CaseSensitive);
}

QString defaultDbName(const QString &path)
{
    return isAuxiliaryPath(path) ? DEFAULT_AUX_DB_NAME : DEFAULT_MAIN_DB_NAME;
}

QByteArray runModeText(int autoPrint, int timeUpdateTheoryResult, bool checkPassingTheory)
{
    return (AUTO_PRINT + ':' + QString::number(autoPrint) + '\n').toLocal8Bit()
        + (AUTO_UPDATE_RESULT_OF_FRIEND_DB + ':' + QString::number(timeUpdateTheoryResult) + '\n')
              .toLocal8Bit()
        + (CHECK_PASSING_THEORY + ':' + QString::number(checkPassingTheory ? 1 : 0) + '\n')
              .toLocal8Bit();
}

} // namespace

FileUtility::FileUtility(QObject *parent) : QObject(parent) {}

QString FileUtility::readTcpConnectionConfig() const
{
    QString port = DEFAULT_TCP_PORT;
    QString error;
    // The key is not compared: the last line with a colon gives the port.
    const bool opened = applyLines(
        TCP_CONFIG_PATH, [&port](const QString &, const QString &value) { port = value.trimmed(); },
        &error);
    if (!opened) {
        qInfo().noquote() << QStringLiteral("Open file is error: ") + error;
        writeDefaultFile(TCP_CONFIG_PATH, (QStringLiteral("SERVER:") + DEFAULT_TCP_PORT).toLocal8Bit());
    }
    return port;
}

MySqlConnectionInfo FileUtility::readMysqlConnectionConfig(const QString &path) const
{
    MySqlConnectionInfo info;
    info.setHost(DEFAULT_MYSQL_HOST);
    info.setPort(DEFAULT_MYSQL_PORT);
    info.setDbName(defaultDbName(path));
    info.setUserName(DEFAULT_MYSQL_USER);
    info.setPassword(DEFAULT_MYSQL_PASSWORD);

    QString error;
    const bool opened = applyLines(
        path,
        [&info](const QString &rawKey, const QString &rawValue) {
            const QString key = rawKey.trimmed();
            const QString value = rawValue.trimmed();
            if (key == HOST_NAME) {
                info.setHost(value);
            } else if (key == PORT_NUMBER) {
                // Not a number: port 0, so the open fails and is reported.
                bool ok = false;
                const int port = value.toInt(&ok, 10);
                info.setPort(ok ? port : 0);
            } else if (key == MYSQL_DB_NAME) {
                info.setDbName(value);
            } else if (key == MYSQL_USERNAME) {
                info.setUserName(value);
            } else if (key == MYSQL_PASS) {
                info.setPassword(value);
            }
        },
        &error);
    if (!opened) {
        qInfo().noquote() << QStringLiteral("Open file is error: ") + error;
        const QString text = HOST_NAME + ':' + DEFAULT_MYSQL_HOST + '\n' + PORT_NUMBER + ':'
            + QString::number(DEFAULT_MYSQL_PORT) + '\n' + MYSQL_DB_NAME + ':' + defaultDbName(path) + '\n'
            + MYSQL_USERNAME + ':' + DEFAULT_MYSQL_USER + '\n' + MYSQL_PASS + ':' + DEFAULT_MYSQL_PASSWORD
            + '\n';
        writeDefaultFile(path, text.toLocal8Bit());
    }
    return info;
}

void FileUtility::readRunModeConfig(int &autoPrint, int &timeUpdateTheoryResult,
                                    bool &checkPassingTheory) const
{
    autoPrint = DEFAULT_AUTO_PRINT;
    timeUpdateTheoryResult = DEFAULT_TIME_UPDATE_THEORY_RESULT;
    checkPassingTheory = false;

    QString error;
    // Keys are compared as they stand; a value that is not a number leaves
    // the setting as it was.
    const bool opened = applyLines(
        RUN_MODE_CONFIG_PATH,
        [&](const QString &key, const QString &value) {
            int number = 0;
            if (!toNumber(value, &number))
                return;
            if (key == AUTO_PRINT) {
                autoPrint = number;
            } else if (key == AUTO_UPDATE_RESULT_OF_FRIEND_DB) {
                timeUpdateTheoryResult = number;
            } else if (key == CHECK_PASSING_THEORY) {
                if (number == 1)
                    checkPassingTheory = true;
            }
        },
        &error);
    if (!opened) {
        qInfo().noquote() << QStringLiteral("FileUtility::readAutoPrintConfig: Open file is error: ") + error;
        writeDefaultFile(RUN_MODE_CONFIG_PATH,
                         runModeText(DEFAULT_AUTO_PRINT, DEFAULT_TIME_UPDATE_THEORY_RESULT, false));
    }
}

void FileUtility::readAvatarConfig(int &importAvatarFolderOn) const
{
    importAvatarFolderOn = 0;

    QString error;
    const bool opened = applyLines(
        AVATAR_CONFIG_PATH,
        [&importAvatarFolderOn](const QString &key, const QString &value) {
            int number = 0;
            if (key == IMPORT_AVATAR_FOLDER_ON && toNumber(value, &number))
                importAvatarFolderOn = number;
        },
        &error);
    if (!opened) {
        qInfo().noquote() << QStringLiteral("FileUtility::readAvatarConfig: Open file is error: ") + error;
        writeDefaultFile(AVATAR_CONFIG_PATH, (IMPORT_AVATAR_FOLDER_ON + QStringLiteral(":0")).toLocal8Bit());
    }
}

bool FileUtility::writeRunModeConfig(int autoPrint, int timeUpdateTheoryResult,
                                     bool checkPassingTheory) const
{
    QFile file(RUN_MODE_CONFIG_PATH);
    if (!file.open(QIODevice::WriteOnly)) {
        qInfo().noquote() << QStringLiteral("FileUtility::writeRunModeConfig: Open file is error: ")
                + file.errorString();
        return false;
    }
    const QByteArray text = runModeText(autoPrint, timeUpdateTheoryResult, checkPassingTheory);
    // A short write (a full disk) is a failure, not a saved setting.
    const bool written = file.write(text) == text.size();
    file.close();
    return written && file.error() == QFileDevice::NoError;
}
