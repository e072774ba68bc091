#include "error_of.h"
#include "clsSpanwaveParams.h"
#include "frames.h"
#include "globals.h"
#include "link_fixture.h"
#include "vberror.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct HexFlagOn {
    HexFlagOn() { ShowCmdHexFlag = true; }
    ~HexFlagOn() { ShowCmdHexFlag = false; }
};

// Everything a decoder may change, for "values stay" checks.
std::vector<std::string> State(const clsSpanwaveParams& p)
{
    return {std::to_string(p.SpanwaveType()), std::to_string(p.SpanwaveBand()), std::to_string(p.AddressCode()),
            std::to_string(p.ChannelCode()),  std::to_string(p.OrvaneIntChan()), std::to_string(p.ReplyType()),
            std::to_string(p.OrvaneReplyChan()), p.StatusBarText()};
}

clsSpanwaveParams Params(int32_t scheme, int32_t type, int16_t addr, int16_t chan, int32_t intChan = 0,
                         int32_t replyChan = 0)
{
    clsSpanwaveParams p;
    p.NavScheme(scheme);
    p.SpanwaveType(type);
    p.AddressCode(false, addr);
    p.ChannelCode(false, chan);
    p.OrvaneIntChan(intChan);
    p.OrvaneReplyChan(replyChan);
    return p;
}

std::string BlockOf(clsSpanwaveParams& p)
{
    TpdrCommand frame;
    int16_t tx = 0;
    int16_t rx = 0;
    p.WriteEncode_SPParams(frame, tx, rx);
    EXPECT_EQ(tx, 26);
    EXPECT_EQ(rx, 1);
    const std::string all = Joined(frame);
    EXPECT_EQ(all.substr(0, 6), std::string("!w\0\0\0\x14", 6));
    return all.substr(6);
}

} // namespace

TEST(SpanwaveParams, EnableOKIsTheFFamilyOnly)
{
    const std::vector<std::pair<int32_t, bool>> rows = {
        {0, false}, {379, false}, {380, true}, {452, true}, {453, false}, {454, false}};
    for (const auto& [fw, ok] : rows) {
        EXPECT_EQ(clsSpanwaveParams().EnableOK(fw), ok) << fw;
    }
}

TEST(SpanwaveParams, DefineNavSchemes)
{
    struct Row {
        int32_t fw, chanType, replyType, scheme; // before; SpanwaveType 1
        int32_t outScheme, outChan, outReply, outType;
    };
    const Row rows[] = {
        {0, 2, 2, 4, /* -> */ 0, 0, 0, 0},   {100, 2, 1, 2, /* -> */ 1, 0, 0, 0}, {379, 1, 2, 4, /* -> */ 1, 0, 0, 0},
        {454, 1, 2, 4, /* -> */ 1, 0, 0, 0}, {380, 0, 2, 4, /* -> */ 0, 0, 0, 0}, {400, 1, 0, 4, /* -> */ 0, 1, 0, 0},
        {452, 1, 1, 0, /* -> */ 3, 1, 1, 1}, {453, 1, 2, 0, /* -> */ 4, 1, 2, 1}, {400, 1, 5, 3, /* -> */ 3, 1, 5, 1},
        {453, 2, 0, 0, /* -> */ 2, 2, 1, 1}, {400, 7, 2, 4, /* -> */ 4, 7, 2, 1},
    };
    for (const Row& r : rows) {
        clsSpanwaveParams p = Params(r.scheme, 1, 33, 5, 4, 6);
        p.ChanType(r.chanType);
        p.ReplyType(r.replyType);
        p.SpanwaveBand(3);
        p.DefineNavSchemes(r.fw);
        EXPECT_EQ((std::vector<int32_t>{p.NavScheme(), p.ChanType(), p.ReplyType(), p.SpanwaveType()}),
                  (std::vector<int32_t>{r.outScheme, r.outChan, r.outReply, r.outType}))
            << "FW " << r.fw << " chan " << r.chanType << " reply " << r.replyType;
        // Band, codes and channels are never touched.
        EXPECT_EQ((std::vector<int32_t>{p.SpanwaveBand(), p.AddressCode(), p.ChannelCode(), p.OrvaneIntChan(),
                                        p.OrvaneReplyChan()}),
                  (std::vector<int32_t>{3, 33, 5, 4, 6}));
    }
}

