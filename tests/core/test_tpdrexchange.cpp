#include "clsSettings.h"
#include "link_fixture.h"
#include "tpdrexchange.h"

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
        int32_t result;
        std::vector<std::string> decoded;
        std::vector<std::string> statuses;
        std::vector<ShownBox> boxes;
    } rows[] = {
        {"no frame: nothing sent", false, false, TpdrExchange::NoFrame, {}, {"status 1"}, {}},
        {"reply: decoded, status shown twice", true, false, ReplyReceived, {"OK"}, {"status 1", "status 2"}, {}},
        {"time-out: not decoded", true, true, ReplyTimeout, {}, {"status 1"}, {NoReplyBox}},
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
        TpdrExchange::Reply reply;
        const int32_t result = TpdrExchange::Run(
            window,
            [&r](TpdrCommand& frame, int16_t& count, int16_t& length) {
                frame = MakeFrame('R', 0xE0, 0x0A, 0x00, std::string(2, '\0'));
                count = r.frame ? 8 : 0;
                length = 2;
            },
            [&status] { return "status " + std::to_string(++status); }, reply,
            [&decoded](const std::string& text, int16_t length) { decoded.push_back(text.substr(0, length)); });
        EXPECT_EQ(result, r.result);
        EXPECT_EQ(model.Frames().size(), r.frame ? 1u : 0u);
        EXPECT_EQ(decoded, r.decoded);
        EXPECT_EQ(window.statuses, r.statuses);
        EXPECT_EQ(boxes.Boxes(), r.boxes);
    }
}

} // namespace
