#include "clsFirmware.h"
#include "frames.h"
#include "clsGeneral.h"
#include "link_fixture.h"
#include "error_of.h"
#include "vberror.h"

#include <cmath>
#include <functional>

namespace {

ShownBox ParamBox(const std::string& where)
{
    return {"Invalid Parameter in clsGeneral's " + where + "().", 48, "General Parameter Error"};
}

double Value(const clsGeneral& g, int32_t param)
{
    switch (param) {
    case 1: return g.Gain();
    case 2: return g.Address();
    case 3: return g.Identity();
    case 4: return g.TAT();
    case 5: return g.PulseWidth();
    case 6: return g.Block();
    case 7: return g.RelayOnTime();
    case 8: return g.ChannelCode();
    case 9: return g.PowerLevel();
    default: return g.VariableTAT();
    }
}

void SetValue(clsGeneral& g, int32_t param, double v)
{
    const auto i = [v] { return static_cast<int16_t>(v); };
    const auto f = static_cast<float>(v);
    switch (param) {
    case 1: g.Gain(i()); break;
    case 2: g.Address(i()); break;
    case 3: g.Identity(i()); break;
    case 4: g.TAT(f); break;
    case 5: g.PulseWidth(f); break;
    case 6: g.Block(f); break;
    case 7: g.RelayOnTime(f); break;
    case 8: g.ChannelCode(i()); break;
    case 9: g.PowerLevel(i()); break;
    default: g.VariableTAT(f); break;
    }
}

class GeneralTest : public ::testing::Test {
protected:
    GeneralTest() { TpdrFirmware.FWVersion(416); } // V2.05F

