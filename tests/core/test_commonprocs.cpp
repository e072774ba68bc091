#include "clock.h"
#include "clsSettings.h"
#include "commonprocs.h"
#include "iolog.h"
#include "scripted_dialogs.h"
#include "serialcomm.h"
#include "tpdrport.h"
#include "vberror.h"

#include <QApplication>
#include <QComboBox>
#include <QWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

using namespace CommonProcs;

namespace {

constexpr int Exclamation = 48;

const ShownBox PortNotOpenBox{"New Comms Error", Exclamation, "8018: Operation valid only when the port is open"};

// A port that keeps every write apart and fails as the serial control does.
class FakePort : public Platform::SerialComm {
public:
    std::set<int> available{1, 2};
    std::set<int> busy;
    std::vector<std::string> writes;
    std::vector<std::string> calls; // "close", "port N", "settings S", "open"
    int32_t outputError = 0;         // raised by the next Output when not 0

    int16_t CommPort() const override { return port_; }
    void CommPort(int16_t port) override
    {
        if (open_) {
            Raise(ErrNo::PortOpenOperationInvalid);
        }
        if (port < 1 || port > 255) {
            Raise(ErrNo::InvalidPropertyValue);
        }
        port_ = port;
        calls.push_back("port " + std::to_string(port));
    }
    std::string Settings() const override { return settings_; }
    void Settings(const std::string& settings) override
    {
        Platform::LineSettings parsed;
        if (!Platform::ParseSettings(settings, parsed)) {
            Raise(ErrNo::InvalidPropertyValue);
        }
        settings_ = settings;
        calls.push_back("settings " + settings);
    }
    bool PortOpen() const override { return open_; }
    void PortOpen(bool open) override
    {
        if (open && open_) {
            Raise(ErrNo::PortAlreadyOpen);
        }
        if (open && available.count(port_) == 0) {
            Raise(ErrNo::InvalidPortNumber);
        }
        if (open && busy.count(port_) != 0) {
            Raise(ErrNo::PortAlreadyOpen);
        }
        open_ = open;
        calls.push_back(open ? "open" : "close");
    }
    void Output(const std::string& bytes) override
    {
        if (!open_) {
            Raise(ErrNo::PortNotOpen);
        }
        if (outputError != 0) {
            Raise(outputError);
        }
        writes.push_back(bytes);
    }
    std::string Input() override { return {}; }
    int16_t InBufferCount() override { return 0; }
    void InBufferCount(int16_t) override {}
    int16_t OutBufferCount() override { return 0; }
    void OutBufferCount(int16_t) override {}
    void WaitForInput(int) override {}

private:
    int16_t port_ = 1;
    std::string settings_ = "9600,N,8,1";
    bool open_ = false;
};

class RecordingLog : public IOLogSink {
public:
    std::vector<std::string> commands;
    void IO_Command(const std::string& text) override { commands.push_back(text); }
    void IO_Reply(const std::string&) override {}
};

class CommonProcsPort : public testing::Test {
protected:
    void SetUp() override
    {
        UsualSettings();
        SetTpdrPort(&port);
        SetIOList(&log);
        ShowIOFlag = true;
        dialogs.AllowBoxes();
    }
    void TearDown() override
    {
        ShowIOFlag = false;
        SetIOList(nullptr);
        SetTpdrPort(nullptr);
    }

    static void UsualSettings()
    {
        AppSettings = clsSettings();
        AppSettings.TpdrComPort(1);
        AppSettings.sTpdrComPortBaud("1200");
        AppSettings.sTpdrComPortBits("N,8,1");
        AppSettings.sTpdrDownLoadComPortBaud("19200");
        AppSettings.sTpdrDownLoadComPortBits("N,8,1");
    }

    FakePort port;
    RecordingLog log;
    ScriptedDialogs dialogs;

private:
};

// Counts idles so that a wait that spins instead of sleeping shows up.
class CountingClock : public Platform::FakeClock {
public:
    using FakeClock::FakeClock;
    int idles = 0;
    double longest = 0;
    void Idle(double seconds) override
    {
        ++idles;
        longest = std::max(longest, seconds);
        FakeClock::Idle(seconds);
    }
};

} // namespace

TEST(CommonProcsDelay, ZeroWaitsUntilTheClockMovesAndLetsEventsRun)
{
    Platform::FakeClock clock(1000.0);
    Platform::ScopedClock scoped(clock);
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    Delay(0);
    EXPECT_TRUE(ran);
    EXPECT_GT(clock.Elapsed(), 1000.0);
    EXPECT_LT(clock.Elapsed(), 1000.001);
}

