#include "error_of.h"
#include "sim_serial_comm.h"

#include "vberror.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Sim::SimSerialComm;
using Sim::TransponderModel;

std::string Read(char letter, int p1, int n)
{
    std::string f = {'!', letter, static_cast<char>(p1), 0, 0, static_cast<char>(n)};
    return f + std::string(static_cast<size_t>(n), '\0');
}
const std::string kVersion9 = Read('V', 0xA0, 9); // 15 bytes, reply 9
const std::string kTxFirmware = Read('A', 0, 9);  // 15 bytes, reply 8

struct Link : ::testing::Test {
    TransponderModel model;
    Platform::FakeClock clock;
    SimSerialComm port{model, clock};
    double t0 = clock.Elapsed();

    void SetUp() override
    {
        port.Settings("1200,N,8,1"); // 8.333 ms a byte
        port.PortOpen(true);
    }
    void At(double ms) { clock.Advance(t0 + ms / 1000 - clock.Elapsed()); }
    double Ms() const { return (clock.Elapsed() - t0) * 1000; }
};

TEST_F(Link, FrameCrossesAndReplyArrivesOnWireTime)
{
    port.Output(kTxFirmware);
    // Frame: 15 bytes end at 125 ms. Reply: 2 ms delay, then 8 bytes each
    // arriving when its last bit is in, from 135.33 ms to 193.67 ms.
    struct Row {
        double ms;
        int out;
        size_t frames;
        int in;
    };
    // The write itself returns when the frame has crossed.
    EXPECT_NEAR(Ms(), 125, 1e-6);
    const Row rows[] = {
        {125.1, 0, 1, 0}, {135.2, 0, 1, 0}, {135.4, 0, 1, 1}, {193.6, 0, 1, 7}, {193.7, 0, 1, 8}, {1000, 0, 1, 8},
    };
    for (const Row& row : rows) {
        At(row.ms);
        EXPECT_EQ(port.OutBufferCount(), row.out) << row.ms << " ms";
        EXPECT_EQ(model.Frames().size(), row.frames) << row.ms << " ms";
        EXPECT_EQ(port.InBufferCount(), row.in) << row.ms << " ms";
    }
    EXPECT_EQ(port.Input(), "TxV2.10F");
    EXPECT_EQ(port.Input(), "");
    EXPECT_EQ(port.Written(), kTxFirmware);
}

TEST_F(Link, WaitForInputWakesOnEachByte)
{
    port.Output(kVersion9);
    port.WaitForInput(1000);
    EXPECT_NEAR(Ms(), 135.333, 0.001);
    EXPECT_EQ(port.InBufferCount(), 1);
    port.WaitForInput(1000); // waits for the next byte, not for what is there
    EXPECT_NEAR(Ms(), 143.667, 0.001);
    EXPECT_EQ(port.Input(), "Ve");
}

TEST_F(Link, WaitForInputWithoutReplyTakesTheWholeTime)
{
    model.knobs.noReply = true;
    port.Output(kVersion9);
    port.WaitForInput(300);
    EXPECT_NEAR(Ms(), 125 + 300, 1e-6);
    EXPECT_EQ(port.InBufferCount(), 0);
    EXPECT_EQ(model.Frames().size(), 1u);
}

TEST_F(Link, ReplyDelayKnob)
{
    model.knobs.replyDelay = 0.5;
    port.Output(kVersion9);
    port.WaitForInput(2000);
    EXPECT_NEAR(Ms(), 125 + 500 + 8.333, 0.001);
}

TEST_F(Link, RepliesQueueBehindEarlierReplyBytes)
{
    model.knobs.garbage = std::string(20, 'g'); // 166.67 ms of reply per frame
    port.Output(kVersion9 + kVersion9);
    // First reply 127 -> 293.67 ms; the second frame ends at 250 ms and its
    // reply follows the first: 40 bytes in by 460.33 ms.
    At(460.2);
    EXPECT_EQ(port.InBufferCount(), 39);
    At(460.5);
    EXPECT_EQ(port.InBufferCount(), 40);
}

TEST_F(Link, DiscardingInputKeepsBytesStillOnTheWire)
{
    port.Output(kVersion9);
    At(150);
    EXPECT_EQ(port.InBufferCount(), 2);
    port.InBufferCount(0);
    EXPECT_EQ(port.InBufferCount(), 0);
    At(210);
    EXPECT_EQ(port.Input(), "rs2.05F");
}

