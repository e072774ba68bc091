// The serial IO log as the senders see it: a flag and two line writers.
#pragma once

#include <string>

// True while the IO log window is loaded; senders log only then.
extern bool ShowIOFlag;

class IOLogSink {
public:
    virtual ~IOLogSink() = default;
    virtual void IO_Command(const std::string& stgCommand) = 0;
    virtual void IO_Reply(const std::string& stgReply) = 0;
};

// The loaded IO log window, or nullptr.
IOLogSink* IOList();
void SetIOList(IOLogSink* sink);

// Log through the window when ShowIOFlag is set and a window is loaded.
void LogCommand(const std::string& text);
void LogReplyLine(const std::string& text);