    clsGeneral gen;
    ScriptedDialogs boxes;
    TpdrCommand cmd;
    int16_t count = -1;
    int16_t replyLen = -1;
};

// Items 1 to 12, "x" enabled; 0, 13 and -1 are never enabled.
TEST_F(GeneralTest, EnableOKAtEveryRangeBoundary)
{
    const struct {
        int32_t fw;
        const char* items;
    } rows[] = {
        {-1, "............"}, {0, "............"}, {1, "............"}, {34, "............"},
        {35, "............"}, {38, "............"}, {39, "xxxxxx....x."}, {60, "xxxxxx....x."},
        {61, "............"}, {62, "............"}, {63, "xxxxxx....x."}, {120, "xxxxxx....x."},
        {121, "xxxxxxx...x."}, {122, "xxxxxxxx..x."}, {151, "xxxxxxxx..x."}, {152, "xxxxxxxx.xx."},
        {153, "xxxxxxxx..x."}, {194, "xxxxxxxx..x."}, {195, "............"}, {196, "............"},
        {197, "xxxxxx....x."}, {227, "xxxxxx....x."}, {228, "xxxxxx.x..x."}, {328, "xxxxxx.x..x."},
        {329, "xxxxxxxx..x."}, {330, "............"}, {379, "............"}, {380, "x.xxxx..x.xx"},
        {441, "x.xxxx..x.xx"}, {442, "x.xxxx..xxxx"}, {452, "x.xxxx..xxxx"}, {453, "xxxxxxxxxxxx"},
        {454, "............"},
    };
    for (const auto& row : rows) {
        std::string got;
        for (int32_t item = 1; item <= 12; ++item) {
            got += gen.EnableOK(row.fw, item) ? 'x' : '.';
        }
        EXPECT_EQ(got, row.items) << "firmware " << row.fw;
        for (const int32_t item : {-1, 0, 13}) {
            EXPECT_FALSE(gen.EnableOK(row.fw, item)) << row.fw << " item " << item;
        }
    }
}

TEST_F(GeneralTest, ReadFramesAndStatusText)
{
    const struct {
        int32_t fw;
        int32_t group;
        const char* hex; // P1 to the pad bytes; "" = no frame
        int16_t replyLen;
    } rows[] = {
        {416, 0, "E0 00 00 01 00", 1},
        {416, 1, "E0 00 01 01 00", 1},
        {416, 2, "E0 00 02 06 00 00 00 00 00 00", 6},
        {416, 3, "E0 00 08 01 00", 1},
        {416, 4, "E0 00 09 01 00", 1},
        {416, 5, "E0 00 0A 01 00", 1},
        {152, 6, "E0 00 0A 02 00 00", 2},
        {441, 6, "E0 00 0A 02 00 00", 2},
        {442, 6, "E0 00 0B 02 00 00", 2},
        {452, 6, "E0 00 0B 02 00 00", 2},
        {453, 6, "E0 00 0A 02 00 00", 2},
        {416, -1, "", 0},
        {416, 7, "", 0},
    };
    for (const auto& row : rows) {
        TpdrFirmware.FWVersion(row.fw);
        gen.ReadEncode(cmd, count, replyLen, row.group);
        const std::string hex = row.hex;
        const std::string frame = hex.empty() ? "" : "!R" + Bytes(hex);
        EXPECT_EQ(Joined(cmd), frame) << "group " << row.group << " fw " << row.fw;
        EXPECT_EQ(count, static_cast<int16_t>(frame.size())) << row.group;
        EXPECT_EQ(replyLen, row.replyLen) << row.group;
        EXPECT_EQ(gen.StatusBarText(), hex.empty() ? "" : "!R " + hex + " ") << row.group;
    }
}

TEST_F(GeneralTest, WriteFramesAtTiesAndBothGainCodings)
{
    const struct {
        int32_t fw;
        int32_t param;
        bool fsmGain;
        double value;
        const char* hex; // P1 to the data bytes
    } rows[] = {
        {416, 1, true, 1, "E0 00 00 01 FF"},  {416, 1, true, 0, "E0 00 00 01 00"},
        {416, 1, true, 3, "E0 00 00 01 00"},  {416, 1, false, 0, "E0 00 00 01 09"},
        {416, 1, false, 1, "E0 00 00 01 08"}, {416, 1, false, 2, "E0 00 00 01 0A"},
        {416, 1, false, 3, "E0 00 00 01 0B"}, {416, 1, false, -1, "E0 00 00 01 08"},
        {416, 2, false, 47, "E0 00 01 01 2F"},
        {416, 3, false, 0, "E0 00 02 01 44"}, {416, 3, false, 1, "E0 00 02 01 4F"},
        {416, 3, false, 2, "E0 00 02 01 52"}, {416, 3, false, -1, "E0 00 02 01 4F"},
        {416, 4, false, 62.5, "E0 00 03 02 06 06"},   // 1541.5 -> 1542
        {416, 4, false, 187.5, "E0 00 03 02 12 3A"},  // 4666.5 -> 4666
        {416, 4, false, 62.54, "E0 00 03 02 06 06"},  // 1542.50002 held as 1542.5 -> 1542
        {416, 4, false, 875.0, "E0 00 03 02 55 5E"},
        {416, 5, false, 4.0, "E0 00 05 01 64"}, {416, 5, false, 8.0, "E0 00 05 01 C8"},
        {416, 5, false, 7.5, "E0 00 05 01 BC"}, // 187.5 -> 188
        {416, 5, false, 8.5, "E0 00 05 01 D4"}, // 212.5 -> 212
        {416, 5, false, 9.5, "E0 00 05 01 EE"}, // 237.5 -> 238
        {416, 5, false, 4.5, "E0 00 05 01 70"}, // 112.5 -> 112
        {416, 6, false, 0.5, "E0 00 06 02 18 6A"}, {416, 6, false, 5.0, "E0 00 06 02 F4 24"},
        {416, 7, false, 30.0, "E0 00 08 01 39"},   {416, 7, false, 0.2, "E0 00 08 01 01"},
        {416, 7, false, 66.5861, "E0 00 08 01 7F"}, {416, 7, false, 100.0, "E0 00 08 01 7F"},
        {416, 8, false, 14, "E0 00 09 01 0E"},
        {416, 9, false, 1, "E0 00 0A 01 FF"}, {416, 9, false, -1, "E0 00 0A 01 00"},
        {453, 10, false, 10.0, "E0 00 0A 02 00 F7"},
        {453, 10, false, 12.5, "E0 00 0A 02 01 36"}, // 309.5 -> 310
        {453, 10, false, 17.5, "E0 00 0A 02 01 B2"}, // 434.5 -> 434
        {445, 10, false, 125.0, "E0 00 0B 02 0C 32"}, {152, 10, false, 30.0, "E0 00 0A 02 02 EB"},
    };
    for (const auto& row : rows) {
        TpdrFirmware.FWVersion(row.fw);
        SetValue(gen, row.param, row.value);
        gen.WriteEncode(cmd, count, replyLen, row.param, row.fsmGain);
        const std::string hex = row.hex;
        const std::string frame = "!W" + Bytes(hex);
        EXPECT_EQ(Joined(cmd), frame) << "param " << row.param << ": " << hex;
        EXPECT_EQ(count, static_cast<int16_t>(frame.size())) << hex;
        EXPECT_EQ(replyLen, 1) << hex;
        EXPECT_EQ(gen.StatusBarText(), "!W " + hex + " ");
    }
}

TEST_F(GeneralTest, EncodersRaiseOverflowForValuesOutsideTheirByteOrWord)
{
    const struct {
        int32_t param;
        double value;
    } rows[] = {
        {2, 256}, {2, -1}, {8, 256},
        {4, 2700.0} /* 67479 */, {4, 0.0} /* -21 */, {4, NAN},
        {5, 10.3} /* 257.5 */, {5, -1.0}, {6, 6.0} /* 75000 */, {6, -0.5},
        {7, 1e9}, {10, 3000.0}, {10, 0.0} /* -3 */,
    };
    for (const auto& row : rows) {
        clsGeneral g;
        SetValue(g, row.param, row.value);
        const TpdrCommand before = MakeFrame('X', 1, 2, 3, "");
        cmd = before;
        count = 5;
        EXPECT_EQ(ErrorOf([&] { g.WriteEncode(cmd, count, replyLen, row.param, false); }), ErrNo::Overflow)
            << "param " << row.param << " value " << row.value;
        EXPECT_EQ(cmd, before);
        EXPECT_EQ(count, 5);
    }
}

TEST_F(GeneralTest, ParameterNumbersOutsideOneToTenShowTheirBoxes)
{
    for (const int32_t p : {0, 11}) {
        for (int i = 0; i < 4; ++i) {
            boxes.Answer(MsgBoxResult::OK);
        }
        cmd = MakeFrame('X', 1, 2, 3, "");
        gen.WriteEncode(cmd, count, replyLen, p, false);
        EXPECT_EQ(Joined(cmd), "");
        EXPECT_EQ(count, 0);
        EXPECT_EQ(gen.ToolTip(p, 416), "");
        gen.ChangedParam(p);
        EXPECT_EQ(boxes.Boxes(), (std::vector<ShownBox>{ParamBox("Sub WriteEncode"), ParamBox("Function ToolTip"),
                                                       ParamBox("Sub ChangedParam"), ParamBox("Sub ValidCheck")}));
        boxes.Clear();
    }
    EXPECT_EQ(ErrorOf([&] { gen.ReadOK(12); }), ErrNo::SubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { gen.OKToWrite(-1, true); }), ErrNo::SubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { gen.WriteOK(11); }), ErrNo::SubscriptOutOfRange);
    EXPECT_EQ(ErrorOf([&] { gen.ReadOK(11, true); gen.WriteOK(10, true); }), 0);
}

