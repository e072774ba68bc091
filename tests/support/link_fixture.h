// A transponder link on the fake clock: the in-process simulated transponder
// behind the transponder port, scripted boxes and a recording IO log.
#pragma once

#include "clock.h"
#include "clsTpdrComms.h"
#include "iolog.h"
#include "scripted_dialogs.h"
#include "sim_serial_comm.h"
#include "tpdrport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

class RecordingIOLog : public IOLogSink {
public:
    struct Line {
        bool command;
        std::string text;
    };
    std::vector<Line> lines;
    void IO_Command(const std::string& s) override { lines.push_back({true, s}); }
    void IO_Reply(const std::string& s) override { lines.push_back({false, s}); }
};

class LinkFixture : public ::testing::Test {
protected:
    LinkFixture() : clock(36000.0), scoped(clock), port(model, clock)
    {
        port.Settings("19200,N,8,1");
        port.PortOpen(true);
        SetTpdrPort(&port);
        SetIOList(&iolog);
        ShowIOFlag = true;
    }
    ~LinkFixture() override
    {
        ShowIOFlag = false;
        SetIOList(nullptr);
        SetTpdrPort(nullptr);
    }

    // One exchange as the windows make it (1 s wait, progress every 0.1 s);
    // the reply is kept in `reply`.
    TpdrCommsResult Send(const TpdrCommand& frame, int16_t tx, int16_t rx)
    {
        clsTpdrComms link;
        const TpdrCommsResult result = link.SendAndReceive(frame, tx, rx, 1.0f, 0.1f, true, false, false);
        reply = link.TpdrReply();
        return result;
    }
    // An exchange that must be answered: its reply.
    std::string Exchange(const TpdrCommand& frame, int16_t tx, int16_t rx)
    {
        EXPECT_EQ(Send(frame, tx, rx), ReplyReceived);
        return reply;
    }

    Platform::FakeClock clock;
    Platform::ScopedClock scoped;
    Sim::TransponderModel model;
    Sim::SimSerialComm port;
    ScriptedDialogs boxes;
    RecordingIOLog iolog;
    std::string reply;
};
