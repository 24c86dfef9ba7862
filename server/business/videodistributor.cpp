#include "server/business/videodistributor.h"

#include "platform/steadyclock.h"
#include "server/network/clientsocket.h"
#include "server/network/iocontroller.h"
#include "server/protocol/basemessage.h"
#include "server/protocol/consoleoutput.h"
#include "server/protocol/endsyncvideomessage.h"
#include "server/protocol/startsyncvideomessage.h"
#include "server/protocol/syncvideomessage.h"

#include <QByteArray>
#include <QDebug>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

const int DRAIN_POLL_MS = 1;
const std::int64_t NS_PER_MS = 1000000;

std::atomic_bool s_stopRequested{false};
static_assert(std::atomic_bool::is_always_lock_free, "set from a signal handler");

struct Terminal
{
    quint64 id = 0;
    std::shared_ptr<ClientSocket> socket;
    bool leftOut = false;
};

// How a terminal is named in the log: its address and connection number.
QString logName(const Terminal &terminal)
{
    const QString address = terminal.socket ? terminal.socket->peerAddress() : QString();
    return QString("%1 (connection %2)")
        .arg(address.isEmpty() ? QStringLiteral("unknown address") : address)
        .arg(terminal.id);
}

void leaveOut(Terminal *terminal, const char *why, VideoDistributor::Outcome *outcome)
{
    terminal->leftOut = true;
    qWarning().noquote() << QString("Video send: terminal %1 %2; left out of the rest of this send")
                                .arg(logName(*terminal), QLatin1String(why));
    const QString address = terminal->socket ? terminal->socket->peerAddress() : QString();
    outcome->terminalsLeftOut << (address.isEmpty() ? "#" + QString::number(terminal->id) : address);
}

enum class Room { Free, Gone, Stalled, Stopped };

// Waits until the frame fits under the connection's cap with room to spare
// for replies, so that queueing it never ends the connection of a terminal
// that reads more slowly than the pacing. Gone once the connection is
// ending (nothing sent to it would go out); Stalled when the terminal took
// none of the waiting bytes for STALL_TIMEOUT_MS.
Room waitForRoom(const ClientSocket &socket, quint64 frameBytes)
{
    quint64 previous = socket.pendingSendBytes();
    std::int64_t lastProgressNs = SteadyClock::nowNs();
    for (;;) {
        if (VideoDistributor::stopRequested())
            return Room::Stopped;
        if (socket.isEnding())
            return Room::Gone;
        const quint64 pending = socket.pendingSendBytes();
        if (pending + frameBytes + VideoDistributor::REPLY_RESERVE_BYTES
            <= ClientSocket::MAX_PENDING_SEND_BYTES)
            return Room::Free;
        const std::int64_t nowNs = SteadyClock::nowNs();
        if (pending < previous)
            lastProgressNs = nowNs;
        else if (nowNs - lastProgressNs >= std::int64_t(VideoDistributor::STALL_TIMEOUT_MS) * NS_PER_MS)
            return Room::Stalled;
        previous = pending;
        SteadyClock::sleepMs(DRAIN_POLL_MS);
    }
}

} // namespace

VideoDistributor::VideoDistributor(IOController *controller)
    : m_controller(controller)
{
}

void VideoDistributor::requestStop()
{
    s_stopRequested.store(true);
}

bool VideoDistributor::stopRequested()
{
    return s_stopRequested.load();
}

