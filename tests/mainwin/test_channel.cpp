#include "error_of.h"
#include "clsChannel.h"
#include "commonprocs.h"
#include "link_fixture.h"
#include "vberror.h"

#include <initializer_list>

namespace {

std::string Bytes(std::initializer_list<int> codes)
{
    std::string s;
    for (const int c : codes) {
        s += static_cast<char>(c);
    }
    return s;
}

// The bytes a frame puts on the wire.
std::string Wire(const TpdrCommand& frame, int16_t count)
{
    std::string s;
    for (int16_t i = 1; i <= count && i < static_cast<int16_t>(frame.size()); ++i) {
        s += frame[i];
    }
    return s;
}

struct Lookup {
    int16_t number = -7; // -7: output left alone
    int32_t type = -7;
    float int1 = -7, int2 = -7, reply1 = -7, reply2 = -7;
    int32_t result = -7;
};

Lookup Look(clsChannel& c, const std::string& text, int16_t kind, int32_t fw)
{
    Lookup l;
    c.GetChannelNumber(text, kind, fw, l.number, l.type, l.int1, l.int2, l.reply1, l.reply2, l.result);
    return l;
}

TEST(Channel, TableAndParsing)
{
    const struct {
        const char* text;
        int16_t kind;
        int32_t fw;
        Lookup out;
    } rows[] = {
        // single-tone
        {"1", 3, 0, {1, 4, 20492, 0, 29762, 32468, 0}},
        {"2", 3, 0, {2, 4, 21552, 0, 30488, 29762, 0}},
        {"3", 3, 0, {3, 4, 22124, 0, 31250, 30488, 0}},
        {"4", 3, 0, {4, 4, 22727, 0, 31847, 31250, 0}},
        {"5", 3, 0, {5, 4, 23364, 0, 32468, 31847, 0}},
        {"6", 3, 0, {6, 4, 24038, 0, 27173, 29070, 0}},
        {"7", 3, 0, {7, 4, 24510, 0, 27777, 27173, 0}},
        {"8", 3, 0, {8, 4, 25000, 0, 28409, 27777, 0}},
        {"9", 3, 0, {9, 4, 26042, 0, 29070, 28409, 0}},
        {"11", 3, 0, {11, 4, 21552, 0, 27173, 32468, 0}},
        {"22", 3, 0, {22, 4, 22727, 0, 28409, 27173, 0}},
        {"33", 3, 0, {33, 4, 23923, 0, 29762, 28409, 0}},
        {"44", 3, 0, {44, 4, 25126, 0, 31250, 29762, 0}},
        {"55", 3, 0, {55, 4, 26455, 0, 32468, 31250, 0}},
        // dual-tone, every reply pair: odd tens digit, then even
        {"31", 3, 0, {31, 5, 22000, 21000, 28750, 29250, 0}},
        {"12", 3, 0, {12, 5, 21000, 21500, 29250, 29750, 0}},
        {"13", 3, 0, {13, 5, 21000, 22000, 29750, 30250, 0}},
        {"14", 3, 0, {14, 5, 21000, 22500, 30250, 28750, 0}},
        {"15", 3, 0, {15, 5, 21000, 23000, 30750, 27250, 0}},
        {"16", 3, 0, {16, 5, 21000, 23500, 27250, 27750, 0}},
        {"17", 3, 0, {17, 5, 21000, 24000, 27750, 28250, 0}},
        {"78", 3, 0, {78, 5, 24000, 24500, 28250, 30750, 0}},
        {"21", 3, 0, {21, 5, 21500, 21000, 28500, 29000, 0}},
        {"42", 3, 0, {42, 5, 22500, 21500, 29000, 29500, 0}},
        {"23", 3, 0, {23, 5, 21500, 22000, 29500, 30000, 0}},
        {"24", 3, 0, {24, 5, 21500, 22500, 30000, 28500, 0}},
        {"25", 3, 0, {25, 5, 21500, 23000, 30500, 27000, 0}},
        {"26", 3, 0, {26, 5, 21500, 23500, 27000, 27500, 0}},
        {"87", 3, 0, {87, 5, 24500, 24000, 27500, 28000, 0}},
        {"28", 3, 0, {28, 5, 21500, 24500, 28000, 30500, 0}},
        // no tones
        {"0", 3, 0, {0, 8, 0, 0, 0, 0, 0}},
        {"10", 3, 0, {10, 0, 0, 0, 0, 0, 0}},
        {"66", 3, 0, {66, 0, 0, 0, 0, 0, 0}},
        {"99", 3, 0, {99, 0, 0, 0, 0, 0, 0}},
        // firmware adjustments
        {"10", 3, 89, {10, 0, 0, 0, 0, 0, 0}},
        {"10", 3, 90, {10, 6, 0, 0, 0, 0, 0}},
        {"99", 3, 328, {99, 6, 0, 0, 0, 0, 0}},
        {"66", 2, 90, {66, 6, 0, 0, 0, 0, 0}},
        {"11", 3, 90, {11, 4, 21552, 0, 27173, 32468, 0}},
        {"10", 3, 329, {10, 0, 0, 0, 0, 0, 0}},
        {"10", 3, 380, {10, 10, 0, 0, 0, 0, 0}},
        {"90", 1, 452, {90, 10, 0, 0, 0, 0, 0}},
        {"19", 3, 380, {19, 0, 0, 0, 0, 0, 0}},
        {"99", 3, 380, {99, 0, 0, 0, 0, 0, 0}},
        {"10", 3, 453, {10, 0, 0, 0, 0, 0, 0}},
        // D family: 1-3 only
        {"0", 3, 329, {0, 0, 0, 0, 0, 0, 0}},
        {"3", 1, 379, {3, 4, 22124, 0, 31250, 30488, 0}},
        {"4", 3, 329, {4, 0, 0, 0, 0, 0, 0}},
        // parsing
        {"H12", 3, 0, {12, 5, 21000, 21500, 29250, 29750, 0}},
        {" b12 ", 3, 0, {12, 5, 21000, 21500, 29250, 29750, 0}},
        {"12X", 3, 0, {12, 5, 21000, 21500, 29250, 29750, 0}},
        {"1H2", 3, 0, {1, 4, 20492, 0, 29762, 32468, 0}},
        {"12345", 3, 0, {1234, 0, 0, 0, 0, 0, 0}},
        {"", 3, 0, {-7, -7, -7, -7, -7, -7, 15}},
        {"X1", 3, 0, {-7, -7, -7, -7, -7, -7, 15}},
        {"-5", 3, 0, {-7, -7, -7, -7, -7, -7, 15}},
        {" 255", 2, 0, {255, -7, -7, -7, -7, -7, 0}},
        {"255", 3, 0, {255, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& r : rows) {
        clsChannel c;
        const Lookup l = Look(c, r.text, r.kind, r.fw);
        SCOPED_TRACE(std::string("\"") + r.text + "\" kind " + std::to_string(r.kind) + " fw " + std::to_string(r.fw));
        EXPECT_EQ(l.number, r.out.number);
        EXPECT_EQ(l.type, r.out.type);
        EXPECT_EQ(l.int1, r.out.int1);
        EXPECT_EQ(l.int2, r.out.int2);
        EXPECT_EQ(l.reply1, r.out.reply1);
        EXPECT_EQ(l.reply2, r.out.reply2);
        EXPECT_EQ(l.result, r.out.result);
        if (r.out.type != -7) {
            EXPECT_EQ(c.ChanType(), r.out.type);
        }
    }
}

TEST(Channel, LookupWithoutAChannelSetKeepsTheLastOne)
{
    clsChannel c;
    Look(c, "12", 3, 0);
    const Lookup none = Look(c, "10", 2, 380); // no dual-mode channels under this firmware
    EXPECT_EQ(none.number, 10);
    EXPECT_EQ(none.type, 5);
    EXPECT_EQ(none.int2, 21500);
    const Lookup outside = Look(c, "100", 3, 0);
    EXPECT_EQ(outside.type, 0);
    EXPECT_EQ(outside.reply2, 29750);
}

TEST(Channel, ListTextOfTheLookedUpType)
{
    const struct {
        int16_t channel;
        int32_t fw;
        const char* text;
    } rows[] = {
        {0, 0, "  00   Endcap only"}, {5, 0, "H05   HPR300"}, {12, 0, "B12   HPR400"},
        {10, 0, "  10   Illegal"},     {10, 90, "S10   Orvane"}, {10, 380, ""},
    };
    for (const auto& r : rows) {
        clsChannel c;
        Look(c, std::to_string(r.channel), 3, r.fw);
        EXPECT_EQ(CommonProcs::ChanListText(r.channel, c.ChanType()), r.text) << r.channel << " fw " << r.fw;
    }
}

TEST(Channel, EnableOKAndChannelSetsAtFirmwareBoundaries)
{
    const struct {
        int32_t fw;
        const char* enable; // kinds 0-3
        int16_t max1, max2, max3;
    } rows[] = {
        {0, "FFFF", 99, 0, 99},    {1, "FTFF", 99, 0, 99},    {3, "FTFF", 99, 0, 99},    {4, "FTTT", 99, 0, 99},
        {34, "FTTT", 99, 0, 99},   {35, "FTFF", 99, 0, 99},   {37, "FTFF", 99, 0, 99},   {38, "FTTF", 99, 99, 99},
        {39, "FTTT", 99, 99, 99},  {194, "FTTT", 99, 99, 99}, {195, "FTFF", 99, 0, 99},  {198, "FTFF", 99, 0, 99},
        {199, "FTTT", 99, 99, 99}, {328, "FTTT", 99, 99, 99}, {329, "FTTT", 3, 0, 3},    {379, "FTTT", 3, 0, 3},
        {380, "FFFT", 99, 0, 99},  {452, "FFFT", 99, 0, 99},  {453, "FTTT", 99, 99, 99}, {454, "FTFF", 99, 0, 99},
    };
    const clsChannel c;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.fw);
        for (int16_t kind = 0; kind <= 3; ++kind) {
            EXPECT_EQ(c.EnableOK(r.fw, kind), r.enable[kind] == 'T') << "kind " << kind;
        }
        EXPECT_EQ(c.GetMaxElement(1, r.fw), r.max1);
        EXPECT_EQ(c.GetMaxElement(2, r.fw), r.max2);
        EXPECT_EQ(c.GetMaxElement(3, r.fw), r.max3);
        EXPECT_EQ(c.GetMaxElement(0, r.fw), 0);
    }
}

TEST(Channel, KindIndexOutsideZeroToThreeIsARangeError)
{
    clsChannel c;
    c.OKToWrite(3, true);
    EXPECT_TRUE(c.OKToWrite(3));
    for (const int16_t bad : {-1, 4}) {
        EXPECT_EQ(ErrorOf([&] { c.ReadOK(bad); }), ErrNo::SubscriptOutOfRange) << bad;
        EXPECT_THROW(c.HasBeenRead(bad, true), VBError);
        EXPECT_THROW(c.EnableOK(100, bad), VBError);
    }
}

TEST(Channel, ReadFrames)
{
    const struct {
        int16_t kind;
        std::string wire;
        int16_t rx;
        const char* status;
    } rows[] = {
        {1, Bytes({'!', 'P', 0, 0, 0, 3, 0, 0, 0}), 3, "!P 00 00 00 03 00 00 00 "},
        {2, Bytes({'!', 'R', 0xA0, 4, 7, 1, 0}), 1, "!R A0 04 07 01 00 "},
        {3, Bytes({'!', 'R', 0xA0, 4, 8, 1, 0}), 1, "!R A0 04 08 01 00 "},
    };
    for (const auto& r : rows) {
        clsChannel c;
        TpdrCommand frame;
        int16_t tx = -1, rx = -1;
        c.ReadEncode(frame, tx, rx, r.kind);
        EXPECT_EQ(Wire(frame, tx), r.wire) << r.kind;
        EXPECT_EQ(tx, static_cast<int16_t>(r.wire.size()));
        EXPECT_EQ(rx, r.rx);
        EXPECT_EQ(c.StatusBarText(), r.status);
    }
}

TEST(Channel, WriteFrames)
{
    const std::string none;
    const struct {
        int16_t kind, channel;
        std::string wire; // empty: no frame, no exchange
    } rows[] = {
        {2, 255, Bytes({'!', 'W', 0xA0, 4, 7, 1, 0xFF})}, {2, 12, Bytes({'!', 'W', 0xA0, 4, 7, 1, 0x12})},
        {2, 0, Bytes({'!', 'W', 0xA0, 4, 7, 1, 0x00})},   {3, 7, Bytes({'!', 'F', 0, 0, 0, 1, 0x07})},
        {3, 45, Bytes({'!', 'F', 0, 0, 0, 1, 0x45})},     {3, 99, Bytes({'!', 'F', 0, 0, 0, 1, 0x99})},
        {3, 100, none}, {3, -1, none}, {3, 255, none}, {2, 100, none}, {2, -1, none},
    };
    for (const auto& r : rows) {
        clsChannel c;
        (r.kind == 2 ? c.DualModeChan(r.channel) : c.RS232Chan(r.channel));
        TpdrCommand frame;
        int16_t tx = -1, rx = -1;
        c.WriteEncode(frame, tx, rx, r.kind, true);
        SCOPED_TRACE("kind " + std::to_string(r.kind) + " channel " + std::to_string(r.channel));
        EXPECT_EQ(Wire(frame, tx), r.wire);
        EXPECT_EQ(tx, static_cast<int16_t>(r.wire.size()));
        EXPECT_EQ(rx, r.wire.empty() ? 0 : 1);
    }
    clsChannel c;
    c.RS232Chan(23);
    TpdrCommand frame;
    int16_t tx = 0, rx = 0;
    c.WriteEncode(frame, tx, rx, 3, false);
    EXPECT_EQ(c.StatusBarText(), "!F 00 00 00 01 23 ");
}

TEST(Channel, KindWithoutAFrameShowsTheBox)
{
    ScriptedDialogs boxes;
    clsChannel c;
    TpdrCommand frame;
    int16_t tx = -1, rx = -1;
    for (const int16_t kind : {0, 4}) {
        boxes.Answer(MsgBoxResult::OK);
        c.ReadEncode(frame, tx, rx, kind);
        EXPECT_EQ(tx, 0);
    }
    for (const int16_t kind : {1, 4}) {
        boxes.Answer(MsgBoxResult::OK);
        c.WriteEncode(frame, tx, rx, kind, true);
        EXPECT_EQ(tx, 0);
        EXPECT_EQ(rx, 0);
    }
    const ShownBox read{"Invalid Parameter in clsChannel's Sub ReadEncode().", 48, "Channel Parameter Error"};
    const ShownBox write{"Invalid Parameter in clsChannels's Sub WriteEncode().", 48, "Channel Parameter Error"};
    EXPECT_EQ(boxes.Boxes(), (std::vector<ShownBox>{read, read, write, write}));
}

int16_t Field(const clsChannel& c, int16_t kind)
{
    return kind == 1 ? c.EndcapChan() : kind == 2 ? c.DualModeChan() : c.RS232Chan();
}

TEST(Channel, ReadDecode)
{
    const struct {
        std::string reply;
        int16_t kind;
        int32_t fw;
        int32_t result;
        int16_t channel; // 42: left as it was
        const char* status;
    } rows[] = {
        {Bytes({0xFF}), 2, 100, 0, 255, "FF "},
        {Bytes({0x12}), 2, 100, 0, 12, "12 "},
        {Bytes({0x45}), 2, 380, 16, 45, "45 "}, // no dual-mode channels: the fresh lookup type
        {Bytes({0x00}), 3, 100, 17, 0, "00 "},
        {Bytes({0, 0, 0}), 1, 100, 0, 0, "00 00 00 "},
        {Bytes({0x10}), 3, 1, 16, 10, "10 "},
        {Bytes({0x10}), 3, 90, 0, 10, "10 "},
        {Bytes({0x10}), 3, 380, 0, 10, "10 "},
        {Bytes({0x99}), 3, 0, 16, 99, "99 "},
        {Bytes({0x03}), 3, 329, 0, 3, "03 "},
        {Bytes({0, 0, 3}), 1, 379, 0, 3, "00 00 03 "},
        {Bytes({0, 0, 0}), 1, 329, 16, 0, "00 00 00 "},
        {Bytes({0, 0, 4}), 1, 329, 16, 4, "00 00 04 "},
        // not a channel byte, short and garbage replies
        {Bytes({0xFF}), 3, 100, 19, 42, "FF "},
        {Bytes({0x1A}), 3, 100, 19, 42, "1A "},
        {Bytes({0xA1}), 2, 100, 19, 42, "A1 "},
        {"", 3, 100, 19, 42, ""},
        {"", 1, 100, 19, 42, ""},
        {Bytes({0x12, 0x34}), 1, 100, 19, 42, "12 34 "},
        {Bytes({1, 2, 0x12, 0x34}), 1, 100, 0, 12, "01 02 12 "},
        {"?", 3, 100, 19, 42, "3F "},
        {Bytes({0xDE, 0xAD, 0xBE, 0xEF}), 1, 100, 19, 42, "DE AD BE "},
    };
    for (const auto& r : rows) {
        clsChannel c;
        c.EndcapChan(42);
        c.DualModeChan(42);
        c.RS232Chan(42);
        c.ReadOK(r.kind, true);
        c.OKToWrite(r.kind, true);
        SCOPED_TRACE("\"" + Sim::FrameText("  " + r.reply) + "\" kind " + std::to_string(r.kind) + " fw " +
                     std::to_string(r.fw));
        EXPECT_EQ(c.ReadDecode(r.reply, r.kind, r.fw), r.result);
        EXPECT_EQ(Field(c, r.kind), r.channel);
        const bool ok = r.result == 0 || r.result == 19; // 19 leaves the flags too
        EXPECT_EQ(c.ReadOK(r.kind), ok);
        EXPECT_EQ(c.OKToWrite(r.kind), ok);
        EXPECT_EQ(c.StatusBarText(), r.status);
    }
}

TEST(Channel, WriteDecode)
{
    const struct {
        std::string reply;
        int16_t rx;
        int32_t result;
        const char* status;
    } rows[] = {
        {"?", 1, 0, "?"},   {" ? ", 3, 0, "?"},  {"?x", 1, 0, "?"},          {"x?", 1, 21, "78"},
        {"!", 1, 21, "21"}, {"", 1, 21, ""},     {Bytes({0x05}), 1, 21, "5"}, {Bytes({0xFF}), 1, 21, "FF"},
        {"?", 0, 21, "3F"}, {"?", -1, 21, "3F"},
    };
    for (const auto& r : rows) {
        clsChannel c;
        EXPECT_EQ(c.WriteDecode(r.reply, r.rx), r.result) << '"' << r.reply << "\" " << r.rx;
        EXPECT_EQ(c.WriteOK(), r.result == 0);
        EXPECT_EQ(c.StatusBarText(), r.status);
    }
}

TEST(Channel, IsHPRChannel)
{
    const struct {
        int16_t channel;
        bool orvane;
        int32_t fw;
        bool result;
        const char *prefix, *id, *postfix; // "p", "i", "q": left as passed
    } rows[] = {
        {0, false, 0, true, "p", "i", "q"},      {1, false, 0, true, "B", "i", "q"},
        {11, false, 0, true, "B", " (Square)", "q"}, {22, false, 0, true, "B", " (Circle)", "q"},
        {33, false, 0, true, "B", " (Delta)", "q"},  {44, false, 0, true, "B", " (X)", "q"},
        {55, false, 0, true, "B", " (Y)", "q"},      {12, false, 0, true, "B", "i", "q"},
        {10, true, 0, false, "p", "i", "q"},         {10, false, 90, false, "p", "i", "q"},
        {10, true, 90, true, "S", "i", "  Orvane"},  {10, true, 380, false, "p", "i", "q"},
        {100, true, 0, false, "p", "i", "q"},
    };
    for (const auto& r : rows) {
        clsChannel c;
        std::string prefix = "p", id = "i", postfix = "q";
        EXPECT_EQ(c.IsHPRChannel(r.channel, prefix, id, r.orvane, r.fw, postfix), r.result) << r.channel;
        EXPECT_EQ(prefix + "|" + id + "|" + postfix, std::string(r.prefix) + "|" + r.id + "|" + r.postfix)
            << r.channel << " fw " << r.fw;
    }
}

// A channel list filled as the main window fills it: pieces start empty for every channel.
std::vector<std::string> HPRList(clsChannel& c, bool orvane, int32_t fw)
{
    std::vector<std::string> list;
    for (int16_t n = 0; n <= 99; ++n) {
        std::string prefix, id, postfix;
        if (c.IsHPRChannel(n, prefix, id, orvane, fw, postfix)) {
            list.push_back(prefix + CommonProcs::ZeroPad(std::to_string(n), 2) + id + postfix);
        }
    }
    return list;
}

TEST(Channel, HPRListsHoldNoPieceOfAnotherChannel)
{
    clsChannel c;
    const auto hpr = HPRList(c, false, 0);
    ASSERT_EQ(hpr.size(), 71u); // 0, 14 single-tone, 56 dual-tone
    EXPECT_EQ((std::vector<std::string>(hpr.begin(), hpr.begin() + 12)),
              (std::vector<std::string>{"00", "B01", "B02", "B03", "B04", "B05", "B06", "B07", "B08", "B09",
                                        "B11 (Square)", "B12"}));
    const auto programmed = HPRList(c, true, 90);
    ASSERT_EQ(programmed.size(), 100u);
    EXPECT_EQ((std::vector<std::string>(programmed.begin() + 9, programmed.begin() + 13)),
              (std::vector<std::string>{"B09", "S10  Orvane", "B11 (Square)", "B12"}));
}

TEST(Channel, TestChannelArrayIsACopy)
{
    clsChannel c;
    std::vector<int16_t> got{9, 9};
    c.TestChanArrayRead(got);
    EXPECT_TRUE(got.empty());
    std::vector<int16_t> list{-1};
    c.TestChanArrayWrite(list);
    list[0] = 5;
    c.TestChanArrayRead(got);
    EXPECT_EQ(got, std::vector<int16_t>{-1});
    c.TestChanArrayWrite({12, 3, 87});
    c.TestChanArrayRead(got);
    EXPECT_EQ(got, (std::vector<int16_t>{12, 3, 87}));
}

class ChannelLink : public LinkFixture {};

TEST_F(ChannelLink, WritesAndReadsBackEachWritableChannel)
{
    const struct {
        int16_t kind, channel;
        std::string frame;
        uint8_t p3; // where the transponder keeps it, at A0 04 p3
        uint8_t stored;
    } rows[] = {
        {2, 255, Bytes({'!', 'W', 0xA0, 4, 7, 1, 0xFF}), 7, 0xFF},
        {2, 34, Bytes({'!', 'W', 0xA0, 4, 7, 1, 0x34}), 7, 0x34},
        {3, 45, Bytes({'!', 'F', 0, 0, 0, 1, 0x45}), 8, 0x45},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.kind);
        model.ClearFrames();
        clsChannel c;
        (r.kind == 2 ? c.DualModeChan(r.channel) : c.RS232Chan(r.channel));
        TpdrCommand frame;
        int16_t tx = 0, rx = 0;
        c.WriteEncode(frame, tx, rx, r.kind, true);
        EXPECT_EQ(c.WriteDecode(Exchange(frame, tx, rx), rx), 0);
        EXPECT_EQ(model.Peek(false, 0xA0, 0x04, r.p3), r.stored);

        clsChannel back;
        back.ReadEncode(frame, tx, rx, r.kind);
        EXPECT_EQ(back.ReadDecode(Exchange(frame, tx, rx), r.kind, 100), 0);
        EXPECT_EQ(Field(back, r.kind), r.channel);
        EXPECT_EQ(model.Frames(), (std::vector<std::string>{r.frame, Wire(frame, tx)}));
    }

    model.knobs.refuseWrites = true;
    clsChannel c;
    c.RS232Chan(7);
    TpdrCommand frame;
    int16_t tx = 0, rx = 0;
    c.WriteEncode(frame, tx, rx, 3, true);
    EXPECT_EQ(c.WriteDecode(Exchange(frame, tx, rx), rx), 21);
    EXPECT_EQ(c.StatusBarText(), "21");
    EXPECT_EQ(model.Peek(false, 0xA0, 0x04, 0x08), 0x45);
}

TEST_F(ChannelLink, ReadsTheEndcapSwitch)
{
    model.portBytes = Bytes({0x80, 0x01, 0x23});
    clsChannel c;
    TpdrCommand frame;
    int16_t tx = 0, rx = 0;
    c.ReadEncode(frame, tx, rx, 1);
    EXPECT_EQ(c.ReadDecode(Exchange(frame, tx, rx), 1, 100), 0);
    EXPECT_EQ(c.EndcapChan(), 23);
    EXPECT_EQ(model.Frames(), std::vector<std::string>{Bytes({'!', 'P', 0, 0, 0, 3, 0, 0, 0})});
}

} // namespace
