#include "iolog.h"

bool ShowIOFlag = false;

namespace {
IOLogSink* g_sink = nullptr;
}

IOLogSink* IOList() { return g_sink; }

void SetIOList(IOLogSink* sink) { g_sink = sink; }

void LogCommand(const std::string& text)
{
    if (ShowIOFlag && g_sink != nullptr) {
        g_sink->IO_Command(text);
    }
}

void LogReplyLine(const std::string& text)
{
    if (ShowIOFlag && g_sink != nullptr) {
        g_sink->IO_Reply(text);
    }
}
