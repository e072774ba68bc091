#include "clsTpdrComms.h"
#include "frames.h"
#include "link_fixture.h"
#include "tpdrexchange.h"

#include <cmath>

namespace {

std::vector<ShownBox> Boxes(const ShownBox& box) { return {box}; }

class TpdrCommsTest : public LinkFixture {
protected:
    TpdrCommsResult Send(clsTpdrComms& link, const TpdrCommand& frame, int rx, float wait = 1.0f,
                         bool showError = true, bool extraDelay = false, bool waitAfterFlush = false)
    {
        return link.SendAndReceive(frame, static_cast<int16_t>(frame.size() - 1), static_cast<int16_t>(rx), wait,
                                   wait / 10, showError, extraDelay, waitAfterFlush);
    }
    // Wire time of n bytes at 19200 baud.
    static double Wire(int n) { return n * 10.0 / 19200.0; }
};

TEST_F(TpdrCommsTest, VersionReadSendsTheFrameAndLogsOneExchange)
{
    clsTpdrComms link;
    const double t0 = clock.Elapsed();
    EXPECT_EQ(Send(link, VersionRead(), 9), ReplyReceived);
    EXPECT_EQ(link.TpdrReply(), "Vers2.05F");
    EXPECT_EQ(port.Written(), std::string("!V\xA0\0\0\x09", 6) + Nuls(9));
    ASSERT_EQ(model.Frames().size(), 1u);
    // Returns as soon as the last reply byte is there: wire both ways plus the peer's delay.
    EXPECT_NEAR(clock.Elapsed() - t0, Wire(15) + model.knobs.replyDelay + Wire(9), 1e-9);
    ASSERT_EQ(iolog.lines.size(), 2u);
    EXPECT_TRUE(iolog.lines[0].command);
    EXPECT_EQ(iolog.lines[0].text, "!V|A0|00|00|09|00|00|00|00|00|00|00|00|00|");
    EXPECT_FALSE(iolog.lines[1].command);
    EXPECT_EQ(iolog.lines[1].text, "Rx  <Vers2.05F>");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(TpdrCommsTest, GeneralReadOfSixBytesIsLoggedAsTheOperatorSeesIt)
{
    clsTpdrComms link;
    Send(link, MakeFrame('R', 0xE0, 0x00, 0x02, Nuls(6)), 6);
    EXPECT_EQ(iolog.lines.at(0).text, "!R|E0|00|02|06|00|00|00|00|00|00|");
}

TEST_F(TpdrCommsTest, TimeoutShowsTheBoxAndLogsThePrefix)
{
    boxes.Answer(MsgBoxResult::OK);
    model.knobs.noReply = true;
    clsTpdrComms link;
    const double t0 = clock.Elapsed();
    EXPECT_EQ(Send(link, VersionRead(), 9), ReplyTimeout);
    // The time allowed runs from the moment the frame is on the wire.
    EXPECT_GT(clock.Elapsed() - t0, Wire(15) + 1.0);
    EXPECT_LT(clock.Elapsed() - t0, Wire(15) + 1.0 + 0.002);
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{NoReplyBox});
    EXPECT_EQ(link.TpdrReply(), "");
    EXPECT_EQ(iolog.lines.back().text, "Rx # Reply Timeout # ");
}

TEST_F(TpdrCommsTest, TimeoutWithoutBoxKeepsThePartialReply)
{
    model.knobs.shortBy = 4;
    clsTpdrComms link;
    EXPECT_EQ(Send(link, VersionRead(), 9, 1.0f, false), ReplyTimeout);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(link.TpdrReply(), "Vers2");
    EXPECT_EQ(iolog.lines.back().text, "Rx # Reply Timeout #  <Vers2>");
}

TEST_F(TpdrCommsTest, PercentDoneRunsInTenthsUpToOne)
{
    model.knobs.noReply = true;
    boxes.AllowBoxes();
    clsTpdrComms link;
    std::vector<float> seen;
    std::vector<double> at;
    const double t0 = clock.Elapsed();
    link.PercentDone = [&](float percent, bool&) {
        seen.push_back(percent);
        at.push_back(clock.Elapsed() - t0);
    };
    EXPECT_EQ(Send(link, VersionRead(), 9, 2.0f), ReplyTimeout);
    ASSERT_EQ(seen.size(), 10u);
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_NEAR(seen[i], 0.1 * static_cast<double>(i + 1), 1e-6) << i;
        EXPECT_NEAR(at[i], Wire(15) + 0.2 * static_cast<double>(i + 1), 0.0011) << i;
    }
}

