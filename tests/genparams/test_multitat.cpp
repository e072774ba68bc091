#include "clsMultiTAT.h"
#include "frames.h"
#include "link_fixture.h"
#include "error_of.h"
#include "vberror.h"

#include <cmath>
#include <limits>

namespace {

TEST(MultiTAT, EnableOKAtEveryFamilyBoundary)
{
    const struct {
        int32_t fw;
        bool ok;
    } rows[] = {{0, false},   {1, false},   {34, false},  {194, false}, {328, false}, {329, true},
                {379, true},  {380, false}, {452, false}, {453, true},  {454, false}};
    for (const auto& r : rows) {
        EXPECT_EQ(clsMultiTAT::EnableOK(r.fw), r.ok) << r.fw;
    }
}

TEST(MultiTAT, ReadFramesOfBothPages)
{
    const struct {
        int16_t page;
        std::string bytes, text;
    } rows[] = {
        {1, std::string("!R\xE2\0\0\x0A", 6) + std::string(10, '\0'), "!R|E2|00|00|0A|00|00|00|00|00|00|00|00|00|00|"},
        {2, std::string("!R\xE2\0\x10\x0A", 6) + std::string(10, '\0'), "!R|E2|00|10|0A|00|00|00|00|00|00|00|00|00|00|"},
        {0, std::string("!R\xE2\0\0\x0A", 6) + std::string(10, '\0'), "!R|E2|00|00|0A|00|00|00|00|00|00|00|00|00|00|"},
    };
    for (const auto& r : rows) {
        clsMultiTAT tat;
        TpdrCommand cmd;
        int16_t n = 0, len = 0;
        tat.ReadEncode(cmd, n, len, r.page);
        EXPECT_EQ(Joined(cmd), r.bytes) << r.page;
        EXPECT_EQ(n, 16);
        EXPECT_EQ(len, 10);
        EXPECT_EQ(tat.StatusBarText(), r.text);
    }
}

// One entry's wire word; ties in the word go to the even neighbour.
struct WordRow {
    float ms;
    uint8_t hi, lo;
};
const WordRow kWords[] = {
    {62.5f, 0x06, 0x06},  // 1541.5 -> 1542
    {125.0f, 0x0C, 0x20}, //
    {187.5f, 0x12, 0x3A}, // 4666.5 -> 4666
    {250.0f, 0x18, 0x55}, //
    {312.5f, 0x1E, 0x70}, // 7791.5 -> 7792
    {437.5f, 0x2A, 0xA4}, // 10916.5 -> 10916
    {562.5f, 0x36, 0xDA}, // 14041.5 -> 14042
    {875.0f, 0x55, 0x5E}, //
    {0.84f, 0x00, 0x00},  // lowest word
    {2622.24f, 0xFF, 0xFF}, // highest word
};

TEST(MultiTAT, WriteFramesOfBothPagesCarryBigEndianWords)
{
    for (const int16_t page : {1, 2}) {
        clsMultiTAT tat;
        std::string data, text = "!W E2 00 " + std::string(page == 2 ? "10" : "00") + " 0A ";
        for (int j = 0; j < 5; ++j) {
            const WordRow& r = kWords[(page - 1) * 5 + j];
            tat.Value(static_cast<int16_t>((page - 1) * 5 + j), r.ms);
            data += {static_cast<char>(r.hi), static_cast<char>(r.lo)};
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02X %02X ", r.hi, r.lo);
            text += hex;
        }
        TpdrCommand cmd;
        int16_t n = 0, len = 0;
        tat.WriteEncode(cmd, n, len, page);
        EXPECT_EQ(Joined(cmd), std::string("!W\xE2\0", 4) + (page == 2 ? "\x10" : std::string(1, '\0')) + "\x0A" + data);
        EXPECT_EQ(n, 16);
        EXPECT_EQ(len, 1);
        EXPECT_EQ(tat.StatusBarText(), text);
    }
}

TEST(MultiTAT, WriteEncodeRefusesWhatNoWordCanCarry)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float ms;
        int16_t page;
        int32_t error;
    } rows[] = {{0.8f, 1, ErrNo::Overflow},    {-1.0f, 2, ErrNo::Overflow},
                {2622.3f, 1, ErrNo::Overflow}, {1e9f, 2, ErrNo::Overflow},
                {nan, 1, ErrNo::Overflow},     {125.0f, 0, ErrNo::SubscriptOutOfRange},
                {125.0f, 3, ErrNo::SubscriptOutOfRange}};
    for (const auto& r : rows) {
        clsMultiTAT tat;
        for (int16_t k = 0; k < 10; ++k) {
            tat.Value(k, 125.0f);
        }
        tat.Value(static_cast<int16_t>(r.page == 2 ? 9 : 0), r.ms);
        TpdrCommand cmd;
        int16_t n = 0, len = 0;
        EXPECT_EQ(ErrorOf([&] { tat.WriteEncode(cmd, n, len, r.page); }), r.error) << r.ms << " page " << r.page;
        EXPECT_TRUE(cmd.empty());
    }
}

