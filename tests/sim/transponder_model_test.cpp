#include "transponder_model.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

using Sim::FrameText;
using Sim::TransponderModel;

std::string Bytes(std::initializer_list<int> codes)
{
    std::string s;
    for (const int c : codes) {
        s += static_cast<char>(c);
    }
    return s;
}

// "!", letter, P1-P3, N, then the data (a read: N zero bytes).
std::string Frame(char letter, int p1, int p2, int p3, const std::string& data)
{
    return Bytes({'!', letter, p1, p2, p3, static_cast<int>(data.size())}) + data;
}
std::string Read(char letter, int p1, int p2, int p3, int n)
{
    return Frame(letter, p1, p2, p3, std::string(static_cast<size_t>(n), '\0'));
}

const std::string kVersion9 = Read('V', 0xA0, 0, 0, 9);
const std::string kInit = Bytes({'!', 'I', 0, 0, 0, 0});

// Feeds the chunks in turn and gathers every reply.
std::vector<std::string> Feed(TransponderModel& m, const std::vector<std::string>& chunks)
{
    std::vector<std::string> all;
    for (const auto& c : chunks) {
        for (auto& r : m.Receive(c)) {
            all.push_back(r);
        }
    }
    return all;
}

std::vector<std::string> EachByte(const std::string& s)
{
    std::vector<std::string> out;
    for (const char c : s) {
        out.emplace_back(1, c);
    }
    return out;
}

struct FramingRow {
    const char* name;
    std::vector<std::string> chunks;
    std::vector<std::string> frames;  // logged
    std::vector<std::string> replies; // one per frame
    std::string pending;
};

TEST(TransponderModel, Framing)
{
    const std::string write3 = Frame('W', 0xE0, 0, 0, "!!!");
    const std::string ping(1, '\0');
    const std::vector<FramingRow> rows = {
        {"whole frame", {kVersion9}, {kVersion9}, {"Vers2.05F"}, ""},
        {"one byte a call", EachByte(kVersion9), {kVersion9}, {"Vers2.05F"}, ""},
        {"header then data", {kVersion9.substr(0, 6), kVersion9.substr(6)}, {kVersion9}, {"Vers2.05F"}, ""},
        {"data of '!'", EachByte(write3), {write3}, {"?"}, ""},
        {"noise skipped, its 00 a ping", {Bytes({'x', 0, 0xFF}) + kVersion9}, {ping, kVersion9}, {"", "Vers2.05F"}, ""},
        {"pings between frames", {kInit + ping + ping + kVersion9}, {kInit, ping, ping, kVersion9},
         {"", "", "", "Vers2.05F"}, ""},
        {"pings byte by byte", EachByte(ping + kVersion9 + ping), {ping, kVersion9, ping}, {"", "Vers2.05F", ""}, ""},
        {"two frames one call", {kInit + kVersion9}, {kInit, kVersion9}, {"", "Vers2.05F"}, ""},
        {"initialise unanswered", {kInit}, {kInit}, {""}, ""},
        {"unknown letter", {Read('Z', 0, 0, 0, 2)}, {Read('Z', 0, 0, 0, 2)}, {""}, ""},
        {"version at wrong address", {Read('V', 0xA1, 0, 0, 9)}, {Read('V', 0xA1, 0, 0, 9)}, {""}, ""},
        {"incomplete", {kVersion9.substr(0, 10)}, {}, {}, kVersion9.substr(0, 10)},
        {"noise then incomplete header", {"zz!V"}, {}, {}, "!V"},
    };
    for (const auto& row : rows) {
        TransponderModel m;
        EXPECT_EQ(Feed(m, row.chunks), row.replies) << row.name;
        EXPECT_EQ(m.Frames(), row.frames) << row.name;
        EXPECT_EQ(m.Pending(), row.pending) << row.name;
    }
}

TEST(TransponderModel, VersionReplies)
{
    struct Row {
        std::string versionText;
        int n;
        std::string reply;
    };
    const std::vector<Row> rows = {
        {"Vers2.05F", 9, "Vers2.05F"},   {"Vers2.05F", 10, "Vers2.05F "}, {"Vers1.11Ss", 9, "Vers1.11S"},
        {"Vers1.11Ss", 10, "Vers1.11Ss"}, {"Vers1.11S ", 10, "Vers1.11S "}, {"TestMode ", 9, "TestMode "},
        {"vers2.05S", 9, "vers2.05S"},   {"Vers2.05F", 0, ""},
    };
    for (const auto& row : rows) {
        TransponderModel m;
        m.versionText = row.versionText;
        EXPECT_EQ(m.Receive(Read('V', 0xA0, 0, 0, row.n)), std::vector<std::string>{row.reply})
            << row.versionText << " N=" << row.n;
    }
}