TEST_F(TpdrCommsTest, CancelEndsTheWaitWithoutChangingTheReply)
{
    model.knobs.noReply = true;
    clsTpdrComms link;
    link.TpdrReply("earlier");
    int events = 0;
    link.PercentDone = [&](float, bool& cancel) { cancel = ++events == 3; };
    EXPECT_EQ(Send(link, VersionRead(), 9), OperatorCancel);
    EXPECT_EQ(events, 3);
    EXPECT_EQ(link.TpdrReply(), "earlier");
    EXPECT_EQ(iolog.lines.back().text, "Rx # Operator Cancel #  <earlier>");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(TpdrCommsTest, ReplyAndTimeoutInTheSamePassIsATimeout)
{
    boxes.Answer(MsgBoxResult::OK);
    // The last byte lands half a millisecond after the time allowed.
    model.knobs.replyDelay = 1.0005 - Wire(9);
    clsTpdrComms link;
    EXPECT_EQ(Send(link, VersionRead(), 9), ReplyTimeout);
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{NoReplyBox});
    EXPECT_EQ(link.TpdrReply(), ""); // replaced by a second read of the buffer
}

TEST_F(TpdrCommsTest, CancelAndTimeoutInTheSamePassIsATimeout)
{
    model.knobs.noReply = true;
    boxes.AllowBoxes();
    clsTpdrComms link;
    link.PercentDone = [&](float percent, bool& cancel) { cancel = percent > 0.95f; };
    EXPECT_EQ(Send(link, VersionRead(), 9), ReplyTimeout);
}

struct ExtraDelayCase {
    const char* name;
    double lastByteAt; // seconds after the frame is on the wire
    TpdrCommsResult result;
    const char* reply;
};

class ExtraDelayTest : public TpdrCommsTest, public ::testing::WithParamInterface<ExtraDelayCase> {};

// The settling wait after the reply does not count against the time allowed.
TEST_P(ExtraDelayTest, ReplyIsJudgedBeforeTheSettlingWait)
{
    const auto& c = GetParam();
    model.knobs.replyDelay = c.lastByteAt - Wire(9);
    boxes.AllowBoxes();
    clsTpdrComms link;
    const double t0 = clock.Elapsed();
    EXPECT_EQ(Send(link, VersionRead(), 9, 1.0f, true, true), c.result);
    EXPECT_EQ(link.TpdrReply(), c.reply);
    if (c.result == ReplyReceived) {
        EXPECT_GE(clock.Elapsed() - t0, Wire(15) + c.lastByteAt + 0.5);
        EXPECT_TRUE(boxes.Boxes().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Link, ExtraDelayTest,
                         ::testing::Values(ExtraDelayCase{"early", 0.1, ReplyReceived, "Vers2.05F"},
                                           ExtraDelayCase{"lastMoment", 0.998, ReplyReceived, "Vers2.05F"},
                                           ExtraDelayCase{"late", 1.0005, ReplyTimeout, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TpdrCommsTest, WaitAfterFlushingDelaysTheFrameByOneSecond)
{
    clsTpdrComms link;
    const double t0 = clock.Elapsed();
    EXPECT_EQ(Send(link, VersionRead(), 9, 1.0f, true, false, true), ReplyReceived);
    EXPECT_NEAR(clock.Elapsed() - t0, 1.0 + Wire(15) + model.knobs.replyDelay + Wire(9), 0.002);
}

TEST_F(TpdrCommsTest, MidnightRestartsTheWait)
{
    model.knobs.noReply = true;
    boxes.AllowBoxes();
    clock.Set(86399.5);
    clsTpdrComms link;
    const double t0 = clock.Elapsed();
    EXPECT_EQ(Send(link, VersionRead(), 9), ReplyTimeout);
    // Half a second before midnight, then the whole second from the first poll
    // pass after it (at most one poll sleep later).
    EXPECT_NEAR(clock.Elapsed() - t0, 1.5 + clsTpdrComms::PollSleepMs / 2000.0, clsTpdrComms::PollSleepMs / 2000.0 + 0.001);
}

// Every wait raises its ten steps, the last at the full time allowed and
// before the time-out, wherever the wait falls against midnight.
TEST_F(TpdrCommsTest, TenStepsBeforeTheTimeoutAroundMidnight)
{
    const struct {
        double startAt;
        float wait;
    } rows[] = {
        {86399.5, 1.0f}, {86399.95, 1.0f}, {86399.999, 1.0f}, {86399.3, 0.3f},
        {86399.9, 0.7f}, {86395.0, 7.0f},  {86398.0, 2.0f},   {43200.0, 0.1f},
    };
    model.knobs.noReply = true;
    boxes.AllowBoxes();
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.startAt) + " wait " + std::to_string(row.wait));
        clock.Set(row.startAt);
        clsTpdrComms link;
        std::vector<float> seen;
        link.PercentDone = [&](float percent, bool&) { seen.push_back(percent); };
        EXPECT_EQ(Send(link, VersionRead(), 9, row.wait), ReplyTimeout);
        EXPECT_EQ(seen.size(), 10u);
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_FLOAT_EQ(seen[i], static_cast<float>(i + 1) / 10.0f) << i;
        }
    }
}