VideoDistributor::Outcome VideoDistributor::distribute(const QStringList &videos)
{
    const std::int64_t startNs = SteadyClock::nowNs();
    Outcome outcome;

    std::vector<Terminal> terminals;
    if (m_controller) {
        const IOController::ClientMap clients = m_controller->getClients();
        for (const auto &client : clients)
            terminals.push_back(Terminal{client.first, client.second, false});
        // In the order the terminals connected.
        std::sort(terminals.begin(), terminals.end(),
                  [](const Terminal &a, const Terminal &b) { return a.id < b.id; });
    }

    // False when the message did not go: the terminal is then left out, or
    // the run is stopping.
    auto send = [&](Terminal &terminal, const BaseMessage &message) {
        if (terminal.leftOut || outcome.stopped)
            return false;
        const Room room = terminal.socket ? waitForRoom(*terminal.socket, message.getLength())
                                          : Room::Gone;
        if (room == Room::Stopped) {
            outcome.stopped = true;
            return false;
        }
        if (room == Room::Stalled) {
            leaveOut(&terminal, "took none of its data for 10 s", &outcome);
            return false;
        }
        if (room == Room::Gone || !m_controller->sendToClient(terminal.id, &message)) {
            leaveOut(&terminal, "is gone", &outcome);
            return false;
        }
        return true;
    };
    auto anyLeft = [&terminals] {
        return std::any_of(terminals.begin(), terminals.end(),
                           [](const Terminal &t) { return !t.leftOut; });
    };

    // The start of the next 4 ms slot of the one stream being sent.
    const std::int64_t slotNs = std::int64_t(CHUNK_PAUSE_MS) * NS_PER_MS;
    std::int64_t nextSlotNs = SteadyClock::nowNs();

    for (const QString &video : videos) {
        if (stopRequested())
            outcome.stopped = true;
        // With nobody left to send to, no file is opened.
        if (outcome.stopped || !anyLeft())
            break;
        QFile file(video);
        if (!file.open(QIODevice::ReadOnly)) {
            // A start and an end with nothing between would leave the
            // terminal an empty file under the video's name.
            qInfo().noquote() << "Error open mp4 file" << video << "(" + file.errorString()
                                     + "); sent to no terminal";
            outcome.filesNotSent << video;
            continue;
        }

        bool whole = true;
        for (Terminal &terminal : terminals) {
            if (terminal.leftOut)
                continue;
            if (!file.seek(0)) {
                qInfo().noquote() << "Error read mp4 file" << video << file.errorString();
                whole = false;
                break;
            }
            StartSyncVideoMessage start;
            start.setPath(video.toUtf8());
            if (!send(terminal, start))
                continue;

            bool readFailed = false;
            bool sent = true;
            while (!file.atEnd()) {
                const QByteArray chunk = file.read(CHUNK_SIZE);
                // A read error gives nothing, and never will: the terminal
                // refuses an empty chunk, and looping on it never ends.
                if (chunk.isEmpty()) {
                    qInfo().noquote() << "Error read mp4 file" << video << file.errorString();
                    readFailed = true;
                    break;
                }
                if (chunk.size() < CHUNK_SIZE)
                    qInfo("size: %d", chunk.size());
                SyncVideoMessage message;
                message.setData(chunk);
                SteadyClock::sleepUntilNs(nextSlotNs);
                if (!send(terminal, message)) {
                    sent = false;
                    break;
                }
                // The next slot follows this one; when the send waited for a
                // slow terminal past it, the next slot starts now.
                nextSlotNs = std::max(nextSlotNs + slotNs, SteadyClock::nowNs());
            }
            if (!sent)
                continue;

            EndSyncVideoMessage end;
            send(terminal, end);
            // The file cannot be read whole: no other terminal gets it.
            if (readFailed) {
                whole = false;
                break;
            }
        }
        if (outcome.stopped)
            break;
        if (whole)
            ++outcome.filesSent;
        else
            outcome.filesNotSent << video;
    }

    if (outcome.stopped) {
        qInfo() << "Video send stopped: the program is ending";
    } else {
        for (const Terminal &terminal : terminals) {
            if (!terminal.leftOut)
                ++outcome.terminalsServed;
        }
        qInfo().noquote() << QString("Video send: %1 file(s) to %2 terminal(s); %3 file(s) not sent, "
                                     "%4 terminal(s) left out")
                                 .arg(outcome.filesSent)
                                 .arg(outcome.terminalsServed)
                                 .arg(outcome.filesNotSent.size())
                                 .arg(outcome.terminalsLeftOut.size());
    }

    ConsoleOutput::writeLine(
        "elapse: " + QString::number(SteadyClock::elapsedMs(startNs), 'f', 3).toStdString());
    return outcome;
}