TEST(SpanwaveParams, ChannelTexts)
{
    const clsSpanwaveParams p;
    const std::vector<std::pair<int32_t, std::string>> interrogation = {
        {-1, ""},  {0, "CIF"},  {1, "MF0"},       {2, "MF1"},       {10, "MF9"},
        {15, "MF14"}, {16, "AODC ChA"}, {17, "AODC ChB"}, {18, ""}, {19, ""}};
    for (const auto& [chan, text] : interrogation) {
        EXPECT_EQ(p.OrvaneIntChanString(chan), text) << chan;
    }
    const std::vector<std::pair<int32_t, std::string>> reply = {
        {-1, ""}, {0, "MF0"}, {1, "MF1"}, {14, "MF14"}, {15, "CRF"}, {16, "CIF"}, {17, "AODC Reply"}, {18, ""}};
    for (const auto& [chan, text] : reply) {
        EXPECT_EQ(p.OrvaneReplyChanString(chan), text) << chan;
    }
}

TEST(SpanwaveParams, CommandAddressValidityTextAndColour)
{
    struct Row {
        int32_t type;
        int16_t addr, chan;
        const char* text; // "Invalid" when the address is refused
    };
    const Row rows[] = {
        {1, 1, 1, "0101"},     {1, 15, 14, "1514"},   {1, 33, 5, "3305"},    {1, 47, 14, "4714"},
        {1, 16, 1, "Invalid"}, {1, 32, 1, "Invalid"}, {1, 48, 1, "Invalid"}, {1, 0, 1, "Invalid"},
        {1, 5, 0, "Invalid"},  {1, 5, 15, "Invalid"}, {2, 0, 0, "0000"},     {2, 32, 14, "3214"},
        {2, 1, 0, "Invalid"},  {2, 31, 0, "Invalid"}, {2, 0, 15, "Invalid"}, {2, 32, -1, "Invalid"},
        {3, 0, 0, "0000"},     {3, 15, 0, "1500"},    {3, 16, 0, "Invalid"}, {3, 5, 1, "Invalid"},
        {3, -1, 0, "Invalid"}, {3, 5, -1, "Invalid"}, // -1 is the "not read" marker, not a channel
        {0, 5, 1, "Invalid"},  {4, 5, 1, "Invalid"},
    };
    for (const Row& r : rows) {
        const clsSpanwaveParams p = Params(0, r.type, r.addr, r.chan);
        const bool ok = std::string(r.text) != "Invalid";
        SCOPED_TRACE(testing::Message() << "type " << r.type << " address " << r.addr << " channel " << r.chan);
        EXPECT_EQ(p.CmdAddressIsOK(), ok);
        EXPECT_EQ(p.CmdAddressString(), r.text);
        EXPECT_EQ(p.CmdAddressColor(), ok ? 0xFFFFFF : 0xFF);
    }
}

TEST(SpanwaveParams, CommandAddressToolTips)
{
    const std::vector<std::pair<int32_t, std::string>> rows = {
        {1, " Left 2 digits = Address Code (1-15) and (33-47). Right 2 digits = Channel (01-14) "},
        {2, " Left 2 digits = Address Code (00 or 32). Right 2 digits = Channel (00-14) "},
        {3, " Left 2 digits = Address Code (00-15). Right 2 digits = Channel (00 only) "},
        {0, ""},
        {4, ""},
    };
    for (const auto& [type, tip] : rows) {
        EXPECT_EQ(Params(0, type, 0, 0).CmdAddressToolTip(), tip) << type;
    }
}