TEST(CommonProcsDelay, WaitsJustOverTheTimeInShortSleeps)
{
    for (const float seconds : {0.05f, 0.5f, 1.5f}) {
        SCOPED_TRACE(seconds);
        CountingClock clock(5000.0);
        Platform::ScopedClock scoped(clock);
        Delay(seconds);
        EXPECT_GT(clock.Elapsed() - 5000.0, seconds);
        EXPECT_LT(clock.Elapsed() - 5000.0, seconds + 0.001);
        EXPECT_LE(clock.longest, 0.01);
        EXPECT_LE(clock.idles, static_cast<int>(seconds * 100) + 3);
    }
}

TEST(CommonProcsDelay, RestartsAtMidnight)
{
    Platform::FakeClock clock(86399.9);
    Platform::ScopedClock scoped(clock);
    Delay(0.5f);
    // 0.1 s up to midnight, then the whole half second again from there.
    EXPECT_GT(clock.Elapsed(), 86400.5);
    EXPECT_LT(clock.Elapsed(), 86400.52);
}

// Closing the last window during a delay ends the delay at once: no event
// loop runs any more once the program is quitting, so waiting on would only
// burn the processor. After the program's loop has ended, delays wait again.
TEST(CommonProcsDelay, EndsAtOnceWhenTheProgramIsClosing)
{
    Platform::FakeClock clock(1000.0);
    Platform::ScopedClock scoped(clock);
    QWidget window;
    window.show();
    double waited = -1;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, &window, &QWidget::close);
        Delay(100.0f);
        waited = clock.Elapsed() - 1000.0;
        QCoreApplication::quit(); // in case another window kept the program alive
    });
    QApplication::exec();
    EXPECT_GE(waited, 0.0);
    EXPECT_LT(waited, 0.1);
    const double before = clock.Elapsed();
    Delay(0.5f);
    EXPECT_GT(clock.Elapsed() - before, 0.5);
}

TEST_F(CommonProcsPort, InitialiseWritesSixSingleCharactersAndLogsThem)
{
    port.PortOpen(true);
    InitialiseTpdr();
    const std::string zero(1, '\0');
    EXPECT_EQ(port.writes, (std::vector<std::string>{"!", "I", zero, zero, zero, zero}));
    EXPECT_EQ(log.commands, std::vector<std::string>{"!I|00|00|00|00|"});
    EXPECT_TRUE(dialogs.Boxes().empty());

    ShowIOFlag = false;
    InitialiseTpdr();
    EXPECT_EQ(port.writes.size(), 12u);
    EXPECT_EQ(log.commands.size(), 1u);
}

TEST_F(CommonProcsPort, InitialiseOnAClosedPortShowsTheCommsBoxOnly)
{
    InitialiseTpdr();
    EXPECT_TRUE(port.writes.empty());
    EXPECT_TRUE(log.commands.empty());
    EXPECT_EQ(dialogs.Boxes(), std::vector<ShownBox>{PortNotOpenBox});

    dialogs.Clear();
    SetTpdrPort(nullptr);
    InitialiseTpdr();
    EXPECT_EQ(dialogs.Boxes(), std::vector<ShownBox>{PortNotOpenBox});
}

TEST_F(CommonProcsPort, InitialiseReportsAnUnlistedErrorThroughCatchAll)
{
    port.PortOpen(true);
    port.outputError = ErrNo::DeviceIOError;
    InitialiseTpdr();
    EXPECT_TRUE(log.commands.empty());
    const ShownBox box{"Error from InitialiseTpdrErrorHandler (CommonProcs) trapped in CatchAll Errors.", Exclamation,
                       "Error:  57  Device I/O error"};
    EXPECT_EQ(dialogs.Boxes(), std::vector<ShownBox>{box});
}

