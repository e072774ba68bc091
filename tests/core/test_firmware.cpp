#include "error_of.h"
#include "clsFirmware.h"
#include "clsSettings.h"
#include "firmwarereader.h"
#include "frames.h"
#include "link_fixture.h"
#include "vberror.h"

#include <set>

namespace {

struct DecodeRow {
    std::string reply;
    int16_t n;
    int32_t code;
    std::string caption;
};

// First and last reply of every block, the rows outside the rule, and near misses.
const std::vector<DecodeRow> DecodeRows = {
    {"Vers_1.04", 9, 1, "V1.04"},       {"Vers_1.06", 9, 3, "V1.06"},       {"Vers_2.00", 9, 4, "V2.00"},
    {"Vers_2.30", 9, 34, "V2.30"},      {"Vers1.07S", 9, 35, "V1.07S"},     {"Vers1.10S", 9, 38, "V1.10S"},
    {"Vers1.11Ss", 10, 39, "V1.11S"},   {"Vers1.12S", 9, 40, "V1.12S"},     {"Vers1.30S", 9, 58, "V1.30S"},
    {"Vers2.00S", 9, 59, "V2.00S"},     {"Vers2.05S", 9, 64, "V2.05S"},     {"Vers2.30S", 9, 89, "V2.30S"},
    {"Vers3.00S", 9, 90, "V3.00S"},     {"Vers3.30S", 9, 120, "V3.30S"},    {"Vers4.00S", 9, 121, "V4.00S"},
    {"Vers4.30S", 9, 151, "V4.30S"},    {"Vers4.50S", 9, 152, "V4.50S"},    {"Vers5.00S", 9, 153, "V5.00S"},
    {"Vers5.30S", 9, 183, "V5.30S"},    {"Vers9.00S", 9, 184, "V9.00S"},    {"Vers9.10S", 9, 194, "V9.10S"},
    {"Vers1.01P", 9, 195, "V1.01P"},    {"Vers1.30P", 9, 224, "V1.30P"},    {"Vers2.00P", 9, 225, "V2.00P"},
    {"Vers2.30P", 9, 255, "V2.30P"},    {"Vers3.00P", 9, 256, "V3.00P"},    {"Vers3.30P", 9, 286, "V3.30P"},
    {"Vers4.00P", 9, 287, "V4.00P"},    {"Vers4.30P", 9, 317, "V4.30P"},    {"Vers9.00P", 9, 318, "V9.00P"},
    {"Vers9.10P", 9, 328, "V9.10P"},    {"Vers1.11S ", 10, 329, "V1.11D"},  {"Vers1.12D", 9, 330, "V1.12D"},
    {"Vers1.30D", 9, 348, "V1.30D"},    {"Vers2.00D", 9, 349, "V2.00D"},    {"Vers2.30D", 9, 379, "V2.30D"},
    {"Vers1.00F", 9, 380, "V1.00F"},    {"Vers1.30F", 9, 410, "V1.30F"},    {"Vers2.00F", 9, 411, "V2.00F"},
    {"Vers2.30F", 9, 441, "V2.30F"},    {"Vers9.00F", 9, 442, "V9.00F"},    {"Vers9.10F", 9, 452, "V9.10F"},
    {"TestMode ", 9, 453, "Test Mode"}, {"Vers1.11S", 9, 454, "Pending"},
    // Judged by the first N characters only; shorter than N never matches.
    {"Vers2.05SXYZ", 9, 64, "V2.05S"},  {"Vers1.11Ss", 9, 454, "Pending"},  {"Vers1.11S ", 9, 454, "Pending"},
    {"Vers2.05S", 10, 0, "Unrecognised"}, {"Vers1.11S", 10, 0, "Unrecognised"}, {"Vers1.11Sx", 10, 0, "Unrecognised"},
    {"TestMode", 9, 0, "Unrecognised"}, {"", 9, 0, "Unrecognised"},         {"Vers2.05S", 0, 0, "Unrecognised"},
    // Case and the gaps between blocks count.
    {"vers2.05S", 9, 0, "Unrecognised"}, {"Vers2.05s", 9, 0, "Unrecognised"}, {"Vers1.31S", 9, 0, "Unrecognised"},
    {"Vers4.31S", 9, 0, "Unrecognised"}, {"Vers1.00P", 9, 0, "Unrecognised"}, {"Vers1.11D", 9, 0, "Unrecognised"},
    {"Vers_1.07", 9, 0, "Unrecognised"},
};

TEST(Firmware, TableHoldsEveryCodeOnceInOrder)
{
    const auto& table = FirmwareVersionTable();
    ASSERT_EQ(table.size(), 454u);
    std::set<std::string> replies;
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].code, static_cast<int32_t>(i + 1));
        const bool tenCharacters = table[i].code == 39 || table[i].code == 329;
        EXPECT_EQ(table[i].reply.size(), tenCharacters ? 10u : 9u) << table[i].reply;
        replies.insert(table[i].reply);
    }
    EXPECT_EQ(replies.size(), table.size());
}