// Each row: the values of the group's parameters in order and their validity ("x" valid).
TEST_F(GeneralTest, DecodersAtTheirValidLimitsAndBeyond)
{
    const struct {
        int32_t fw;
        int32_t group;
        bool fsmGain;
        const char* reply;
        std::vector<double> values;
        const char* valid;
    } rows[] = {
        {416, 0, false, "09", {0}, "x"}, {416, 0, false, "08", {1}, "x"}, {416, 0, false, "0A", {2}, "x"},
        {416, 0, false, "0B", {3}, "x"}, {416, 0, false, "0C", {-1}, "."}, {416, 0, false, "00", {-1}, "."},
        {416, 0, true, "00", {0}, "x"},  {416, 0, true, "FF", {1}, "x"},   {416, 0, true, "08", {-1}, "."},
        {416, 1, false, "01", {1}, "x"}, {416, 1, false, "3F", {63}, "x"}, {416, 1, false, "00", {0}, "."},
        {416, 1, false, "40", {64}, "."},
        {416, 2, false, "44 06 06 64 18 6A", {0, 62.52, 4.0, 0.5}, "xxxx"},
        {416, 2, false, "52 06 05 FA F4 24", {2, 62.48, 10.0, 5.0}, "x.xx"},
        {416, 2, false, "4F 55 5E 63 18 69", {1, 875.0, 3.96, 0.49992}, "xx.."},
        {416, 2, false, "C8 55 5F FB F4 25", {-1, 875.04, 10.04, 5.00008}, "...."},
        {416, 2, false, "64 FF FF FF FF FF", {-1, 2622.24, 10.2, 5.2428}, "...."}, // bytes stay unsigned
        {416, 3, false, "01", {0.5243}, "x"}, {416, 3, false, "7F", {66.5861}, "x"},
        {416, 3, false, "00", {0}, "."},      {416, 3, false, "80", {67.1104}, "."},
        {416, 4, false, "00", {0}, "x"},  {416, 4, false, "0E", {14}, "x"}, {416, 4, false, "0F", {15}, "."},
        {416, 5, false, "00", {0}, "x"},  {416, 5, false, "FF", {1}, "x"},  {416, 5, false, "01", {-1}, "."},
        {152, 6, false, "00 F7", {10.0}, "x"},  {152, 6, false, "00 F6", {9.96}, "."},
        {152, 6, false, "02 EB", {30.0}, "x"},  {453, 6, false, "02 EC", {30.04}, "."},
        {445, 6, false, "0C 32", {125.0}, "x"}, {445, 6, false, "0C 33", {125.04}, "."},
        {453, 6, false, "0C 32", {125.0}, "."}, {453, 6, false, "FF FF", {2621.52}, "."},
        {453, 6, false, "00 F7 3F", {10.0}, "x"}, // a byte more than asked for
    };
    for (const auto& row : rows) {
        TpdrFirmware.FWVersion(row.fw);
        clsGeneral g;
        const std::string hex = row.reply;
        g.ReadDecode(Bytes(hex), row.group, row.fsmGain);
        const int32_t first = row.group < 2 ? row.group + 1 : row.group == 2 ? 3 : row.group + 4;
        for (size_t k = 0; k < row.values.size(); ++k) {
            const int32_t p = first + static_cast<int32_t>(k);
            EXPECT_NEAR(Value(g, p), row.values[k], 1e-4) << hex << " param " << p;
            EXPECT_EQ(g.ReadOK(p), row.valid[k] == 'x') << hex << " param " << p;
            EXPECT_EQ(g.OKToWrite(p), row.valid[k] == 'x') << hex << " param " << p;
        }
        EXPECT_EQ(g.StatusBarText(), hex + " ");
    }
}

