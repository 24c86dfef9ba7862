// Tries a server by hand as one exam terminal would: connects, answers the
// challenge, asks to enter a course with an order number and prints every
// frame that comes back until the server has been quiet for a while. With
// --sit, a candidate who is let in also starts and hands in a result with
// that score (the usual pass mark of 35), as scripts and smoke runs need.
// With --again, it then asks to enter once more on the same connection for
// each line read from its standard input, until that closes: a terminal
// that stays connected through what a script does meanwhile (a database
// stopped, say).
//
//   orv-terminal HOST:PORT COURSE ORDER [--plain] [--wait SECONDS] [--sit SCORE] [--again]

#include "tests/support/testterminal.h"
#include "tests/support/testterminalmessages.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextCodec>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

void print(const QString &line)
{
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

QString bytesText(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes);
}

// The pass mark a sitting sends with its score, and its answers.
const qint32 PASS_MARK = 35;
const QByteArray ANSWERS = "1A;2B;3C;4D;5A;6B;7C;8D;9A;10B";

// Prints the frame; an enter response also lands in `enter` (when given).
void describe(const TestTerminal &terminal, const TestTerminalFrame &frame,
              TestTerminalMessages::EnterResponseFields *enter)
{
    QString line = QStringLiteral("type %1, length %2").arg(frame.type).arg(frame.length());
    QByteArray payload = frame.payload;
    int type = frame.type;
    if (type >= TestTerminalMessages::EncryptedContestEnter) {
        if (!terminal.decrypt(frame, &payload)) {
            print(line + QStringLiteral(": cannot be decrypted"));
            return;
        }
        type -= TestTerminalMessages::EncryptedContestEnter - TestTerminalMessages::ContestEnter;
        line += QStringLiteral(", decrypted");
    }
    switch (type) {
    case TestTerminalMessages::EnterResponse: {
        TestTerminalMessages::EnterResponseFields fields;
        if (!TestTerminalMessages::parseEnterResponse(payload, &fields))
            break;
        print(line + QStringLiteral(": enter response status %1, licence class %2, entry %3, "
                                    "identity \"%4\", name \"%5\", portrait %6 bytes")
                         .arg(fields.status)
                         .arg(fields.rankIndex)
                         .arg(fields.entryId)
                         .arg(QString::fromLocal8Bit(fields.soCmt), bytesText(fields.name))
                         .arg(fields.portrait.size()));
        if (enter)
            *enter = fields;
        return;
    }
    case TestTerminalMessages::ContestName: {
        TestTerminalMessages::ContestNameFields fields;
        if (!TestTerminalMessages::parseContestName(payload, &fields))
            break;
        print(line + QStringLiteral(": courses \"%1\", names \"%2\"")
                         .arg(bytesText(fields.codes), bytesText(fields.names)));
        return;
    }
    case TestTerminalMessages::Review: {
        QByteArray answers;
        if (!TestTerminalMessages::parseReview(payload, &answers))
            break;
        print(line + QStringLiteral(": review \"%1\"").arg(QString::fromLocal8Bit(answers)));
        return;
    }
    case TestTerminalMessages::StartSyncVideo:
        print(line + QStringLiteral(": video \"%1\" starts").arg(bytesText(payload)));
        return;
    case TestTerminalMessages::SyncVideo:
        print(line + QStringLiteral(": video chunk of %1 bytes").arg(payload.size()));
        return;
    case TestTerminalMessages::EndSyncVideo:
        print(line + QStringLiteral(": video ends"));
        return;
    default:
        break;
    }
    print(line + QStringLiteral(": %1").arg(QString::fromLatin1(payload.toHex(' '))));
}

