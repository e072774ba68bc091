#include "clsSettings.h"
#include "link_fixture.h"
#include "tpdrexchange.h"

#include <cmath>

namespace {

class RecordingExchangeWindow : public ExchangeWindow {
public:
    std::vector<std::string> statuses;
    void ShowStatus(const std::string& text) override { statuses.push_back(text); }
};

class TpdrExchangeTest : public LinkFixture {
protected:
    TpdrExchangeTest() { AppSettings.TpdrTelemWait(1.0f); }
};

TEST_F(TpdrExchangeTest, RunSendsShowsAndDecodes)
{
    const struct Row {
        const char* name;
        bool frame;   // the encoder builds one
        bool silent;  // the transponder does not answer
        bool again;   // the status shown once more after the decoder
        int32_t result;
        std::vector<std::string> decoded;
        std::vector<std::string> statuses;
        std::vector<ShownBox> boxes;
    } rows[] = {
        {"no frame: nothing sent", false, false, true, TpdrExchange::NoFrame, {}, {"status 1"}, {}},
        {"reply: decoded, the frame's status kept", true, false, false, ReplyReceived, {"OK"}, {"status 1"}, {}},
        {"reply: decoded, status shown again", true, false, true, ReplyReceived, {"OK"}, {"status 1", "status 2"}, {}},
        {"time-out: not decoded", true, true, true, ReplyTimeout, {}, {"status 1"}, {NoReplyBox}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        model.ClearFrames();
        model.Poke(false, 0xE0, 0x0A, 0x00, 'O');
        model.Poke(false, 0xE0, 0x0A, 0x01, 'K');
        model.knobs.noReply = r.silent;
        boxes.Clear();
        if (r.silent) {
            boxes.Answer(MsgBoxResult::OK);
        }
        RecordingExchangeWindow window;
        std::vector<std::string> decoded;
        int status = 0;
        TpdrExchange::Options options;
        options.statusAfterDecode = r.again;
        TpdrExchange::Reply reply;
        const int32_t result = TpdrExchange::Run(
            window,
            [&r](TpdrCommand& frame, int16_t& count, int16_t& length) {
                frame = MakeFrame('R', 0xE0, 0x0A, 0x00, std::string(2, '\0'));
                count = r.frame ? 8 : 0;
                length = 2;
            },
            [&status] { return "status " + std::to_string(++status); }, reply,
            [&decoded](const std::string& text, int16_t length) { decoded.push_back(text.substr(0, length)); },
            options);
        EXPECT_EQ(result, r.result);
        EXPECT_EQ(model.Frames().size(), r.frame ? 1u : 0u);
        EXPECT_EQ(decoded, r.decoded);
        EXPECT_EQ(window.statuses, r.statuses);
        EXPECT_EQ(boxes.Boxes(), r.boxes);
    }
}

// A window whose Cancel is clicked at a given moment of the fake clock.
class CancellingWindow : public ExchangeWindow {
public:
    double cancelAt = INFINITY;
    int events = 0;
    void PercentDone(float /*Percent*/, bool& Cancel) override
    {
        ++events;
        Cancel = CancelPending();
    }
    bool CancelPending() const override { return Timer() >= cancelAt; }
};

// Cancel acts within a poll pass, both in the pause before the frame (which
// then is not sent) and in the reply wait; without it the wait is unchanged.
TEST_F(TpdrExchangeTest, CancelActsAtOnce)
{
    const struct Row {
        const char* name;
        float delay;       // DelayBetweenCmds
        double cancelAt;   // seconds after the start; below 0: never
        int32_t result;
        size_t frames;
        int events;
        double endsAt;     // seconds after the start, within a poll pass
        std::vector<ShownBox> boxes;
    } rows[] = {
        {"cancel in the pause: nothing sent", 5.0f, 1.0, OperatorCancel, 0, 0, 1.0, {}},
        {"cancel already pending: nothing sent", 5.0f, 0.0, OperatorCancel, 0, 0, 0.0, {}},
        {"cancel early in the wait", 0.0f, 0.3, OperatorCancel, 1, 0, 0.3, {}},
        {"no cancel: ten events, then the time-out", 5.0f, -1.0, ReplyTimeout, 1, 10, 15.0, {NoReplyBox}},
    };
    AppSettings.TpdrTelemWait(10.0f);
    model.knobs.noReply = true;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        AppSettings.DelayBetweenCmds(r.delay);
        model.ClearFrames();
        iolog.lines.clear();
        boxes.Clear();
        if (!r.boxes.empty()) {
            boxes.Answer(MsgBoxResult::OK);
        }
        const double start = Timer();
        CancellingWindow window;
        window.cancelAt = r.cancelAt < 0 ? INFINITY : start + r.cancelAt;
        TpdrExchange::Reply reply;
        const int32_t result = TpdrExchange::Run(
            window,
            [](TpdrCommand& frame, int16_t& count, int16_t& length) {
                frame = MakeFrame('R', 0xE0, 0x0A, 0x00, std::string(2, '\0'));
                count = 8;
                length = 2;
            },
            {}, reply);
        EXPECT_EQ(result, r.result);
        EXPECT_NEAR(Timer() - start, r.endsAt, 0.025);
        EXPECT_EQ(model.Frames().size(), r.frames);
        EXPECT_EQ(window.events, r.events);
        EXPECT_EQ(boxes.Boxes(), r.boxes);
        // A cancelled wait is logged as one cancelled by its progress event.
        const std::string last = iolog.lines.empty() ? "" : iolog.lines.back().text;
        EXPECT_EQ(last, r.frames == 0                 ? ""
                        : r.result == OperatorCancel ? "Rx # Operator Cancel # "
                                                     : "Rx # Reply Timeout # ");
    }
}

} // namespace