TEST_F(GeneralTest, ShortRepliesClearTheGroupsFlagsAndChangeNoValue)
{
    const struct {
        int32_t group;
        const char* reply;
        int32_t first;
        int32_t last;
    } rows[] = {
        {0, "", 1, 1}, {1, "", 2, 2}, {2, "4F 06 06 64 18", 3, 6}, {3, "", 7, 7},
        {4, "", 8, 8}, {5, "", 9, 9}, {6, "00", 10, 10},
        {7, "FF 01", 0, -1}, {-1, "09", 0, -1}, // no such group: nothing decoded
    };
    for (const auto& row : rows) {
        clsGeneral g;
        for (int32_t p = 0; p <= 11; ++p) {
            g.ReadOK(p, true);
            g.OKToWrite(p, true);
        }
        const std::string hex = row.reply;
        g.ReadDecode(Bytes(hex), row.group, false);
        for (int32_t p = 1; p <= 10; ++p) {
            const bool inGroup = p >= row.first && p <= row.last;
            EXPECT_EQ(g.ReadOK(p), !inGroup) << "group " << row.group << " param " << p;
            EXPECT_EQ(g.OKToWrite(p), !inGroup) << "group " << row.group << " param " << p;
            EXPECT_EQ(Value(g, p), 0) << "group " << row.group << " param " << p;
        }
        EXPECT_EQ(g.StatusBarText(), hex.empty() ? "" : hex + " ");
    }
}

