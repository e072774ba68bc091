#include "clsDepth.h"
#include "frames.h"
#include "clsRelease.h"
#include "clsTimedRelease.h"
#include "link_fixture.h"
#include "vberror.h"

namespace {

TEST(Depth, OnOffReadFrame)
{
    clsDepth d;
    TpdrCommand cmd;
    int16_t n = 0, len = 0;
    d.ReadEncode_OnOff(cmd, n, len);
    EXPECT_EQ(Joined(cmd), std::string("!R\xA0\x04\x00\x01\x00", 7));
    EXPECT_EQ(cmd.size(), 8u); // 1-based: seven elements
    EXPECT_EQ(n, 7);
    EXPECT_EQ(len, 1);
    EXPECT_EQ(d.StatusBarText(), "!R|A0|04|00|01|00|");
}

// On, off and status on are written as their bytes; any other state builds no frame.
TEST(Depth, OnOffWriteFrame)
{
    const struct {
        int16_t onOff;
        std::string frame;
        int16_t n;
    } rows[] = {{1, "!W" + Bytes("A0 04 00 01 01"), 7}, {2, "!W" + Bytes("A0 04 00 01 00"), 7},
                {3, "!W" + Bytes("A0 04 00 01 02"), 7}, {0, "", 0}, {4, "", 0}};
    for (const auto& r : rows) {
        clsDepth d;
        d.OnOff(r.onOff);
        TpdrCommand cmd;
        int16_t n = -1, len = 0;
        d.WriteEncode_OnOff(cmd, n, len);
        EXPECT_EQ(n, r.n) << r.onOff;
        EXPECT_EQ(n == 0 ? "" : Joined(cmd), r.frame) << r.onOff;
    }
    EXPECT_TRUE(clsDepth::WriteDecode(" ? "));
    EXPECT_FALSE(clsDepth::WriteDecode("!"));
}

TEST(Depth, OnOffDecode)
{
    const struct {
        std::string reply;
        int32_t fw;
        int16_t onOff, result;
        std::string status;
    } rows[] = {
        {std::string(1, '\x01'), 411, 1, 0, "01"},
        {std::string(1, '\x00'), 411, 2, 0, "00"},
        {std::string(1, '\x02'), 64, 3, 0, "02"},
        {std::string("\x01\xFF", 2), 411, 1, 0, "01"}, // first byte only
        {std::string(1, '\xFF'), 380, 4, 30, "FF"},
        {std::string(1, '\xFF'), 453, 4, 30, "FF"},
        {std::string(1, '\xFF'), 379, 0, 3, "FF"}, // no Spanwave depth bytes
        {std::string(1, '\xFF'), 100, 0, 3, "FF"},
        {std::string(1, '\xFF'), 0, 0, 3, "FF"},
        {std::string(1, '\x03'), 411, 0, 3, "03"},
        {std::string(1, '\x81'), 411, 0, 3, "81"},
        {std::string(), 411, 0, 3, ""},
    };
    for (const auto& r : rows) {
        clsDepth d;
        d.OnOff(2);
        int16_t result = -1;
        d.ReadDecode_OnOff(r.reply, r.fw, result);
        EXPECT_EQ(d.OnOff(), r.onOff) << r.status << " fw " << r.fw;
        EXPECT_EQ(result, r.result) << r.status << " fw " << r.fw;
        EXPECT_EQ(d.StatusBarText(), r.status);
    }
}

TEST(Depth, EnableOKByFirmwareAndItem)
{
    const struct {
        int32_t fw, item;
        bool ok;
    } rows[] = {
        {0, 1, false},    {89, 1, false},   {90, 1, true},    {194, 13, true}, {195, 1, true},
        {328, 2, true},   {329, 1, false},  {379, 1, false},  {380, 1, true},  {452, 1, true},
        {453, 1, true},   {454, 1, false},  {411, 0, false},  {411, 14, false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(clsDepth().EnableOK(r.fw, r.item), r.ok) << r.fw << "/" << r.item;
    }
}

TEST(Depth, FittedByTypeNumber)
{
    const struct {
        std::string type;
        bool depth, release;
    } rows[] = {
        // The models of the about box; any other or no type number reads depth and has no release.
        {"5120            ", false, false}, {"5121", false, false},  {"5020", true, false},
        {"5023", true, false},             {" 5021 ", true, true},   {"5027-2", true, true},
        {"5028", true, true},              {"50210", true, false},   {"TT7000", true, false},
        {"", true, false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(clsDepth().FittedOK(r.type), r.depth) << r.type;
        EXPECT_EQ(clsRelease().ReleaseFittedOK(r.type), r.release) << r.type;
    }
}

TEST(Depth, TimedReleaseOnlyOnV900P)
{
    for (int32_t fw = 0; fw <= 454; ++fw) {
        EXPECT_EQ(clsTimedRelease().EnableOK(fw), fw == 318) << fw;
    }
}

TEST(Depth, FlagIndexesStopAt13)
{
    clsDepth d;
    d.OKToWrite(13, true);
    EXPECT_TRUE(d.OKToWrite(13));
    for (const int32_t bad : {-1, 14}) {
        EXPECT_THROW(d.ReadOK(bad, true), VBError);
        EXPECT_THROW((void)d.OKToWrite(bad), VBError);
    }
}

class DepthLink : public LinkFixture {};

TEST_F(DepthLink, SimulatedTransponderReportsOn)
{
    clsDepth d;
    TpdrCommand cmd;
    int16_t n = 0, len = 0, result = -1;
    d.ReadEncode_OnOff(cmd, n, len);
    ASSERT_EQ(Send(cmd, n, len), ReplyReceived);
    d.ReadDecode_OnOff(reply, 411, result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(d.OnOff(), 1);
    EXPECT_TRUE(d.FittedOK("5021            "));
}

} // namespace