TEST(SpanwaveParams, CommandAddressTextIsParsedWithoutRangeCheck)
{
    struct Row {
        const char* text;
        int16_t addr, chan;
    };
    const Row rows[] = {
        {"501", 5, 1},   {" 3305 ", 33, 5}, {"9999", 99, 99}, {"0000", 0, 0},  {"12345", -1, -1},
        {"12", -1, -1},  {"", -1, -1},      {"A501", -1, -1}, {"5 01", -1, -1}, {"-501", -1, -1},
    };
    for (const Row& r : rows) {
        clsSpanwaveParams p = Params(0, 1, 7, 7);
        p.CmdAddressString(r.text);
        EXPECT_EQ(p.AddressCode(), r.addr) << '"' << r.text << '"';
        EXPECT_EQ(p.ChannelCode(), r.chan) << '"' << r.text << '"';
    }
    clsSpanwaveParams p = Params(0, 1, 0, 0);
    p.CmdAddressString("501");
    EXPECT_EQ(p.CmdAddressString(), "0501");
    // The invalid flag overrides the stored code both ways.
    EXPECT_EQ(p.AddressCode(true), -1);
    p.ChannelCode(true, 9);
    EXPECT_EQ(p.ChannelCode(false), -1);
}

TEST(SpanwaveParams, ReadEncodersAndStatusText)
{
    HexFlagOn hex;
    clsSpanwaveParams p;
    TpdrCommand frame;
    int16_t tx = 0;
    int16_t rx = 0;
    p.ReadEncode_SpanwaveCodeWord(frame, tx, rx);
    EXPECT_EQ(Joined(frame), std::string("!r\x80\0\0\x02\0\0", 8));
    EXPECT_EQ(frame.size(), 9u); // element 0 unused
    EXPECT_EQ(std::make_pair(tx, rx), std::make_pair(int16_t{8}, int16_t{2}));
    EXPECT_EQ(p.StatusBarText(), "!r 80 00 00 02 00 00 ");

    p.ReadEncode_SpanwaveParams(frame, tx, rx);
    EXPECT_EQ(Joined(frame), std::string("!r\0\0\0\x14", 6) + std::string(20, '\0'));
    EXPECT_EQ(std::make_pair(tx, rx), std::make_pair(int16_t{26}, int16_t{20}));
    EXPECT_EQ(p.StatusBarText(), "!r 00 00 00 14 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ");

    ShowCmdHexFlag = false;
    EXPECT_EQ(p.StatusBarText(), "");
}

TEST(SpanwaveParams, CodewordWrite)
{
    struct Row {
        int32_t type, band;
        int16_t addr, chan;
        const char* hl;
    };
    const Row rows[] = {
        {1, 2, 33, 5, "2215"},  {2, 3, 0, 0, "3C00"}, {3, 3, 0, 0, "3800"},   {2, 5, 32, 14, "5E0E"},
        {0, 1, 5, 1, "1051"},   // no type: code 0
        {1, 0, 1, 1, "2011"},   {1, 6, 1, 1, "2011"}, // band outside 1-5 goes out as 2
    };
    HexFlagOn hex;
    for (const Row& r : rows) {
        clsSpanwaveParams p = Params(0, r.type, r.addr, r.chan);
        p.SpanwaveBand(r.band);
        TpdrCommand frame;
        int16_t tx = 0;
        int16_t rx = 0;
        p.WriteEncode_SPCodeword(frame, tx, rx);
        EXPECT_EQ(Joined(frame), std::string("!w\x80\0\0\x02", 6) + Bytes(r.hl)) << r.hl;
        EXPECT_EQ(std::make_pair(tx, rx), std::make_pair(int16_t{8}, int16_t{1}));
    }
    clsSpanwaveParams p = Params(0, 1, 33, 5);
    p.SpanwaveBand(2);
    TpdrCommand frame;
    int16_t tx = 0;
    int16_t rx = 0;
    p.WriteEncode_SPCodeword(frame, tx, rx);
    EXPECT_EQ(p.StatusBarText(), "!w 80 00 00 02 22 15 ");

    // Codes that do not fit their fields would corrupt the neighbours: refused.
    for (const auto& [addr, chan] : std::vector<std::pair<int16_t, int16_t>>{{-1, 5}, {64, 5}, {33, -1}, {33, 16}}) {
        clsSpanwaveParams bad = Params(0, 1, addr, chan);
        EXPECT_EQ(ErrorOf([&] { bad.WriteEncode_SPCodeword(frame, tx, rx); }), 5) << addr << "/" << chan;
    }
}