// Blocking period and relay-on time are brought to 0.5 s steps, a tie going up;
// the others are only checked (their limits are in the decoder table).
TEST_F(GeneralTest, EditedValuesAreSteppedAndChecked)
{
    const struct {
        int32_t fw;
        int32_t param;
        double edited;
        double value;
        bool valid;
    } rows[] = {
        {416, 6, 0.74, 0.5, true},   {416, 6, 0.75, 1.0, true},  {416, 6, 4.9, 5.0, true},
        {416, 6, 0.3, 0.3, false},   {416, 6, 5.2, 5.2, false},  {416, 7, 30.0, 30.0, true},
        {416, 7, 0.2, 0.0, false},   {416, 7, 0.25, 0.5, true},  {416, 7, 66.5, 66.5, true},
        {416, 7, 66.75, 67.0, false}, {416, 7, 1e6, 1e6, false}, // far out: refused, not overflowed
        {416, 2, 64, 64, false},     {416, 4, 62.5, 62.5, true}, {442, 10, 125.0, 125.0, true},
    };
    for (const auto& row : rows) {
        TpdrFirmware.FWVersion(row.fw);
        clsGeneral g;
        SetValue(g, row.param, row.edited);
        g.ChangedParam(row.param);
        EXPECT_EQ(static_cast<float>(Value(g, row.param)), static_cast<float>(row.value)) << row.edited;
        EXPECT_EQ(g.OKToWrite(row.param), row.valid) << "param " << row.param << " " << row.edited;
        EXPECT_EQ(g.ReadOK(row.param), row.valid) << "param " << row.param << " " << row.edited;
    }
}

TEST_F(GeneralTest, VariableTATLimitsFollowTheFirmware)
{
    const struct {
        int32_t fw;
        float max;
    } rows[] = {{152, 30}, {441, 30}, {442, 125}, {445, 125}, {452, 125}, {453, 30}};
    for (const auto& row : rows) {
        TpdrFirmware.FWVersion(row.fw);
        EXPECT_EQ(gen.VariableTATLimit(false), row.max) << row.fw;
        EXPECT_EQ(gen.VariableTATLimit(true), 10.0f) << row.fw;
    }
    EXPECT_EQ(gen.VariableTATRes(), 5.0f);
}