TEST_F(TpdrCommsTest, ReplyAcrossMidnightIsReceived)
{
    clock.Set(86399.99);
    clsTpdrComms link;
    EXPECT_EQ(Send(link, VersionRead(), 9), ReplyReceived);
    EXPECT_EQ(link.TpdrReply(), "Vers2.05F");
}

TEST_F(TpdrCommsTest, NothingToReadReturnsAtOnce)
{
    clsTpdrComms link;
    const double t0 = clock.Elapsed();
    EXPECT_EQ(link.SendAndReceive(MakeFrame('I', 0, 0, 0, ""), 6, 0, 1.0f, 0.1f, true, false, false),
              ReplyReceived);
    EXPECT_LT(clock.Elapsed() - t0, Wire(6) + 0.001); // only the frame's own wire time
    EXPECT_EQ(link.TpdrReply(), "");
    EXPECT_EQ(iolog.lines.back().text, "Rx ");
}

TEST_F(TpdrCommsTest, NothingSentStillWaitsAndLogsAnEmptyCommand)
{
    model.knobs.noReply = true;
    clsTpdrComms link;
    EXPECT_EQ(link.SendAndReceive(TpdrCommand{}, 0, 3, 1.0f, 0.1f, false, false, false), ReplyTimeout);
    EXPECT_EQ(port.Written(), "");
    ASSERT_EQ(iolog.lines.size(), 2u);
    EXPECT_EQ(iolog.lines[0].text, "");
}

TEST_F(TpdrCommsTest, BytesBeyondTheExpectedAllLandInTheReply)
{
    // The reply and two more bytes arrive while a slow progress handler runs.
    model.knobs.extraBytes = "XY";
    model.knobs.replyDelay = 0.1;
    clsTpdrComms link;
    link.PercentDone = [&](float, bool&) { clock.Advance(0.05); };
    EXPECT_EQ(Send(link, VersionRead(), 9), ReplyReceived);
    EXPECT_EQ(link.TpdrReply(), "Vers2.05FXY");
}

TEST_F(TpdrCommsTest, StaleInputIsDiscardedBeforeSending)
{
    model.knobs.extraBytes = "XY";
    clsTpdrComms first;
    Send(first, VersionRead(), 9);
    clock.Advance(0.1); // the extra bytes arrive after the first read
    clsTpdrComms second;
    EXPECT_EQ(Send(second, VersionRead(), 9), ReplyReceived);
    EXPECT_EQ(second.TpdrReply().substr(0, 9), "Vers2.05F");
}

struct LogCase {
    const char* reply;
    size_t length;
    const char* logged;
};

class ReplyLogTest : public TpdrCommsTest, public ::testing::WithParamInterface<LogCase> {};

TEST_P(ReplyLogTest, ReplyLineForm)
{
    const auto& c = GetParam();
    model.knobs.garbage = std::string(c.reply, c.length);
    clsTpdrComms link;
    EXPECT_EQ(Send(link, VersionRead(), static_cast<int>(c.length)), ReplyReceived);
    EXPECT_EQ(iolog.lines.back().text, c.logged);
}

INSTANTIATE_TEST_SUITE_P(
    Link, ReplyLogTest,
    ::testing::Values(LogCase{"?", 1, "Rx  <?>"},
                      LogCase{"ABCDEFGHIJKLMNOP", 16, "Rx  <ABCDEFGHIJKLMNOP>"},
                      LogCase{"ABCDEFGHIJKLMNOPQ", 17,
                              "Rx  <|41|42|43|44|45|46|47|48|49|4A|4B|4C|4D|4E|4F|50|51>"},
                      LogCase{"A\x05" "B", 3, "Rx  <A|05B>"}, LogCase{"\x7F~ ", 3, "Rx  <|7F~ >"},
                      LogCase{"\xC8\x00", 2, "Rx  <|C8|00>"}));