TEST(SpanwaveParams, CodewordRead)
{
    struct Row {
        const char* reply;
        int32_t type, band; // band before the read: 4
        int16_t addr, chan;
    };
    const Row rows[] = {
        {"2215", 1, 2, 33, 5}, {"9215", 1, 1, 33, 5}, // bit 15 ignored
        {"3C00", 2, 3, 0, 0},  {"3800", 3, 3, 0, 0},  {"3400", 0, 3, 0, 0}, // type code 1 unused
        {"5FFF", 2, 5, 63, 15},
        {"0C15", 0, 4, 1, 5},  {"6215", 0, 4, 33, 5}, {"FFFF", 0, 4, 63, 15}, // band 0, 6, 7: band kept
    };
    HexFlagOn hex;
    for (const Row& r : rows) {
        clsSpanwaveParams p = Params(0, 1, 7, 7);
        p.SpanwaveBand(4);
        EXPECT_EQ(p.ReadDecode_SpanwaveCodeWord(Bytes(r.reply), 2), 0);
        EXPECT_EQ((std::vector<int32_t>{p.SpanwaveType(), p.SpanwaveBand(), p.AddressCode(), p.ChannelCode()}),
                  (std::vector<int32_t>{r.type, r.band, r.addr, r.chan}))
            << r.reply;
    }
    clsSpanwaveParams p;
    p.ReadDecode_SpanwaveCodeWord(Bytes("220F"), 2);
    EXPECT_EQ(p.StatusBarText(), "22 0F ");
    // What was read is written back unchanged.
    TpdrCommand frame;
    int16_t tx = 0;
    int16_t rx = 0;
    p.WriteEncode_SPCodeword(frame, tx, rx);
    EXPECT_EQ(Joined(frame).substr(6), Bytes("220F"));
}

TEST(SpanwaveParams, ParameterBlockForEachSchemeAndType)
{
    struct Row {
        int32_t scheme, type;
        int16_t addr, chan;
        int32_t intChan, replyChan;
        const char* block;
    };
    const Row rows[] = {
        // Orvane Spanwave: tone words and code rows of the channel code and its companion.
        {4, 1, 1, 14, 0, 0, "00C800CB 000B0F28 AAB31DA2 000DB8BB D6DDBC8E"},
        {4, 1, 33, 5, 0, 0, "00C800CB 000CE704 653EC986 000CB296 94844D34"},
        {4, 2, 0, 0, 0, 0, "00C800CB 000985F0 195068AA 000816F0 195068AA"},
        {4, 2, 32, 0, 0, 0, "00C800CB 0007C84B 00000000 0009A027 195068AA"},
        {4, 2, 0, 14, 0, 0, "00C800CB 00096BBA 9DE38BDE 000985F0 195068AA"},
        {4, 3, 0, 0, 0, 0, "00C800CB 000985F0 DF5A7A64 000985F0 DF5A7A64"},
        {4, 3, 5, 0, 0, 18, "00C800CB 000985F0 653EC986 000985F0 653EC986"},
        {4, 0, 5, 1, 0, 0, "00C800CB 0007C84B 00000000 0007C84B 00000000"},
        // Other schemes: reply tones of the reply channel and its companion, codes blank.
        {3, 1, 1, 1, 2, 14, "00640083 000CF638 FFFFFFFF 000B02C8 FFFFFFFF"},
        {3, 1, 1, 1, 16, 0, "009A0065 000B02C8 FFFFFFFF 0007E069 FFFFFFFF"},
        {3, 1, 1, 1, 1, 18, "00C800BB 00000000 FFFFFFFF 000B02C8 FFFFFFFF"},
        {2, 0, 0, 0, 18, 17, "00C80089 000F5C29 FFFFFFFF 000B02C8 FFFFFFFF"},
    };
    for (const Row& r : rows) {
        clsSpanwaveParams p = Params(r.scheme, r.type, r.addr, r.chan, r.intChan, r.replyChan);
        EXPECT_EQ(BlockOf(p), Bytes(r.block)) << r.block;
    }
}