TEST_F(Link, WritesQueueBehindEachOtherAndReturnWhenAcross)
{
    port.Output(kVersion9.substr(0, 6)); // six bytes: 50 ms
    EXPECT_NEAR(Ms(), 50, 1e-6);
    EXPECT_EQ(port.OutBufferCount(), 0);
    port.OutBufferCount(0); // nothing left to discard: the bytes are across
    port.Output(kVersion9.substr(6));
    EXPECT_NEAR(Ms(), 125, 1e-6);
    EXPECT_EQ(model.Frames().size(), 1u);
}

TEST(SimSerialComm, MidnightDoesNotDisturbTheWait)
{
    TransponderModel model;
    Platform::FakeClock clock(86399.95);
    SimSerialComm port(model, clock);
    port.Settings("1200,N,8,1");
    port.PortOpen(true);
    port.Output(kVersion9);
    port.WaitForInput(1000);
    EXPECT_EQ(port.InBufferCount(), 1);
    EXPECT_LT(clock.Now(), 1.0);
}

TEST(SimSerialComm, ErrorNumbers)
{
    using Act = std::function<void(SimSerialComm&)>;
    auto swallow = [](const Act& a, SimSerialComm& p) {
        try {
            a(p);
        } catch (const VBError&) {
        }
    };
    const auto open = [](SimSerialComm& p) { p.PortOpen(true); };
    const auto lose = [&](SimSerialComm& p) {
        p.PortOpen(true);
        p.Disconnect();
        swallow([](SimSerialComm& q) { q.Input(); }, p);
    };
    struct Row {
        const char* name;
        Act act;
        int32_t number;
    };
    const std::vector<Row> rows = {
        {"CommPort 0", [](auto& p) { p.CommPort(0); }, 380},
        {"CommPort 256", [](auto& p) { p.CommPort(256); }, 380},
        {"CommPort while open", [&](auto& p) { open(p);
            p.CommPort(1); }, 8000},
        {"Settings without stop bits", [](auto& p) { p.Settings("1200,N,8"); }, 380},
        {"Settings odd rate", [](auto& p) { p.Settings("1000,N,8,1"); }, 380},
        {"Settings bad parity", [](auto& p) { p.Settings("1200,X,8,1"); }, 380},
        {"open missing port", [&](auto& p) { p.CommPort(3);
            open(p); }, 8002},
        {"open busy port", [&](auto& p) { p.busyPorts = {1};
            open(p); }, 8005},
        {"open twice", [&](auto& p) { open(p);
            open(p); }, 8005},
        {"Output closed", [](auto& p) { p.Output("!"); }, 8018},
        {"Input closed", [](auto& p) { p.Input(); }, 8018},
        {"InBufferCount closed", [](auto& p) { p.InBufferCount(); }, 8018},
        {"OutBufferCount closed", [](auto& p) { p.OutBufferCount(); }, 8018},
        {"InBufferCount = 0 closed", [](auto& p) { p.InBufferCount(0); }, 8018},
        {"OutBufferCount = 0 closed", [](auto& p) { p.OutBufferCount(0); }, 8018},
        {"InBufferCount = 3", [&](auto& p) { open(p);
            p.InBufferCount(3); }, 380},
        {"first access after disconnect",
         [&](auto& p) {
             open(p);
             p.Disconnect();
             p.Output("!");
         },
         8020},
        {"later access after disconnect", [&](auto& p) { lose(p);
            p.InBufferCount(); }, 8018},
        {"reopen after disconnect", [&](auto& p) { lose(p);
            open(p); }, 8002},
    };
    for (const auto& row : rows) {
        TransponderModel model;
        Platform::FakeClock clock;
        SimSerialComm port(model, clock);
        EXPECT_EQ(ErrorOf([&] { row.act(port); }), row.number) << row.name;
    }
}

TEST(SimSerialComm, DisconnectClosesThePort)
{
    TransponderModel model;
    Platform::FakeClock clock;
    SimSerialComm port(model, clock);
    port.PortOpen(true);
    port.Disconnect();
    port.WaitForInput(100); // returns at once, as on a closed port
    EXPECT_EQ(clock.Elapsed(), Platform::FakeClock().Elapsed());
    EXPECT_THROW(port.InBufferCount(), VBError);
    EXPECT_FALSE(port.PortOpen());
}

} // namespace
