#include "server/protocol/consoleoutput.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex &outputMutex()
{
    static std::mutex mutex;
    return mutex;
}
} // namespace

void ConsoleOutput::writeLine(const std::string &text)
{
    std::string line = text;
    line += '\n';
    std::lock_guard<std::mutex> guard(outputMutex());
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}