TEST_F(TpdrCommsTest, NotLoggedWhileTheLogIsClosed)
{
    ShowIOFlag = false;
    clsTpdrComms link;
    Send(link, VersionRead(), 9);
    EXPECT_TRUE(iolog.lines.empty());
}

TEST_F(TpdrCommsTest, ClosedPortIsAReportedCommsError)
{
    boxes.Answer(MsgBoxResult::OK);
    port.PortOpen(false);
    clsTpdrComms link;
    link.TpdrReply("kept");
    EXPECT_EQ(Send(link, VersionRead(), 9), CommsErrorReported);
    EXPECT_EQ(boxes.Boxes(), Boxes({"New Comms Error", 48, "8018: Operation valid only when the port is open"}));
    EXPECT_EQ(link.TpdrReply(), "kept");
    EXPECT_TRUE(iolog.lines.empty());
}

TEST_F(TpdrCommsTest, DeviceGoneDuringTheWaitClosesThePort)
{
    boxes.Answer(MsgBoxResult::OK);
    model.knobs.noReply = true;
    clsTpdrComms link;
    int events = 0;
    link.PercentDone = [&](float, bool&) {
        if (++events == 2) {
            port.Disconnect();
        }
    };
    EXPECT_EQ(Send(link, VersionRead(), 9), CommsErrorReported);
    EXPECT_EQ(boxes.Boxes(), Boxes({"New Comms Error", 48, "8020: Error reading comm device"}));
    EXPECT_FALSE(port.PortOpen());
    ASSERT_EQ(iolog.lines.size(), 1u); // the command only
}

TEST_F(TpdrCommsTest, ZeroTimeAllowedIsReportedNotDividedByZero)
{
    boxes.Answer(MsgBoxResult::OK);
    clsTpdrComms link;
    EXPECT_EQ(link.SendAndReceive(VersionRead(), 15, 9, 0.0f, 0.0f, true, false, false), UnexpectedError);
    EXPECT_EQ(boxes.Boxes(),
              Boxes({"Error from CommsErrorHandler (clsTpdrComms) trapped in CatchAll Errors.", 48, "Error:  6  Overflow"}));
}

// A frame that gets no reply: on the wire at once, nothing flushed or read,
// its own line in the IO log.
TEST_F(TpdrCommsTest, NoReplyFrameIsSentWithoutWaiting)
{
    model.knobs.extraBytes = "XY";
    clsTpdrComms link;
    Send(link, VersionRead(), 9);
    clock.Advance(0.1); // the extra bytes wait in the input buffer
    iolog.lines.clear();
    ExchangeWindow window;
    TpdrExchange::Options options{.delayFirst = false, .noReply = true, .ioText = "|00| <Ping>"};
    TpdrExchange::Reply reply;
    const double t0 = clock.Elapsed();
    EXPECT_EQ(TpdrExchange::Run(window, [](TpdrCommand& c, int16_t& n, int16_t&) { c = {"", std::string(1, '\0')}; n = 1; },
                                {}, reply, {}, options),
              ReplyReceived);
    EXPECT_NEAR(clock.Elapsed() - t0, Wire(1), 1e-9);
    EXPECT_EQ(port.Written().back(), '\0');
    EXPECT_EQ(port.InBufferCount(), 2);
    ASSERT_EQ(iolog.lines.size(), 1u);
    EXPECT_EQ(iolog.lines[0].text, "|00| <Ping>");
}

TEST_F(TpdrCommsTest, ThinMembersReachThePort)
{
    clsTpdrComms link;
    link.OutputData(std::string("!V\xA0\0\0\x09", 6) + Nuls(9));
    EXPECT_EQ(link.InputCount(), 0);
    port.WaitForInput(100);
    port.WaitForInput(100);
    while (link.InputCount() < 9) {
        port.WaitForInput(5);
    }
    EXPECT_EQ(link.InputData(), "Vers2.05F");
    link.OutputData(std::string("!V\xA0\0\0\x09", 6) + Nuls(9));
    clock.Advance(0.1);
    link.ClearBuffers();
    EXPECT_EQ(link.InputCount(), 0);
}

} // namespace
