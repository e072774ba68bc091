#include "clsBattery.h"
#include "frames.h"
#include "link_fixture.h"

namespace {

const std::string Small = "22.0 Volts"; // count 255 through 160, 47
const std::string Large = "33.0 Volts"; // count 255 through 560, 100

TEST(Battery, GatesAndFirmwareDividerAtEveryRangeBoundary)
{
    const struct {
        int32_t fw;
        bool enable, battType, battLife;
        std::string volts255; // no battery type reported
    } rows[] = {
        {0, false, false, false, ""},       {1, false, false, false, ""},      {3, false, false, false, ""},
        {4, true, false, true, Small},      {34, true, false, true, Small},    {35, false, false, false, ""},
        {37, false, false, false, ""},      {38, false, false, false, Small},  {39, true, false, true, Small},
        {194, true, false, true, Small},    {195, false, false, false, ""},    {196, false, false, false, ""},
        {197, true, false, false, Large},   {328, true, false, false, Large},  {329, false, false, false, ""},
        {348, false, false, false, ""},     {349, true, false, true, Small},   {379, true, false, true, Small},
        {380, true, true, false, ""},       {452, true, true, false, ""},      {453, true, false, true, Small},
        {454, false, false, false, ""},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(clsBattery::EnableOK(r.fw), r.enable) << r.fw;
        EXPECT_EQ(clsBattery::EnableOK_BattType(r.fw), r.battType) << r.fw;
        EXPECT_EQ(clsBattery::EnableOK_BattLife(r.fw), r.battLife) << r.fw;
        EXPECT_EQ(TpdrBattery.BatteryVoltage(255, r.fw, 0), r.volts255) << r.fw;
    }
}

TEST(Battery, VoltageTextByTypeThenFirmware)
{
    const struct {
        int16_t count;
        int32_t fw, type;
        std::string text;
    } rows[] = {
        {200, 64, 0, "17.3 Volts"},  {0, 64, 0, "0.0 Volts"},     {100, 4, 0, "8.6 Volts"},
        {1, 250, 0, "0.1 Volts"},    {200, 416, 0, ""},           {200, 416, 1, "17.3 Volts"},
        {255, 416, 2, Large},        {200, 416, 3, "25.9 Volts"}, {255, 416, 4, Large},
        {200, 416, 7, ""},           {200, 250, 1, "17.3 Volts"}, {200, 64, 2, "25.9 Volts"},
        {-1, 64, 0, ""},             {256, 64, 0, ""},            {-1, 416, 1, ""},
        {256, 416, 3, ""},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(TpdrBattery.BatteryVoltage(r.count, r.fw, r.type), r.text)
            << r.count << " fw " << r.fw << " type " << r.type;
    }
}

TEST(Battery, ReadFrames)
{
    clsBattery b;
    TpdrCommand cmd;
    int16_t n = 0, len = 0;
    b.ReadEncode_VoltageByte(cmd, n, len);
    EXPECT_EQ(Joined(cmd), std::string("!v\0\0\0\x01\0", 7));
    EXPECT_EQ(n, 7);
    EXPECT_EQ(len, 1);
    EXPECT_EQ(b.StatusBarText(), "!v 00 00 00 01 00 ");
    n = len = 0;
    b.ReadEncode_BatteryType(cmd, n, len);
    EXPECT_EQ(Joined(cmd), std::string("!R\xE0\x0A\x80\x01\0", 7));
    EXPECT_EQ(n, 7);
    EXPECT_EQ(len, 1);
    EXPECT_EQ(b.StatusBarText(), "!R E0 0A 80 01 00 ");
}

TEST(Battery, VoltageReplies)
{
    const struct {
        std::string reply;
        int16_t count;
        bool ok;
        std::string text;
    } rows[] = {{"\xC8", 200, true, "C8 "}, {std::string(1, '\0'), 0, true, "00 "},
                {"\xFF\x01", 255, true, "FF "}, {"", -1, false, ""}};
    for (const auto& r : rows) {
        clsBattery b;
        b.ReadDecode_VoltageByte(r.reply);
        EXPECT_EQ(b.BatteryCount(), r.count) << r.text;
        EXPECT_EQ(b.ReadOK(), r.ok) << r.text;
        EXPECT_EQ(b.StatusBarText(), r.text);
    }
}

TEST(Battery, TypeReplies)
{
    const struct {
        std::string reply;
        int32_t type;
        bool life;
        std::string text;
    } rows[] = {{"\x01", 1, true, "01 "},  {"\x02", 2, false, "02 "},          {"\x03\x01", 3, false, "03 "},
                {"\x04", 4, false, "04 "}, {std::string(1, '\0'), 0, false, "00 "}, {"\x05", 0, false, "05 "},
                {"\x07", 0, false, "07 "}, {"\x81", 0, false, "81 "},          {"", 0, false, ""}};
    for (const auto& r : rows) {
        clsBattery b;
        b.BatteryType(2);
        b.ReadDecode_BatteryType("\x01"); // a previous type must not survive
        b.ReadDecode_BatteryType(r.reply);
        EXPECT_EQ(b.BatteryType(), r.type) << r.text;
        EXPECT_EQ(b.CanMeasureLife(), r.life) << r.text;
        EXPECT_EQ(b.StatusBarText(), r.text);
    }
}

class BatteryLink : public LinkFixture {};

TEST_F(BatteryLink, TypeThenCountGiveTheVoltage)
{
    model.Poke(false, 0xE0, 0x0A, 0x80, 3);
    model.batteryCount = 255;
    clsBattery b;
    TpdrCommand cmd;
    int16_t n = 0, len = 0;
    b.ReadEncode_BatteryType(cmd, n, len);
    ASSERT_EQ(Send(cmd, n, len), ReplyReceived);
    b.ReadDecode_BatteryType(reply);
    b.ReadEncode_VoltageByte(cmd, n, len);
    ASSERT_EQ(Send(cmd, n, len), ReplyReceived);
    b.ReadDecode_VoltageByte(reply);
    ASSERT_EQ(model.Frames().size(), 2u);
    EXPECT_EQ(Sim::FrameText(model.Frames()[0]), "!R|E0|0A|80|01|00");
    EXPECT_EQ(Sim::FrameText(model.Frames()[1]), "!v|00|00|00|01|00");
    EXPECT_EQ(b.BatteryType(), 3);
    EXPECT_EQ(b.BatteryCount(), 255);
    EXPECT_EQ(b.BatteryVoltage(b.BatteryCount(), 416, b.BatteryType()), Large);
}

} // namespace