// f x 2^28 / 10^7 = f x 2^21 / 5^7: the odd denominator means an exact half
// never occurs. These are the reachable steps whose fraction lies nearest .5.
TEST(SpanwaveParams, ToneWordsNextToRoundingTies)
{
    struct Row {
        int32_t type;
        int16_t addr, chan;
        const char* tone; // n, exact value
    };
    const Row rows[] = {
        {1, 1, 13, "000B4396"}, // n 34: 738197.504
        {1, 1, 4, "000D1B71"},  // n 52: 858992.4592
        {2, 32, 8, "000A57A8"}, // n 25: 677799.5264
        {2, 0, 6, "00089A02"},  // n 8: 563713.4576
        {2, 0, 14, "00096BBA"}, // n 16: 617401.5488
    };
    for (const Row& r : rows) {
        clsSpanwaveParams p = Params(4, r.type, r.addr, r.chan);
        EXPECT_EQ(BlockOf(p).substr(4, 4), Bytes(r.tone)) << r.tone;
    }
}

TEST(SpanwaveParams, EveryTableRowReadsBack)
{
    for (int32_t intChan = 0; intChan <= 18; ++intChan) {
        for (int32_t replyChan = 0; replyChan <= 17; ++replyChan) {
            clsSpanwaveParams p = Params(3, 1, 1, 1, intChan, replyChan);
            const std::string block = BlockOf(p);
            clsSpanwaveParams q;
            ASSERT_EQ(q.ReadDecode_SpanwaveParams(block, 20), 0);
            EXPECT_EQ(std::make_pair(q.OrvaneIntChan(), q.OrvaneReplyChan()), std::make_pair(intChan, replyChan));
            EXPECT_EQ(q.ReplyType(), 1);
        }
    }
}

TEST(SpanwaveParams, ParameterBlockRefusesChannelsWithoutATableRow)
{
    struct Row {
        int32_t scheme, intChan, replyChan;
        bool refused;
    };
    const Row rows[] = {
        {3, 19, 0, true}, {3, -1, 0, true}, {3, 0, 19, true}, {3, 0, -1, true},
        {4, 19, 0, true}, {4, 0, 19, false}, // the reply channel is not used by the Spanwave reply
    };
    for (const Row& r : rows) {
        clsSpanwaveParams p = Params(r.scheme, 1, 1, 1, r.intChan, r.replyChan);
        TpdrCommand frame{"unchanged"};
        int16_t tx = 0;
        int16_t rx = 0;
        try {
            p.WriteEncode_SPParams(frame, tx, rx);
            EXPECT_FALSE(r.refused) << r.scheme << "/" << r.intChan << "/" << r.replyChan;
        } catch (const VBError& e) {
            EXPECT_TRUE(r.refused);
            EXPECT_EQ(e.Number(), 9);
            EXPECT_EQ(frame, TpdrCommand{"unchanged"});
        }
    }
}

