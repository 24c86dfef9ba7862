// Arbitrary received bytes through the frame reader, whole and in small
// receives, with every queued handler run against a hub that records the
// events. Beyond what the sanitizer catches, a message the reader accepted
// must frame again, and its frame must read back to the same fields.

#include "server/protocol/aescipher.h"
#include "server/protocol/basehandler.h"
#include "server/protocol/basemessage.h"
#include "server/protocol/framecodec.h"
#include "server/protocol/inputdispatcher.h"
#include "server/protocol/serverinputinterface.h"

#include <QTextCodec>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {
// Touches every value it is given, so a dangling text shows up under the
// sanitizer.
class RecordingHub : public ServerInputInterface
{
public:
    void orderNumberUpdated(quint64, const QString &courseCode, const QString &orderNumber) override
    {
        m_total += quint64(courseCode.size() + orderNumber.size());
    }
    void contestResultUpdated(quint64, int score, int passMark, bool passed, int entryId,
                              const QString &courseCode, const QString &answers) override
    {
        m_total += quint64(score) + quint64(passMark) + quint64(passed) + quint64(entryId)
                   + quint64(courseCode.size() + answers.size());
    }
    void infoConfirmUpdated(quint64, int entryId, bool flag, bool review) override
    {
        m_total += quint64(entryId) + quint64(flag) + quint64(review);
    }
    void handleAuthenStateTwo(quint64, const char *response16) override
    {
        for (int i = 0; i < 16; ++i)
            m_total += quint64(uchar(response16[i]));
    }
    void handleContestNameRequest(quint64 clientId) override { m_total += clientId; }

private:
    quint64 m_total = 0;
};

RecordingHub businessController;
RecordingHub terminalController;

void quietMessages(QtMsgType, const QMessageLogContext &, const QString &)
{
}

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

std::vector<std::unique_ptr<BaseHandler>> readAll(const FrameCodec &codec, std::string &accumulated)
{
    std::vector<std::unique_ptr<BaseHandler>> handlers;
    codec.parseMessages(accumulated, 3, [&handlers](BaseHandler *handler) {
        handlers.emplace_back(handler);
        return true;
    });
    return handlers;
}

// Frames a message and reads the frame back: one handler, nothing left over.
std::string reframe(const FrameCodec &codec, const BaseMessage &message,
                    std::vector<std::unique_ptr<BaseHandler>> *reread)
{
    std::string frame;
    const int length = codec.buildFrame(message, &frame);
    check(length == int(message.getLength()) && frame.size() == size_t(length));
    std::string accumulated = frame;
    *reread = readAll(codec, accumulated);
    check(reread->size() == 1 && accumulated.empty());
    return frame;
}

void runAndReframe(const FrameCodec &codec, std::vector<std::unique_ptr<BaseHandler>> &handlers)
{
    for (auto &handler : handlers) {
        BaseMessage *message = handler->getMessage();
        check(message != nullptr);

        // A decrypted message keeps the length of its padded payload, so
        // its second frame may be shorter, but it carries the same fields;
        // from there on framing is stable.
        std::vector<std::unique_ptr<BaseHandler>> second;
        const std::string first = reframe(codec, *message, &second);
        std::vector<std::unique_ptr<BaseHandler>> third;
        const std::string again = reframe(codec, *second.front()->getMessage(), &third);
        check(again.size() <= first.size() && again[2] == first[2]
              && first.compare(3, again.size() - 3, again, 3, std::string::npos) == 0);
        std::vector<std::unique_ptr<BaseHandler>> fourth;
        check(reframe(codec, *third.front()->getMessage(), &fourth) == again);

        handler->handle(quint64(handler->getClientId()), message);
        handler->handle(message);
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    qInstallMessageHandler(quietMessages);
    InputDispatcher::getInstance()->registerInput(&terminalController);
    InputDispatcher::getInstance()->registerBusinessController(&businessController);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The default key: an encrypted frame may arrive before the handshake.
    static AesCipher cipher;
    const FrameCodec codec(&cipher);
    const std::string input(reinterpret_cast<const char *>(data), size);

    std::string accumulated = input;
    auto handlers = readAll(codec, accumulated);
    // What stays is an unread tail of the input, or nothing after an error.
    check(accumulated.size() <= input.size()
          && input.compare(input.size() - accumulated.size(), accumulated.size(), accumulated) == 0);
    runAndReframe(codec, handlers);

    // The same bytes as a terminal's small receives.
    static const size_t pieces[] = {1, 2, 3, 5, 8, 13, 21};
    accumulated.clear();
    size_t offset = 0;
    for (size_t i = 0; offset < input.size(); ++i) {
        const size_t n = std::min(pieces[i % 7], input.size() - offset);
        accumulated.append(input, offset, n);
        offset += n;
        auto some = readAll(codec, accumulated);
        runAndReframe(codec, some);
    }
    return 0;
}