int usage()
{
    print(QStringLiteral(
        "usage: orv-terminal HOST:PORT COURSE ORDER [--plain] [--wait SECONDS] [--sit SCORE] [--again]"));
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool plain = args.removeAll(QStringLiteral("--plain")) > 0;
    const bool again = args.removeAll(QStringLiteral("--again")) > 0;
    int waitSeconds = 5;
    const int waitAt = args.indexOf(QStringLiteral("--wait"));
    if (waitAt >= 0) {
        bool ok = false;
        waitSeconds = args.value(waitAt + 1).toInt(&ok);
        if (!ok || waitSeconds < 1)
            return usage();
        args.removeAt(waitAt + 1);
        args.removeAt(waitAt);
    }
    int sitScore = -1;
    const int sitAt = args.indexOf(QStringLiteral("--sit"));
    if (sitAt >= 0) {
        bool ok = false;
        sitScore = args.value(sitAt + 1).toInt(&ok);
        if (!ok || sitScore < 0)
            return usage();
        args.removeAt(sitAt + 1);
        args.removeAt(sitAt);
    }
    if (args.size() != 3)
        return usage();
    const int colon = args.at(0).lastIndexOf(QLatin1Char(':'));
    bool portOk = false;
    const uint port = colon > 0 ? args.at(0).mid(colon + 1).toUInt(&portOk) : 0;
    if (!portOk || port < 1 || port > 65535)
        return usage();
    const QString host = args.at(0).left(colon);

    TestTerminal terminal;
    if (!terminal.connectTo(host, static_cast<quint16>(port), 5000)) {
        print(terminal.errorString());
        return 1;
    }
    if (!terminal.handshake(5000)) {
        print(QStringLiteral("handshake failed: ") + terminal.errorString());
        return 1;
    }
    print(QStringLiteral("challenge %1, key %2")
              .arg(QString::fromLatin1(terminal.challenge().toHex()),
                   QString::fromLatin1(terminal.key().toHex())));

    const QByteArray enter =
        TestTerminalMessages::contestEnter(args.at(1).toUtf8(), args.at(2).toUtf8());
    const auto sendEnter = [&]() {
        const bool sent = plain ? terminal.sendFrame(TestTerminalMessages::ContestEnter, enter)
                                : terminal.sendEncrypted(TestTerminalMessages::EncryptedContestEnter, enter);
        if (!sent)
            print(terminal.errorString());
        return sent;
    };
    if (!sendEnter())
        return 1;
    TestTerminalFrame frame;
    bool sat = false;
    while (terminal.readFrame(&frame, waitSeconds * 1000)) {
        TestTerminalMessages::EnterResponseFields enterReply;
        enterReply.status = -1;
        describe(terminal, frame, &enterReply);
        if (sitScore < 0 || sat || enterReply.status != 0)
            continue;
        // Let in: the candidate confirms who they are, sits, and hands in.
        const QByteArray confirm = TestTerminalMessages::infoConfirm(true, enterReply.entryId, false);
        const QByteArray result = TestTerminalMessages::contestResult(
            sitScore, PASS_MARK, sitScore >= PASS_MARK, enterReply.entryId, args.at(1).toUtf8(), ANSWERS);
        const bool handedIn =
            plain ? terminal.sendFrame(TestTerminalMessages::InfoConfirm, confirm)
                        && terminal.sendFrame(TestTerminalMessages::ContestResult, result)
                  : terminal.sendEncrypted(TestTerminalMessages::EncryptedInfoConfirm, confirm)
                        && terminal.sendEncrypted(TestTerminalMessages::EncryptedContestResult, result);
        if (!handedIn) {
            print(terminal.errorString());
            return 1;
        }
        sat = true;
        print(QStringLiteral("sat entry %1: score %2, result sent").arg(enterReply.entryId).arg(sitScore));
    }
    print(terminal.errorString());
    std::string line;
    while (again && std::getline(std::cin, line)) {
        if (!sendEnter())
            return 1;
        while (terminal.readFrame(&frame, waitSeconds * 1000))
            describe(terminal, frame, nullptr);
        print(terminal.errorString());
    }
    // Asked to sit but never let in: the run did not do what it was for.
    return sitScore >= 0 && !sat ? 1 : 0;
}
