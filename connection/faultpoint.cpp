#include "connection/faultpoint.h"

#include <QByteArray>

#include <atomic>
#include <csignal>

namespace {

struct Setting
{
    FaultPoint::Fault fault = FaultPoint::None;
    QByteArray statement;
};

Setting readSetting()
{
    Setting setting;
    const QByteArray text = qgetenv("ORV_FAULT_POINT");
    const int at = text.indexOf('@');
    if (at < 0)
        return setting;
    const QByteArray fault = text.left(at);
    if (fault == "kill-before")
        setting.fault = FaultPoint::KillBefore;
    else if (fault == "kill-after")
        setting.fault = FaultPoint::KillAfter;
    else if (fault == "lose-reply")
        setting.fault = FaultPoint::LoseReply;
    else if (fault == "fail")
        setting.fault = FaultPoint::Fail;
    setting.statement = text.mid(at + 1);
    return setting;
}

const Setting &setting()
{
    static const Setting read = readSetting();
    return read;
}

std::atomic<bool> s_fired{false};

} // namespace

FaultPoint::Fault FaultPoint::take(const char *name)
{
    const Setting &set = setting();
    if (set.fault == None || set.statement != name || s_fired.exchange(true))
        return None;
    return set.fault;
}

void FaultPoint::killIf(Fault fault, Fault kill)
{
    if (fault == kill)
        std::raise(SIGKILL);
}