TEST(SpanwaveParams, ParameterBlockRead)
{
    struct Row {
        const char* block;
        int32_t intChan, replyType, replyChan; // reply channel before the read: 7
    };
    const Row rows[] = {
        {"00C800CB 000AAAB3 FFFFFFFF 000B02C8 FFFFFFFF", 0, 1, 15},
        {"00C80089 12345678 FFFFFFFF 000B02C8 FFFFFFFF", 18, 1, 18}, // tone not in the table
        {"00C800BB 00000000 FFFFFFFF 00000000 FFFFFFFF", 1, 1, 18},
        {"00C800CB 000B0F28 AAB31DA2 000DB8BB D6DDBC8E", 0, 2, 7},   // codes present: Spanwave reply
        {"00C800CB 000AAAB3 FFFFFFFF 000B02C8 FFFFFFFE", 0, 2, 7},
        {"00C800CB 000AAAB3 00000000 000B02C8 FFFFFFFF", 0, 2, 7},
        {"00000000 00000000 00000000 00000000 00000000", 19, 2, 7},  // the simulator's initial block
        {"FFFFFFFF FFFFFFFF FFFFFFFF FFFFFFFF FFFFFFFF", 19, 1, 18},
    };
    for (const Row& r : rows) {
        clsSpanwaveParams p = Params(0, 1, 1, 1, 3, 7);
        EXPECT_EQ(p.ReadDecode_SpanwaveParams(Bytes(r.block), 20), 0);
        EXPECT_EQ((std::vector<int32_t>{p.OrvaneIntChan(), p.ReplyType(), p.OrvaneReplyChan()}),
                  (std::vector<int32_t>{r.intChan, r.replyType, r.replyChan}))
            << r.block;
    }
    HexFlagOn hex;
    clsSpanwaveParams p;
    p.ReadDecode_SpanwaveParams(Bytes("00C800CB 000AAAB3 FFFFFFFF 000B02C8 FFFFFFFF"), 20);
    EXPECT_EQ(p.StatusBarText(), "00 C8 00 CB 00 0A AA B3 FF FF FF FF 00 0B 02 C8 FF FF FF FF ");
}

TEST(SpanwaveParams, ShortRepliesAreReportedAndChangeNothing)
{
    struct Row {
        bool codeword;
        std::string reply;
        int16_t n;
    };
    const std::string block = Bytes("00C800CB 000AAAB3 FFFFFFFF 000B02C8 FFFFFFFF");
    const Row rows[] = {
        {true, "", 2},         {true, "\x22", 2},          {true, "\x22\x15", 3},
        {true, "\x22\x15", 1}, {true, "\x22\x15", -1},     {false, "", 20},
        {false, block.substr(0, 19), 20}, {false, block, 19}, {false, block, 21},
    };
    HexFlagOn hex;
    for (const Row& r : rows) {
        ScriptedDialogs boxes;
        boxes.Answer(MsgBoxResult::OK);
        clsSpanwaveParams p = Params(0, 2, 32, 4, 5, 6);
        p.SpanwaveBand(3);
        p.ReplyType(1);
        TpdrCommand frame;
        int16_t tx = 0;
        int16_t rx = 0;
        p.ReadEncode_SpanwaveCodeWord(frame, tx, rx);
        const auto before = State(p);
        const int32_t result = r.codeword ? p.ReadDecode_SpanwaveCodeWord(r.reply, r.n)
                                          : p.ReadDecode_SpanwaveParams(r.reply, r.n);
        SCOPED_TRACE(testing::Message() << (r.codeword ? "codeword " : "block ") << r.reply.size() << " bytes, n "
                                        << r.n);
        EXPECT_EQ(result, 31);
        EXPECT_EQ(State(p), before);
        const std::string proc = r.codeword ? "ReadDecode_SpanwaveCodeWord" : "ReadDecode_SpanwaveParams";
        EXPECT_EQ(boxes.Boxes(),
                  (std::vector<ShownBox>{{"Error from " + proc + " (clsSpanwaveParams) trapped in CatchAll Errors.",
                                          48, "Error:  5  Invalid procedure call or argument"}}));
    }
}