TEST(MultiTAT, ReadDecodeRoundsToOneDecimalAndJudgesTheRange)
{
    const struct {
        uint8_t hi, lo;
        float ms;
        bool ok;
    } rows[] = {
        {0x06, 0x04, 62.4f, false}, {0x06, 0x05, 62.5f, true},   {0x06, 0x06, 62.5f, true},
        {0x12, 0x3A, 187.5f, true}, {0x55, 0x5E, 875.0f, true},  {0x55, 0x5F, 875.0f, true},
        {0x55, 0x60, 875.1f, false}, {0x00, 0x00, 0.8f, false},  {0xFF, 0xFF, 2622.2f, false},
    };
    for (const auto& r : rows) {
        for (const int16_t page : {1, 2}) {
            clsMultiTAT tat;
            std::string reply;
            for (int j = 0; j < 5; ++j) {
                reply += {static_cast<char>(r.hi), static_cast<char>(r.lo)};
            }
            tat.ReadDecode(reply, page);
            for (int16_t k = 0; k < 10; ++k) {
                const bool mine = (k >= 5) == (page == 2);
                EXPECT_EQ(tat.Value(k), mine ? r.ms : 0.0f) << int(r.hi) << " " << int(r.lo) << " entry " << k;
                EXPECT_EQ(tat.ReadOK(k), mine && r.ok) << k;
            }
        }
    }
}

TEST(MultiTAT, ShortAndLongRepliesDecodeOnlyWhatTheyCarry)
{
    const struct {
        std::string reply;
        int decoded; // entries of page 1 with both bytes present
        std::string text;
    } rows[] = {
        {"", 0, ""},
        {"\x0C", 0, "0C "},
        {"\x0C\x20\x18", 1, "0C 20 18 "},
        {std::string("\x0C\x20\x0C\x20\x0C\x20\x0C\x20\x0C\x20\x55\x55", 12), 5,
         "0C 20 0C 20 0C 20 0C 20 0C 20 "},
    };
    for (const auto& r : rows) {
        clsMultiTAT tat;
        for (int16_t k = 0; k < 5; ++k) {
            tat.Value(k, 61.5f);
            tat.ReadOK(k, true);
        }
        tat.ReadDecode(r.reply, 1);
        EXPECT_EQ(tat.StatusBarText(), r.text);
        for (int16_t k = 0; k < 5; ++k) {
            EXPECT_EQ(tat.Value(k), k < r.decoded ? 125.0f : 61.5f) << r.text << " entry " << k;
            EXPECT_EQ(tat.ReadOK(k), k < r.decoded) << r.text << " entry " << k;
        }
    }
}

TEST(MultiTAT, WriteDecode)
{
    const struct {
        std::string reply;
        bool ok;
        std::string text;
    } rows[] = {{"?", true, "?"},      {" ? ", true, "?"},  {"!", false, "21"},   {"\x05", false, "5"},
                {"\xFF", false, "FF"}, {"??", false, "3F"}, {"", false, ""}};
    for (const auto& r : rows) {
        clsMultiTAT tat;
        tat.WriteDecode(r.reply);
        EXPECT_EQ(tat.WriteOK(), r.ok) << r.text;
        EXPECT_EQ(tat.StatusBarText(), r.text);
    }
}

TEST(MultiTAT, IndexesOutsideTheTableRaiseSubscriptOutOfRange)
{
    clsMultiTAT tat;
    tat.Value(13, 1.0f);
    EXPECT_EQ(tat.Value(13), 1.0f);
    for (const int16_t i : {-1, 14}) {
        EXPECT_EQ(ErrorOf([&] { tat.Value(i); }), ErrNo::SubscriptOutOfRange);
        EXPECT_EQ(ErrorOf([&] { tat.ReadOK(i, true); }), ErrNo::SubscriptOutOfRange);
        EXPECT_EQ(ErrorOf([&] { tat.OKToWrite(i); }), ErrNo::SubscriptOutOfRange);
    }
}

class MultiTATLink : public LinkFixture {};

TEST_F(MultiTATLink, ReadBothPagesThenWriteOneBack)
{
    clsMultiTAT tat;
    TpdrCommand cmd;
    int16_t n = 0, len = 0;
    for (const int16_t page : {1, 2}) {
        tat.ReadEncode(cmd, n, len, page);
        ASSERT_EQ(Send(cmd, n, len), ReplyReceived);
        tat.ReadDecode(reply, page);
    }
    for (int16_t k = 0; k < 10; ++k) {
        EXPECT_EQ(tat.Value(k), 62.5f * static_cast<float>(k + 1)) << k;
        EXPECT_TRUE(tat.ReadOK(k));
    }
    // The encoder's own line, then the link's line for the same frame, then the reply.
    ASSERT_GE(iolog.lines.size(), 3u);
    EXPECT_EQ(iolog.lines[0].text, "!R|E2|00|00|0A|00|00|00|00|00|00|00|00|00|00|");
    EXPECT_EQ(iolog.lines[1].text, iolog.lines[0].text);
    EXPECT_TRUE(iolog.lines[1].command);

    tat.Value(9, 875.0f);
    iolog.lines.clear();
    tat.WriteEncode(cmd, n, len, 2);
    ASSERT_EQ(Send(cmd, n, len), ReplyReceived);
    EXPECT_EQ(iolog.lines.size(), 2u); // the write is logged by the link alone
    tat.WriteDecode(reply);
    EXPECT_TRUE(tat.WriteOK());
    EXPECT_EQ(model.Peek(false, 0xE2, 0x00, 0x18), 0x55);
    EXPECT_EQ(model.Peek(false, 0xE2, 0x00, 0x19), 0x5E);
    EXPECT_EQ(Sim::FrameText(model.Frames().back()), "!W|E2|00|10|0A|24|8A|2A|A4|30|BF|36|DA|55|5E");

    model.knobs.refuseWrites = true;
    ASSERT_EQ(Send(cmd, n, len), ReplyReceived);
    tat.WriteDecode(reply);
    EXPECT_FALSE(tat.WriteOK());
    EXPECT_EQ(tat.StatusBarText(), "21");
}

} // namespace