TEST(Firmware, ReadDecode)
{
    clsFirmware fw; // one object throughout: a miss must clear the previous hit
    for (const auto& row : DecodeRows) {
        fw.ReadDecode(row.reply, row.n);
        EXPECT_EQ(fw.FWVersion(), row.code) << row.reply << " N=" << row.n;
        EXPECT_EQ(fw.Caption(), row.caption) << row.reply << " N=" << row.n;
        EXPECT_EQ(fw.StatusBarText(), row.reply);
    }
}

TEST(Firmware, ReadEncode)
{
    const std::string nineZeros = "00|00|00|00|00|00|00|00|00|";
    const struct {
        int16_t n;
        std::string text;
    } rows[] = {{9, "!V|A0|00|00|09|" + nineZeros}, {10, "!V|A0|00|00|0A|" + nineZeros + "00|"}};
    clsFirmware fw;
    for (const auto& row : rows) {
        TpdrCommand frame;
        int16_t count = 0;
        fw.ReadEncode(frame, count, row.n);
        EXPECT_EQ(frame, VersionRead(row.n));
        EXPECT_EQ(count, row.n + 6);
        EXPECT_EQ(fw.StatusBarText(), row.text);
    }
    TpdrCommand frame;
    int16_t count = 0;
    for (const int16_t bad : {int16_t{-1}, int16_t{256}}) {
        EXPECT_EQ(ErrorOf([&] { fw.ReadEncode(frame, count, bad); }), 5) << "N=" << bad;
    }
}

TEST(Firmware, ReadEncodeTxFirmware)
{
    clsFirmware fw;
    TpdrCommand frame;
    int16_t count = 0;
    int16_t replyLength = 0;
    fw.ReadEncodeTxFirmware(frame, count, replyLength);
    EXPECT_EQ(frame, MakeFrame('A', 0, 0, 0, Nuls(9)));
    EXPECT_EQ(count, 15);
    EXPECT_EQ(replyLength, 8);
    EXPECT_EQ(fw.StatusBarText(), "!A 00 00 00 09 00 00 00 00 00 00 00 00 00 ");
}

TEST(Firmware, TxFWReadDecode)
{
    const struct {
        std::string reply;
        int32_t code;
        std::string caption;
    } rows[] = {
        {"TxV2.00F", 1, "Tx V2.00F"},     {"TxV2.05F", 6, "Tx V2.05F"},     {"TxV2.10F", 11, "Tx V2.10F"},
        {"TxV2.11F", 0, "Unrecognised"},  {"TxV2.10F ", 0, "Unrecognised"}, {"TxV2.10", 0, "Unrecognised"},
        {"txV2.00F", 0, "Unrecognised"},  {"Tx V2.00F", 0, "Unrecognised"}, {"", 0, "Unrecognised"},
    };
    clsFirmware fw;
    for (const auto& row : rows) {
        fw.TxFWReadDecode(row.reply);
        EXPECT_EQ(fw.TxFWVersion(), row.code) << row.reply;
        EXPECT_EQ(fw.TxCaption(), row.caption) << row.reply;
        EXPECT_EQ(fw.StatusBarText(), row.reply);
    }
}

TEST(Firmware, TxFWEnableOKFromV200FThroughTestMode)
{
    clsFirmware fw;
    for (int32_t code = 0; code <= FWPending; ++code) {
        fw.FWVersion(code);
        EXPECT_EQ(fw.TxFWEnableOK(), code >= 411 && code <= 453) << code;
    }
}

// --- The windows' version read -------------------------------------------------

// Records what the reader did to the window, in order; statuses with the time shown.
class RecordingWindow : public FirmwareWindow {
public:
    explicit RecordingWindow(Platform::FakeClock& c) : clock(c) {}
    Platform::FakeClock& clock;
    std::vector<std::string> events;
    std::vector<std::pair<std::string, double>> statuses;
    int percentEvents = 0;
    int cancelAt = 0; // cancel at this PercentDone event (0: never)
    std::function<void(const std::string&)> onStatus;