TEST_F(CommonProcsPort, OpenTpdrCommPort)
{
    const std::string portText = "The Comm Port is either being used by another application or is invalid.";
    const std::string catchAll = "Error from OpenTpdrCommPort (CommonProcs) trapped in CatchAll Errors.";
    const struct Row {
        const char* name;
        int32_t comPort;
        int busyPort;     // held by another program
        bool fresh;       // settings texts never set: the settings text is a lone comma
        bool openBefore;
        bool download;
        int32_t result;
        std::vector<std::string> calls;
        bool openAfter;
        std::vector<ShownBox> boxes;
    } rows[] = {
        {"normal", 1, 0, false, false, false, 0, {"port 1", "settings 1200,N,8,1", "open"}, true, {}},
        {"download", 2, 0, false, false, true, 0, {"port 2", "settings 19200,N,8,1", "open"}, true, {}},
        {"reopen", 1, 0, false, true, false, 0, {"close", "port 1", "settings 1200,N,8,1", "open"}, true, {}},
        {"missing port", 5, 0, false, true, false, 3, {"close", "port 5", "settings 1200,N,8,1"}, false,
         {{portText, Exclamation, "8002: Invalid Port Number"}}},
        {"busy port", 2, 2, false, false, false, 3, {"port 2", "settings 1200,N,8,1"}, false,
         {{portText, Exclamation, "8005: Port already Open"}}},
        {"no port", 0, 0, false, false, false, 3, {}, false,
         {{"New Comms Error", Exclamation, "380: Invalid property value"}}},
        {"no settings", 1, 0, true, false, false, 3, {"port 1"}, false,
         {{"New Comms Error", Exclamation, "380: Invalid property value"}}},
        {"number too big for the port", 40000, 0, false, false, false, 4, {}, false,
         {{catchAll, Exclamation, "Error:  6  Overflow"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakePort fresh;
        SetTpdrPort(&fresh);
        fresh.busy = {row.busyPort};
        if (row.openBefore) {
            fresh.PortOpen(true);
            fresh.calls.clear();
        }
        UsualSettings();
        if (row.fresh) {
            AppSettings = clsSettings();
        }
        AppSettings.TpdrComPort(row.comPort);
        dialogs.Clear();
        EXPECT_EQ(OpenTpdrCommPort(row.download), row.result);
        EXPECT_EQ(fresh.calls, row.calls);
        EXPECT_EQ(fresh.PortOpen(), row.openAfter);
        EXPECT_EQ(dialogs.Boxes(), row.boxes);
        SetTpdrPort(nullptr);
    }
}

TEST_F(CommonProcsPort, OpenWithoutAPortReportsPortNotOpen)
{
    SetTpdrPort(nullptr);
    EXPECT_EQ(OpenTpdrCommPort(false), 3);
    EXPECT_EQ(dialogs.Boxes(), std::vector<ShownBox>{PortNotOpenBox});
}

TEST(CommonProcs, ShowNotSupported)
{
    ScriptedDialogs dialogs;
    dialogs.Answer(1);
    ShowNotSupported();
    const ShownBox box{"The Transponder firmware does not support this function.", 64, "Not Supported"};
    EXPECT_EQ(dialogs.Boxes(), std::vector<ShownBox>{box});
}

TEST(CommonProcs, HexToDecimal)
{
    const std::string overflowBox = "Error from HexToDecimal (CommonProcs) trapped in CatchAll Errors.";
    const struct {
        const char* in;
        int32_t out;
        bool overflow;
    } rows[] = {
        {"1f", 31, false},
        {"12G4", 18, false},
        {" ", 0, false},
        {"", 0, false},
        {"  ff  ", 255, false},
        {"0012", 18, false},
        {"-1", 0, false},
        {"\tA", 0, false},
        {"7FFFFFFF", 2147483647, false},
        {"80000000", 0, true},
        {"FFFFFFFFFF", 0, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.in);
        ScriptedDialogs dialogs;
        dialogs.AllowBoxes();
        EXPECT_EQ(HexToDecimal(r.in), r.out);
        if (r.overflow) {
            const ShownBox box{overflowBox, Exclamation, "Error:  6  Overflow"};
            EXPECT_EQ(dialogs.Boxes(), std::vector<ShownBox>{box});
        } else {
            EXPECT_TRUE(dialogs.Boxes().empty());
        }
    }
}

TEST(CommonProcs, SingleModRoundsToTheNearestStepTiesUp)
{
    const struct {
        float value, step, out;
    } rows[] = {
        {2.6f, 0.5f, 2.5f}, {2.75f, 0.5f, 3.0f}, {2.25f, 0.5f, 2.5f}, {4.0f, 1.5f, 4.5f}, {3.75f, 1.5f, 4.5f},
        {3.7f, 1.5f, 3.0f}, {0.0f, 1.5f, 0.0f},  {60.0f, 1.5f, 60.0f}, {0.7f, 1.5f, 0.0f}, {0.75f, 1.5f, 1.5f},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(SingleMod(r.value, r.step), r.out) << r.value << " step " << r.step;
    }
}

TEST(CommonProcs, ChanListText)
{
    const struct {
        int16_t channel;
        int32_t type;
        const char* out;
    } rows[] = {
        {5, 4, "H05   HPR300"},  {5, 3, ""},           {0, 0, "  00   Illegal"}, {12, 2, "D12   Dual Mode"},
        {99, 5, "B99   HPR400"}, {7, 6, "S07   Orvane"}, {1, 7, "C01   Custom"},   {3, 8, "  03   Endcap only"},
        {4, 11, "  04   Unknown"}, {100, 4, "H100   HPR300"}, {5, 1, ""},        {5, 9, ""},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(ChanListText(r.channel, r.type), r.out) << r.channel << " type " << r.type;
    }
}

TEST(CommonProcs, TextUtilities)
{
    EXPECT_EQ(AddLeadingZero(" .5 "), "0.5");
    EXPECT_EQ(AddLeadingZero("1.5"), "1.5");
    EXPECT_EQ(AddLeadingZero("-.5"), "-.5");
    EXPECT_EQ(AddLeadingZero("  "), "");

    EXPECT_EQ(ZeroPad(" 7", 2), "07");
    EXPECT_EQ(ZeroPad("123", 2), "123");
    EXPECT_EQ(ZeroPad(" 12 ", 2), "12");
    EXPECT_EQ(ZeroPad("", 3), "000");
    EXPECT_EQ(ZeroPad("5", -1), "5");

    EXPECT_EQ(StrToHexList(std::string("A\x05\xff\0", 4)), "41 05 FF 00");
    EXPECT_EQ(StrToHexList(""), "");

    const std::string a5("A\x05");
    EXPECT_EQ(HexGroups(a5, 1), "|41|05");
    EXPECT_EQ(HexGroups(a5, 2), "|4105");
    EXPECT_EQ(HexGroups(a5, 0), "|41|05");
    EXPECT_EQ(HexGroups(a5, -3), "|41|05");
    EXPECT_EQ(HexGroups("ABC", 2), "|4142|43");
    EXPECT_EQ(HexGroups(std::string("\xff\0", 2), 1), "|FF|00");
    EXPECT_EQ(HexGroups("", 1), "");

    EXPECT_TRUE(ContainsText("abc", "b"));
    EXPECT_FALSE(ContainsText("abc", "B"));
    EXPECT_TRUE(ContainsText("abc", ""));
    EXPECT_TRUE(ContainsText("", ""));
    EXPECT_FALSE(ContainsText("", "a"));

    EXPECT_TRUE(IsHexString("1F", 4));
    EXPECT_TRUE(IsHexString("ABCDEF", 6));
    EXPECT_FALSE(IsHexString("1f", 4));
    EXPECT_FALSE(IsHexString("", 4));
    EXPECT_FALSE(IsHexString("12345", 4));
    EXPECT_FALSE(IsHexString("1G", 4));
    EXPECT_FALSE(IsHexString("1 ", 4));

    EXPECT_EQ(StripChars("", "a", true), "");
    EXPECT_EQ(StripChars("a-b-c", "-", false), "abc");
    EXPECT_EQ(StripChars("a\tb", "-", false), "a\tb");
    EXPECT_EQ(StripChars(std::string("a\x01-b\x1f\x20\x7f\0d", 9), "-", true), std::string("ab\x20\x7f\0d", 6));

    EXPECT_TRUE(IsDigits("0123456789"));
    EXPECT_FALSE(IsDigits(""));
    EXPECT_FALSE(IsDigits("12a"));
    EXPECT_FALSE(IsDigits(" 1"));
    EXPECT_EQ(DigitsOnly("a1 b2-3\xb9"), "123");
}

TEST(CommonProcs, CommandAddressCodes)
{
    const struct {
        const char* in;
        int16_t address, channel;
    } rows[] = {
        {"123", 1, 23}, {"1234", 12, 34}, {" 4512 ", 45, 12}, {"45", 45, 45}, {"7", 7, 7}, {"", 0, 0}, {"A12", 0, 12},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(CmdAddressToAddressCode(r.in), r.address) << r.in;
        EXPECT_EQ(CmdAddressToChannelCode(r.in), r.channel) << r.in;
    }
}

TEST(CommonProcs, SelectComboItemMatchesExactlyAndQuietly)
{
    QComboBox combo;
    combo.addItems({"A", "B", "b", QString::fromLatin1("\xe4"), "B"});
    int changes = 0;
    QObject::connect(&combo, &QComboBox::currentIndexChanged, [&] { ++changes; });
    const struct {
        const char* text;
        int index;
    } rows[] = {{"b", 2}, {"B", 1}, {"\xe4", 3}, {"x", -1}, {"", -1}, {"A", 0}};
    for (const auto& r : rows) {
        SelectComboItem(&combo, r.text);
        EXPECT_EQ(combo.currentIndex(), r.index) << r.text;
    }
    EXPECT_EQ(changes, 0);
}

TEST(CommonProcs, NumericKeyFilter)
{
    const struct {
        int16_t key;
        bool allowN;
        int16_t out;
    } rows[] = {
        {'0', false, '0'}, {'9', false, '9'}, {8, false, 8},   {13, false, 13}, {'n', true, 'n'}, {'n', false, 0},
        {'N', true, 0},    {'a', false, 0},   {'a', true, 0},  {' ', false, 0}, {'.', false, 0},  {'-', true, 0},
        {27, false, 0},    {200, false, 0},
    };
    for (const auto& r : rows) {
        int16_t key = r.key;
        NumericKeyFilter(key, r.allowN);
        EXPECT_EQ(key, r.out) << r.key << (r.allowN ? " with n" : "");
    }
}
