#ifndef SERVER_PROTOCOL_CONSOLEOUTPUT_H
#define SERVER_PROTOCOL_CONSOLEOUTPUT_H

#include <string>

// Diagnostics of the terminal protocol go to standard output, one whole line
// at a time: receive threads, send threads and the handler queue write
// concurrently, and output piped to a file must not be lost in a buffer when
// the process stops.
class ConsoleOutput
{
public:
    // Writes text and a line end in one piece, then flushes.
    static void writeLine(const std::string &text);

    ConsoleOutput() = delete;
};

#endif // SERVER_PROTOCOL_CONSOLEOUTPUT_H