TEST(SpanwaveParams, WriteAcknowledgement)
{
    struct Row {
        std::string reply;
        int16_t n;
        int32_t result;
        const char* status;
    };
    const Row rows[] = {
        {"?", 1, 0, "?"},   {" ?", 2, 0, "?"},  {"?x", 1, 0, "?"},      {"!", 1, 21, "21"}, {"x?", 1, 21, "78"},
        {"", 1, 21, ""},    {"\x05", 1, 21, "5"}, {"\xFF", 1, 21, "FF"}, {"?", 0, 21, "3F"}, {"?", -1, 21, "3F"},
    };
    HexFlagOn hex;
    for (const Row& r : rows) {
        clsSpanwaveParams p;
        EXPECT_EQ(p.WriteDecode(r.reply, r.n), r.result) << '"' << r.reply << "\" " << r.n;
        EXPECT_EQ(p.StatusBarText(), r.status) << '"' << r.reply << "\" " << r.n;
    }
}

class SpanwaveLinkTest : public LinkFixture {
protected:
    std::string Memory(bool lower, uint8_t p1, int count)
    {
        std::string out;
        for (int i = 0; i < count; ++i) {
            out += static_cast<char>(model.Peek(lower, p1, 0, static_cast<uint8_t>(i)));
        }
        return out;
    }
};

TEST_F(SpanwaveLinkTest, WriteAndReadBackThroughTheSimulatedTransponder)
{
    model.Poke(false, 0x80, 0, 0, 0x5A); // upper-case space at the same addresses
    model.Poke(false, 0x00, 0, 0, 0xA5);
    TpdrCommand frame;
    int16_t tx = 0;
    int16_t rx = 0;

    // The initial codeword 80 00 has band 0: no valid Spanwave type.
    clsSpanwaveParams fresh = Params(0, 1, 1, 1);
    fresh.ReadEncode_SpanwaveCodeWord(frame, tx, rx);
    EXPECT_EQ(fresh.ReadDecode_SpanwaveCodeWord(Exchange(frame, tx, rx), rx), 0);
    EXPECT_EQ(std::make_pair(fresh.SpanwaveType(), fresh.CmdAddressString()), std::make_pair(0, std::string("Invalid")));
    fresh.ReadEncode_SpanwaveParams(frame, tx, rx);
    EXPECT_EQ(Exchange(frame, tx, rx), std::string(20, '\0'));

    NavParams = Params(4, 1, 33, 5, 3, 18);
    NavParams.SpanwaveBand(2);
    model.ClearFrames();
    NavParams.WriteEncode_SPCodeword(frame, tx, rx);
    EXPECT_EQ(NavParams.WriteDecode(Exchange(frame, tx, rx), rx), 0);
    NavParams.WriteEncode_SPParams(frame, tx, rx);
    EXPECT_EQ(NavParams.WriteDecode(Exchange(frame, tx, rx), rx), 0);

    const std::string block = Bytes("0064007F 000CE704 653EC986 000CB296 94844D34");
    EXPECT_EQ(model.Frames(),
              (std::vector<std::string>{std::string("!w\x80\0\0\x02\x22\x15", 8), std::string("!w\0\0\0\x14", 6) + block}));
    EXPECT_EQ(Memory(true, 0x80, 2), Bytes("2215"));
    EXPECT_EQ(Memory(true, 0x00, 20), block);
    EXPECT_EQ(Memory(false, 0x80, 2), Bytes("5A00"));
    EXPECT_EQ(Memory(false, 0x00, 2), Bytes("A500"));

    clsSpanwaveParams back;
    back.ReadEncode_SpanwaveCodeWord(frame, tx, rx);
    EXPECT_EQ(back.ReadDecode_SpanwaveCodeWord(Exchange(frame, tx, rx), rx), 0);
    back.ReadEncode_SpanwaveParams(frame, tx, rx);
    EXPECT_EQ(back.ReadDecode_SpanwaveParams(Exchange(frame, tx, rx), rx), 0);
    EXPECT_EQ((std::vector<int32_t>{back.SpanwaveType(), back.SpanwaveBand(), back.AddressCode(), back.ChannelCode(),
                                    back.OrvaneIntChan(), back.ReplyType()}),
              (std::vector<int32_t>{1, 2, 33, 5, 3, 2}));
    EXPECT_EQ(back.CmdAddressString(), "3305");
    EXPECT_TRUE(boxes.Boxes().empty());
}
