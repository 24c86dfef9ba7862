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
#include <cstdint>
#include <memory>
#include <vector>

namespace {

const int DRAIN_POLL_MS = 1;

struct Terminal
{
    quint64 id = 0;
    std::shared_ptr<ClientSocket> socket;
    bool givenUp = false;
};

// Waits until the frame fits under the connection's cap with room to spare
// for replies, so that queueing it never ends the connection of a terminal
// that reads more slowly than the pacing. False once the connection is
// ending: nothing sent to it would go out.
bool waitForRoom(const ClientSocket &socket, quint64 frameBytes)
{
    while (!socket.isEnding()) {
        if (socket.pendingSendBytes() + frameBytes + VideoDistributor::REPLY_RESERVE_BYTES
            <= ClientSocket::MAX_PENDING_SEND_BYTES)
            return true;
        SteadyClock::sleepMs(DRAIN_POLL_MS);
    }
    return false;
}

} // namespace

VideoDistributor::VideoDistributor(IOController *controller)
    : m_controller(controller)
{
}

void VideoDistributor::distribute(const QStringList &videos)
{
    const std::int64_t startNs = SteadyClock::nowNs();

    std::vector<Terminal> terminals;
    if (m_controller) {
        const IOController::ClientMap clients = m_controller->getClients();
        for (const auto &client : clients)
            terminals.push_back(Terminal{client.first, client.second, false});
        // In the order the terminals connected.
        std::sort(terminals.begin(), terminals.end(),
                  [](const Terminal &a, const Terminal &b) { return a.id < b.id; });
    }

    auto send = [this](Terminal &terminal, const BaseMessage &message) {
        if (terminal.givenUp)
            return false;
        if (!terminal.socket || !waitForRoom(*terminal.socket, message.getLength())
            || !m_controller->sendToClient(terminal.id, &message)) {
            terminal.givenUp = true;
            return false;
        }
        return true;
    };

    // The start of the next 4 ms slot of the one stream being sent.
    const std::int64_t slotNs = std::int64_t(CHUNK_PAUSE_MS) * 1000000;
    std::int64_t nextSlotNs = SteadyClock::nowNs();

    for (const QString &video : videos) {
        for (Terminal &terminal : terminals) {
            if (terminal.givenUp)
                continue;
            QFile file(video);
            const bool opened = file.open(QIODevice::ReadOnly);
            if (!opened)
                qInfo("Error open mp4 file");

            StartSyncVideoMessage start;
            start.setPath(video.toUtf8());
            if (!send(terminal, start))
                continue;

            while (opened && !file.atEnd()) {
                const QByteArray chunk = file.read(CHUNK_SIZE);
                // A read error gives nothing, and never will: the terminal
                // refuses an empty chunk, and looping on it never ends.
                if (chunk.isEmpty()) {
                    qInfo() << "Error read mp4 file" << video << file.errorString();
                    break;
                }
                if (chunk.size() < CHUNK_SIZE)
                    qInfo("size: %d", chunk.size());
                SyncVideoMessage message;
                message.setData(chunk);
                SteadyClock::sleepUntilNs(nextSlotNs);
                if (!send(terminal, message))
                    break;
                // The next slot follows this one; when the send waited for a
                // slow terminal past it, the next slot starts now.
                nextSlotNs = std::max(nextSlotNs + slotNs, SteadyClock::nowNs());
            }

            EndSyncVideoMessage end;
            send(terminal, end);
        }
    }

    ConsoleOutput::writeLine(
        "elapse: " + QString::number(SteadyClock::elapsedMs(startNs), 'f', 3).toStdString());
}