TEST_F(GeneralTest, ToolTips)
{
    const struct {
        int32_t param;
        int32_t fw;
        const char* text;
    } rows[] = {
        {1, 416, "Select Receiver Gain"},
        {2, 121, "Address (1 - 63)"},
        {2, 122, "Left 1 or 2 digits = Address Code (1-63). Right 2 digits = Channel (00-14)"},
        {2, 453, "Left 1 or 2 digits = Address Code (1-63). Right 2 digits = Channel (00-14)"},
        {3, 416, "Select Transponder's Transducer configuration"},
        {4, 416, "Turn-Around-Time (62.5 - 875.0mSec)"},
        {5, 416, "Reply Pulse Width (4.0 - 10.0mSec)"},
        {6, 416, "Blocking Period (0.5 - 5.0Secs)"},
        {7, 416, "Relay-On Time (0.5 - 66.5 Seconds)"},
        {8, 416, "Select Channel Code"},
        {9, 416, "Select Power Level"},
        {10, 416, "Select Variable Turn-Around-Time (TAT), in mSec"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(gen.ToolTip(row.param, row.fw), row.text) << row.param << " " << row.fw;
    }
}

TEST_F(GeneralTest, FullAddressCode)
{
    const struct {
        int16_t address;
        int16_t channel;
        const char* text;
    } rows[] = {{47, 1, "4701"}, {5, 12, "0512"}, {15, 0, "1500"}, {63, 14, "6314"}, {1, 9, "0109"}, {1, 10, "0110"}};
    for (const auto& row : rows) {
        EXPECT_EQ(gen.ComposeFullAddressCode(row.address, row.channel), row.text);
    }
}

TEST_F(GeneralTest, WriteAcknowledgements)
{
    const struct {
        std::string reply;
        int16_t length;
        int16_t result;
        const char* status;
    } rows[] = {
        {"?", 1, 0, "?"}, {"? ", 2, 0, "?"}, {"?x", 1, 0, "?"}, {"A", 1, 21, "41"},
        {std::string(1, '\x05'), 1, 21, "5"}, {"\xFF", 1, 21, "FF"}, {"x?", 1, 21, "78"}, {"", 1, 21, ""},
        {"?", 0, 21, ""},
    };
    for (const auto& row : rows) {
        gen.WriteOK(4, !row.result);
        EXPECT_EQ(gen.WriteDecode(row.reply, 4, row.length), row.result) << row.reply;
        EXPECT_EQ(gen.WriteOK(4), row.result == 0) << row.reply;
        EXPECT_EQ(gen.StatusBarText(), row.status) << row.reply;
    }
}

class GeneralLinkTest : public LinkFixture {
protected:
    clsGeneral gen;
    TpdrCommand cmd;
    int16_t count = 0;
    int16_t replyLen = 0;
};

TEST_F(GeneralLinkTest, ReadOfTheTimingGroup)
{
    TpdrFirmware.FWVersion(416);
    gen.ReadEncode(cmd, count, replyLen, 2);
    ASSERT_EQ(Send(cmd, count, replyLen), ReplyReceived);
    gen.ReadDecode(reply, 2, true);
    EXPECT_EQ(model.Frames(), std::vector<std::string>{"!R" + Bytes("E0 00 02 06 00 00 00 00 00 00")});
    EXPECT_EQ(gen.Identity(), 1);
    EXPECT_NEAR(gen.TAT(), 500.0, 1e-3);
    EXPECT_NEAR(gen.PulseWidth(), 8.0, 1e-5);
    EXPECT_NEAR(gen.Block(), 1.0, 1e-6);
    for (int32_t p = 3; p <= 6; ++p) {
        EXPECT_TRUE(gen.ReadOK(p)) << p;
    }
}

TEST_F(GeneralLinkTest, TestModeVariableTATWriteSharesThePowerByte)
{
    TpdrFirmware.FWVersion(453);
    gen.VariableTAT(10.0f);
    gen.WriteEncode(cmd, count, replyLen, 10, true);
    ASSERT_EQ(Send(cmd, count, replyLen), ReplyReceived);
    EXPECT_EQ(gen.WriteDecode(reply, 10, replyLen), 0);
    EXPECT_EQ(model.Frames(), std::vector<std::string>{"!W" + Bytes("E0 00 0A 02 00 F7")});
    EXPECT_EQ(model.Peek(false, 0xE0, 0x00, 0x0A), 0x00);
    EXPECT_EQ(model.Peek(false, 0xE0, 0x00, 0x0B), 0xF7);

    gen.PowerLevel(1);
    gen.ReadEncode(cmd, count, replyLen, 5);
    ASSERT_EQ(Send(cmd, count, replyLen), ReplyReceived);
    gen.ReadDecode(reply, 5, true);
    EXPECT_EQ(gen.PowerLevel(), 0); // the variable TAT's high byte
}

TEST_F(GeneralLinkTest, TypeAndSerialNumberAreAnswered)
{
    ASSERT_EQ(Send(MakeFrame('R', 0xE0, 0x0A, 0x00, std::string(16, '\0')), 22, 16), ReplyReceived);
    EXPECT_EQ(reply, "5021            ");
    ASSERT_EQ(Send(MakeFrame('R', 0xE0, 0x0A, 0x20, std::string(16, '\0')), 22, 16), ReplyReceived);
    EXPECT_EQ(reply, "004217          ");
}

} // namespace