    void SetFirmwareLabelText(const std::string& text) override { events.push_back("label " + text); }
    void SetFirmwareLabelBackColor(int32_t c) override
    {
        events.push_back(c == FirmwareLabelColor::Red ? "red" : c == FirmwareLabelColor::White ? "white" : "?");
    }
    void ShowStatus(const std::string& text) override
    {
        statuses.emplace_back(text, clock.Elapsed());
        if (onStatus) {
            onStatus(text);
        }
    }
    void ShowMessage0() override { events.push_back("message0"); }
    void PercentDone(float, bool& cancel) override { cancel = ++percentEvents == cancelAt; }
    bool cancelPending = false;
    bool CancelPending() const override { return cancelPending; }
};

const ShownBox InvalidBox{"Invalid Firmware Version returned.", 48, "Firmware Version"};

class FirmwareReaderTest : public LinkFixture {
protected:
    FirmwareReaderTest() : window(clock)
    {
        AppSettings.TpdrTelemWait(1.0f);
        AppSettings.DelayBetweenCmds(0.5f);
        ClearUnsupportedReadsHook = [this](bool reset) { clears.push_back(reset); };
        boxes.AllowBoxes();
    }
    RecordingWindow window;
    std::vector<bool> clears;
};

using namespace FirmwarePolicies;
using Events = std::vector<std::string>;

struct ReadCase {
    const char* name;
    const FirmwarePolicy& policy;
    std::string versionText; // "" : no reply
    int cancelAt;
    int16_t result;
    int32_t code;
    std::string caption;
    Events events;
    std::vector<ShownBox> boxes;
};