TEST(TransponderModel, TransmitterFirmwareReadAnswersEightCharacters)
{
    TransponderModel m;
    EXPECT_EQ(m.Receive(Read('A', 0, 0, 0, 9)), std::vector<std::string>{"TxV2.10F"});
    m.txVersionText = "TxV2.00F";
    EXPECT_EQ(m.Receive(Read('A', 0, 0, 0, 9)), std::vector<std::string>{"TxV2.00F"});
}

TEST(TransponderModel, MemorySpacesAreSeparate)
{
    TransponderModel m;
    EXPECT_EQ(m.Receive(Frame('W', 0xE0, 0, 2, Bytes({0x12, 0xFF}))), std::vector<std::string>{"?"});
    EXPECT_EQ(m.Receive(Frame('w', 0xE0, 0, 0, Bytes({0x80}))), std::vector<std::string>{"?"});
    m.Poke(true, 0xE0, 0x01, 0x00, 0x55);

    struct Row {
        std::string frame;
        std::string reply;
    };
    const std::vector<Row> rows = {
        {Read('R', 0xE0, 0, 0, 6), Bytes({0xFF, 47, 0x12, 0xFF, 0xBF, 0xC8})},
        {Read('r', 0xE0, 0, 0, 6), Bytes({0x80, 0, 0, 0, 0, 0})},
        {Read('r', 0xE0, 0, 0xFF, 2), Bytes({0, 0x55})}, // runs on into the next P2
        {Read('R', 0xE0, 1, 0, 1), Bytes({0})},
        {Read('R', 0xE0, 0, 2, 0), ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(m.Receive(row.frame), std::vector<std::string>{row.reply}) << FrameText(row.frame);
    }
    EXPECT_EQ(m.Peek(false, 0xE0, 0, 3), 0xFF);
    EXPECT_EQ(m.Peek(true, 0xE0, 0, 3), 0);
}

TEST(TransponderModel, Knobs)
{
    const std::string write = Frame('W', 0xE0, 0, 0, Bytes({0x42}));
    struct Row {
        const char* name;
        Sim::Knobs knobs;
        std::vector<std::string> replies; // version read, write, initialise
        int stored;                       // the byte at E0 00 00 afterwards
    };
    auto knobs = [](auto set) {
        Sim::Knobs k;
        set(k);
        return k;
    };
    const std::vector<Row> rows = {
        {"none", {}, {"Vers2.05F", "?", ""}, 0x42},
        {"noReply", knobs([](auto& k) { k.noReply = true; }), {"", "", ""}, 0x42},
        {"shortBy 2", knobs([](auto& k) { k.shortBy = 2; }), {"Vers2.0", "", ""}, 0x42},
        {"shortBy beyond the reply", knobs([](auto& k) { k.shortBy = 20; }), {"", "", ""}, 0x42},
        {"refuseWrites", knobs([](auto& k) { k.refuseWrites = true; }), {"Vers2.05F", "!", ""}, 0xFF},
        {"extraBytes", knobs([](auto& k) { k.extraBytes = "\r\n"; }), {"Vers2.05F\r\n", "?\r\n", ""}, 0x42},
        {"garbage", knobs([](auto& k) { k.garbage = Bytes({0xFF, 0}); }),
         {Bytes({0xFF, 0}), Bytes({0xFF, 0}), Bytes({0xFF, 0})}, 0x42},
        {"garbage but noReply", knobs([](auto& k) { k.garbage = "x";
                                     k.noReply = true; }), {"", "", ""}, 0x42},
        {"refuseFrame at the write", knobs([](auto& k) { k.refuseFrame = Sim::FrameAddress('W', 0xE0, 0, 0); }),
         {"Vers2.05F", "!", ""}, 0xFF},
        {"ignoreFrame at the write", knobs([](auto& k) { k.ignoreFrame = Sim::FrameAddress('W', 0xE0, 0, 0); }),
         {"Vers2.05F", "", ""}, 0xFF},
        {"refuseFrame elsewhere", knobs([](auto& k) { k.refuseFrame = Sim::FrameAddress('W', 0xE0, 0, 1); }),
         {"Vers2.05F", "?", ""}, 0x42},
    };
    for (const auto& row : rows) {
        TransponderModel m;
        m.knobs = row.knobs;
        EXPECT_EQ(m.Receive(kVersion9 + write + kInit), row.replies) << row.name;
        EXPECT_EQ(m.Peek(false, 0xE0, 0, 0), row.stored) << row.name;
        EXPECT_EQ(m.Frames().size(), 3u) << row.name;
    }
}

TEST(TransponderModel, FrameText)
{
    EXPECT_EQ(FrameText(Read('V', 0xA0, 0, 0, 2)), "!V|A0|00|00|02|00|00");
    EXPECT_EQ(FrameText(Frame('w', 0x0A, 0xFF, 1, "!")), "!w|0A|FF|01|01|21");
    EXPECT_EQ(FrameText(std::string(1, '\0')), "|00");
}

} // namespace