// Before each read TpdrFirmware holds V2.05S, so a kept version shows.
const std::vector<ReadCase> ReadCases = {
    {"MainKnown", frmMain, "Vers2.05S", 0, 0, 64, "V2.05S", {"white", "label V2.05S"}, {}},
    {"MainUnknown", frmMain, "Vers7.77S", 0, 0, 0, "Unrecognised", {"message0", "red", "label Unrecognised"}, {}},
    {"MainNoReplyKeeps", frmMain, "", 0, 0, 64, "Unrecognised", {"red", "label Unrecognised"}, {NoReplyBox}},
    {"GenUnknownWhite", frmGenSettings, "vers2.05S", 0, 0, 0, "Unrecognised", {"white", "label Unrecognised"},
     {InvalidBox}},
    {"GenNoReply", frmGenSettings, "", 0, 0, 0, "Unrecognised", {"red", "label Unrecognised"}, {NoReplyBox}},
    {"MultiTATUnknownRed", frmMultiTAT, "Vers7.77S", 0, 0, 0, "Unrecognised", {"red", "label Unrecognised"},
     {InvalidBox}},
    {"ChanTestUnknownSilent", frmChanTest, "Vers7.77S", 0, 0, 0, "Unrecognised", {"label Unrecognised"}, {}},
    {"ChanTestNoReplyKeeps", frmChanTest, "", 0, 0, 64, "Unrecognised", {"red", "label Unrecognised"}, {NoReplyBox}},
    {"BattLifeUnknownNoLabel", frmBattLife, "Vers7.77S", 0, 0, 0, "Unrecognised", {}, {InvalidBox}},
    {"BattLifeNoReplyNoLabel", frmBattLife, "", 0, 0, 0, "Unrecognised", {}, {NoReplyBox}},
    {"TransceiverKnown", frmTransceiver, "Vers3.10S", 0, 0, 100, "V3.10S", {"white", "label V3.10S"}, {}},
    {"TransceiverNoReply", frmTransceiver, "", 0, 18, 0, "Unrecognised", {"red", "label Unrecognised"},
     {NoReplyBox}},
    {"CommandsCancelled", frmCommands, "", 3, 18, 0, "Unrecognised", {"red", "label Unrecognised"}, {}},
    {"TimedReleaseUnknown", frmTimedRelease, "Vers7.77S", 0, 0, 0, "Unrecognised",
     {"message0", "label Unrecognised"}, {}},
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class FirmwareReadTest : public FirmwareReaderTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(FirmwareReadTest, OneRead)
{
    const auto& c = GetParam();
    TpdrFirmware.FWVersion(64);
    TpdrFirmware.Caption("V2.05S");
    model.versionText = c.versionText;
    model.knobs.noReply = c.versionText.empty();
    window.cancelAt = c.cancelAt;
    const uint32_t changes = FirmwareReader::Changes();

    EXPECT_EQ(FirmwareReader::GetFirmware(c.policy, window), c.result);
    // Another known code than the one before; nothing known is no evidence.
    EXPECT_EQ(FirmwareReader::Changes() - changes, c.code != 64 && c.code != 0 ? 1u : 0u);
    EXPECT_EQ(TpdrFirmware.FWVersion(), c.code);
    EXPECT_EQ(TpdrFirmware.Caption(), c.caption);
    EXPECT_EQ(window.events, c.events);
    EXPECT_EQ(boxes.Boxes(), c.boxes);
    EXPECT_EQ(model.Frames(), std::vector<std::string>{port.Written()});
    EXPECT_EQ(port.Written(), std::string("!V\xA0\0\0\x09", 6) + Nuls(9));
    EXPECT_EQ(clears, std::vector<bool>(c.policy.clearUnsupportedReads ? 1 : 0, false));
    if (c.versionText.empty()) {
        EXPECT_GE(window.percentEvents, c.cancelAt > 0 ? c.cancelAt : 9); // the wait's progress reached the window
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, FirmwareReadTest, ::testing::ValuesIn(ReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct PendingCase {
    const char* name;
    const FirmwarePolicy& policy;
    std::string versionText;
    bool secondFails;
    int16_t result;
    int32_t code;
    std::string caption;
    Events events;
    std::vector<ShownBox> boxes;
};

const std::vector<PendingCase> PendingCases = {
    {"MainV111S", frmMain, "Vers1.11Ss", false, 0, 39, "V1.11S",
     {"white", "label Pending", "white", "label V1.11S"}, {}},
    {"GenV111D", frmGenSettings, "Vers1.11S ", false, 0, 329, "V1.11D",
     {"white", "label Pending", "white", "label V1.11D"}, {}},
    {"TankTestOther", frmVTLTankTest, "Vers1.11Sx", false, 0, 0, "Unrecognised",
     {"white", "label Pending", "message0", "label Unrecognised"}, {}},
    {"MainSecondFailsKeepsPending", frmMain, "Vers1.11Ss", true, 0, 454, "Unrecognised",
     {"white", "label Pending", "red", "label Unrecognised"}, {NoReplyBox}},
    {"TransceiverSecondFails", frmTransceiver, "Vers1.11Ss", true, 18, 0, "Unrecognised",
     {"white", "label Pending", "red", "label Unrecognised"}, {NoReplyBox}},
};

void PrintTo(const PendingCase& c, std::ostream* os) { *os << c.name; }

class FirmwarePendingTest : public FirmwareReaderTest, public ::testing::WithParamInterface<PendingCase> {};

TEST_P(FirmwarePendingTest, SecondReadOfTenCharacters)
{
    const auto& c = GetParam();
    model.versionText = c.versionText;
    window.onStatus = [&](const std::string& text) {
        if (c.secondFails && text.rfind("!V|A0|00|00|0A|", 0) == 0) {
            model.knobs.noReply = true;
        }
    };
    const double t0 = clock.Elapsed();
    TpdrFirmware.FWVersion(c.code);
    const uint32_t changes = FirmwareReader::Changes();

    EXPECT_EQ(FirmwareReader::GetFirmware(c.policy, window), c.result);
    EXPECT_EQ(FirmwareReader::Changes(), changes); // "Pending" on the way to the same code is no change
    EXPECT_EQ(TpdrFirmware.FWVersion(), c.code);
    EXPECT_EQ(TpdrFirmware.Caption(), c.caption);
    EXPECT_EQ(window.events, c.events);
    EXPECT_EQ(boxes.Boxes(), c.boxes);
    const std::string frame9 = std::string("!V\xA0\0\0\x09", 6) + Nuls(9);
    const std::string frame10 = std::string("!V\xA0\0\0\x0A", 6) + Nuls(10);
    EXPECT_EQ(model.Frames(), (std::vector<std::string>{frame9, frame10}));

    // Frame text, reply, frame text (, reply): one DelayBetweenCmds before the
    // second read whichever procedure owns it, and one before the first where
    // the window delays every read.
    ASSERT_GE(window.statuses.size(), 3u);
    EXPECT_EQ(window.statuses[1].first, "Vers1.11S");
    EXPECT_EQ(window.statuses[2].first, "!V|A0|00|00|0A|00|00|00|00|00|00|00|00|00|00|");
    const double first = window.statuses[0].second - t0;
    const double between = window.statuses[2].second - window.statuses[1].second;
    if (c.policy.delayBeforeEachRead) {
        EXPECT_GE(first, 0.5);
        EXPECT_LT(first, 0.52);
    } else {
        EXPECT_EQ(first, 0.0);
    }
    EXPECT_GE(between, 0.5);
    EXPECT_LT(between, 0.52);
}

INSTANTIATE_TEST_SUITE_P(Windows, FirmwarePendingTest, ::testing::ValuesIn(PendingCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A Cancel after the "Pending" answer ends the pause before the second read,
// whichever procedure owns that pause: the read is not sent and fails.
TEST_F(FirmwareReaderTest, CancelBeforeTheSecondRead)
{
    const struct {
        const FirmwarePolicy& policy;
        int16_t result;
    } rows[] = {{frmMain, 0}, {frmGenSettings, 0}, {frmTransceiver, FirmwareExchangeFailed}};
    model.versionText = "Vers1.11Ss";
    for (const auto& r : rows) {
        SCOPED_TRACE(r.policy.windowName);
        model.ClearFrames();
        window.events.clear();
        window.cancelPending = false;
        window.onStatus = [this](const std::string& text) { window.cancelPending = text == "Vers1.11S"; };
        EXPECT_EQ(FirmwareReader::GetFirmware(r.policy, window), r.result);
        EXPECT_EQ(model.Frames().size(), 1u);
        EXPECT_EQ(TpdrFirmware.Caption(), "Unrecognised");
        EXPECT_EQ(window.events, (Events{"white", "label Pending", "red", "label Unrecognised"}));
        EXPECT_TRUE(boxes.Boxes().empty());
    }
}

// A read that fails or finds nothing known leaves the last known code to judge
// the next read by: one lost reply is not another unit.
TEST_F(FirmwareReaderTest, OnlyAnotherKnownCodeIsAnotherUnit)
{
    const struct {
        const char* name;
        std::vector<std::string> texts; // "" : no reply; "-" ending: "Pending", its second read lost
        uint32_t changes;
    } rows[] = {
        {"lost reply, same unit", {"Vers2.05F", "", "Vers2.05F"}, 0},
        {"lost reply, other unit", {"Vers2.05F", "", "Vers4.50S"}, 1},
        {"unknown text, same unit", {"Vers2.05F", "Vers7.77S", "Vers2.05F"}, 0},
        {"two other units", {"Vers2.05F", "Vers4.50S", "", "Vers2.05F"}, 2},
        {"Pending after another family", {"Vers2.05F", "Vers1.11S-", "Vers1.11S "}, 1},
        {"Pending after V1.11S or V1.11D", {"Vers1.11Ss", "Vers1.11S-", "Vers1.11Ss", "Vers1.11S ", "Vers1.11S-"}, 1},
        {"Pending, then back to the first unit", {"Vers2.05F", "Vers1.11S-", "Vers2.05F"}, 2},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        uint32_t changes = 0;
        for (const auto& text : r.texts) {
            model.versionText = text.ends_with('-') ? text.substr(0, text.size() - 1) : text;
            model.knobs.noReply = text.empty();
            model.knobs.answerFrames = text.ends_with('-') ? static_cast<int>(model.Frames().size()) + 1 : -1;
            FirmwareReader::GetFirmware(frmGenSettings, window);
            if (&text == &r.texts.front()) {
                changes = FirmwareReader::Changes(); // counted from the first unit read
            }
        }
        EXPECT_EQ(FirmwareReader::Changes() - changes, r.changes);
    }
}

TEST_F(FirmwareReaderTest, StatusTextsOfTheChannelTestWindow)
{
    model.versionText = "Vers2.05S";
    FirmwareReader::GetFirmware(frmChanTest, window);
    ASSERT_EQ(window.statuses.size(), 3u);
    EXPECT_EQ(window.statuses[0].first, "Reading Firmware Version...");
    EXPECT_EQ(window.statuses[1].first, "!V|A0|00|00|09|00|00|00|00|00|00|00|00|00|");
    EXPECT_EQ(window.statuses[2].first, "Vers2.05S");
}

TEST_F(FirmwareReaderTest, RunTimeErrorIsReportedUnderTheWindowsName)
{
    window.onStatus = [](const std::string&) { Raise(ErrNo::TypeMismatch); };
    EXPECT_EQ(FirmwareReader::GetFirmware(frmTransceiver, window), FirmwareExchangeFailed);
    const ShownBox caught{"Error from FirmwareAssignErrorHandler (frmTransceiver) trapped in CatchAll Errors.", 48,
                          "Error:  13  Type mismatch"};
    EXPECT_EQ(boxes.Boxes(), std::vector<ShownBox>{caught});
    EXPECT_TRUE(model.Frames().empty());
}

} // namespace
