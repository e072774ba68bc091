#include "clsSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

// A property value that keeps its type, so a row also checks the getter's type.
using Value = std::variant<int16_t, int32_t, float, bool, std::string>;

struct Prop {
    const char* name;
    std::function<Value(const clsSettings&)> get;
    std::function<void(clsSettings&, const Value&)> set;
    std::optional<Value> def; // what Defaults stores; none = left alone
};

#define PROP(N) #N, [](const clsSettings& s) { return Value(s.N()); }, \
                [](clsSettings& s, const Value& v) { s.N(std::get<decltype(s.N())>(v)); }

using S = std::string;
constexpr std::nullopt_t Kept = std::nullopt;

// Every property in member order with its default.
const std::vector<Prop> Props = {
    {PROP(AppPath), Kept},
    {PROP(DataPath), Kept},
    {PROP(HexDownloadPath), Kept},
    {PROP(TpdrTelemWait), 1.0f},
    {PROP(DelayBetweenCmds), 1.5f},
    {PROP(ANTRangeWait), 1.0f},
    {PROP(ANTDepthWait), 1.0f},
    {PROP(ANTReadTime), 0.2f},
    {PROP(ANTWriteTime), 0.2f},
    {PROP(ANTGoAttempts), int16_t{3}},
    {PROP(TpdrComPort), int32_t{1}},
    {PROP(sTpdrComPortBaud), Kept},
    {PROP(sTpdrComPortBits), Kept},
    {PROP(sTpdrDownLoadComPortBaud), Kept},
    {PROP(sTpdrDownLoadComPortBits), Kept},
    {PROP(ANTComPort), int32_t{2}},
    {PROP(ANTRxAtten), 0.0f},
    {PROP(ANTTxAtten), 0.0f},
    {PROP(ANTValTime), 0.79f},
    {PROP(ANTSampleTime), int32_t{2}},
    {PROP(ANTTxPWidth1), 10.0f},
    {PROP(ANTTxPWidth2), 10.0f},
    {PROP(HPR400Period), 30.0f},
    {PROP(CCFDelay), 0.5f},
    {PROP(PingRate), int16_t{3}},
    {PROP(BattLifeTemperature), int32_t{2}},
    {PROP(BattLifePings), int16_t{3}},
    {PROP(BattLifeAdvice), true},
    {PROP(BattChargeThreshold), int16_t{5}},
    {PROP(ChanCalPassword), Kept},
    {PROP(TestChanType), int32_t{1}},
    {PROP(CCFOperatorOnly), false},
    {PROP(RS232ChanChange), true},
    {PROP(TestChanLoop), Kept},
    {PROP(TestChanFilename), Kept},
    {PROP(TestTitle), Kept},
    {PROP(ANTInterrogationRate), int16_t{1}},
    {PROP(TestChanIndex), Kept},
    {PROP(ANTDepthTest), Kept},
    {PROP(DepthScale), 1.0f},
    {PROP(DepthSensor), int32_t{0}},
    {PROP(DisplayDepth), true},
    {PROP(DownloadWait), Kept},
    {PROP(DownloadListAll), Kept},
    {PROP(RecordDelay), Kept},
    {PROP(RecordAttempts), Kept},
    {PROP(TcvrQTLChannel), Kept},
    {PROP(TcvrFile), Kept},
    {PROP(SpeedOfSound), Kept},
    {PROP(TargetTpdrRangeWait), Kept},
    {PROP(DisplayMetres), Kept},
    {PROP(TargetTAT), Kept},
    {PROP(SubractTAT), Kept},
    {PROP(RepeatTcvrTest), Kept},
    {PROP(RepeatTcvrTime), Kept},
    {PROP(IsQTLTcvrTest), Kept},
    {PROP(QuillatRxChan), Kept},
    {PROP(QuillatTxChan), Kept},
    {PROP(TcvrElement), Kept},
    {PROP(AddressCode), Kept},
    {PROP(ICFChannel), Kept},
    {PROP(VTLNumOfInts), Kept},
};

// The zero of the value's own type.
Value Zero(const Value& v)
{
    return std::visit([](auto x) { return Value(decltype(x){}); }, v);
}

// A non-zero value of the value's type that every checking setter accepts as it is.
Value Marker(const Value& v)
{
    struct {
        Value operator()(int16_t) const { return int16_t{7}; }
        Value operator()(int32_t) const { return int32_t{77}; }
        Value operator()(float) const { return 7.5f; }
        Value operator()(bool) const { return true; }
        Value operator()(const std::string&) const { return S("9600"); }
    } pick;
    return std::visit(pick, v);
}

std::string Show(const Value& v)
{
    return std::visit(
        [](const auto& x) {
            if constexpr (std::is_same_v<std::decay_t<decltype(x)>, std::string>) {
                return "\"" + x + "\"";
            } else {
                return std::to_string(x);
            }
        },
        v);
}

TEST(Settings, TableHasEveryPropertyAndTheTwentyNineDefaults)
{
    size_t withDefault = 0;
    for (const Prop& p : Props) {
        withDefault += p.def.has_value();
    }
    EXPECT_EQ(Props.size(), 62u);
    EXPECT_EQ(withDefault, 29u);
}

TEST(Settings, FreshObjectIsAllZeroAndEmpty)
{
    const clsSettings s;
    for (const Prop& p : Props) {
        const Value v = p.get(s);
        EXPECT_EQ(v, Zero(v)) << p.name << " = " << Show(v);
    }
}

TEST(Settings, EverySetterStoresItsValueAndTouchesNoOtherProperty)
{
    for (const Prop& p : Props) {
        clsSettings s;
        const Value m = Marker(p.get(s));
        p.set(s, m);
        EXPECT_EQ(p.get(s), m) << p.name;
        for (const Prop& other : Props) {
            if (&other != &p) {
                const Value v = other.get(s);
                EXPECT_EQ(v, Zero(v)) << "setting " << p.name << " changed " << other.name;
            }
        }
    }
}

TEST(Settings, DefaultsOnAFreshObject)
{
    clsSettings s;
    s.Defaults();
    for (const Prop& p : Props) {
        const Value v = p.get(s);
        EXPECT_EQ(v, p.def.value_or(Zero(v))) << p.name << " = " << Show(v);
    }
    EXPECT_EQ(s.sTpdrComPortBaud(), "");
    EXPECT_EQ(s.sTpdrDownLoadComPortBits(), "");
}

TEST(Settings, DefaultsOverwriteTheirPropertiesAndKeepAllOthers)
{
    clsSettings s;
    for (const Prop& p : Props) {
        p.set(s, Marker(p.get(s)));
    }
    s.Defaults();
    for (const Prop& p : Props) {
        const Value v = p.get(s);
        EXPECT_EQ(v, p.def.value_or(Marker(v))) << p.name << " = " << Show(v);
    }
    // The three the operator most often notices.
    EXPECT_EQ(s.DownloadWait(), 7);
    EXPECT_EQ(s.RecordAttempts(), 7);
    EXPECT_EQ(s.sTpdrComPortBaud(), "9600");
}

struct BaudRow {
    std::string given;
    std::string stored;
};

TEST(Settings, BaudTextsAcceptOnlyTheKnownRates)
{
    const std::vector<BaudRow> rows = {
        {"1200", "1200"},   {"2400", "2400"},   {"4800", "4800"},   {"9600", "9600"},
        {"19200", "19200"}, {"38400", "38400"}, {"600", "1200"},    {"fast", "1200"}, {"1e400", "1200"},
        {"", "1200"},       {"19201", "1200"},  {"57600", "1200"},  {"-9600", "1200"},
        // read as a number from the start: blanks ignored, trailing text ends it
        {" 2400", " 2400"}, {"4800 baud", "4800 baud"}, {"38400.0", "38400.0"}, {"9600.5", "1200"},
        // decimal text only
        {"&H4B00", "1200"}, {"&O45400", "1200"}, {"192D2", "1200"}, {"192E2", "192E2"},
    };
    for (const BaudRow& r : rows) {
        clsSettings s;
        s.sTpdrComPortBaud(r.given);
        s.sTpdrDownLoadComPortBaud(r.given);
        EXPECT_EQ(s.sTpdrComPortBaud(), r.stored) << "given \"" << r.given << "\"";
        EXPECT_EQ(s.sTpdrDownLoadComPortBaud(), r.stored) << "given \"" << r.given << "\" (download)";
    }
}

struct AttenRow {
    float given;
    float stored; // starting from 9.0
};

TEST(Settings, AttenuationsKeepToZeroToSixtyInStepsOfOneAndAHalf)
{
    const std::vector<AttenRow> rows = {
        {4.0f, 4.5f}, {3.75f, 4.5f}, {3.7f, 3.0f}, {3.0f, 3.0f},  {0.75f, 1.5f},
        {0.7f, 0.0f}, {0.0f, 0.0f},  {60.0f, 60.0f}, {59.9f, 60.0f}, {59.25f, 60.0f},
        // outside 0-60 the old value stays
        {61.0f, 9.0f}, {-1.0f, 9.0f}, {60.01f, 9.0f}, {-0.01f, 9.0f},
    };
    for (const AttenRow& r : rows) {
        clsSettings s;
        s.ANTRxAtten(9.0f);
        s.ANTTxAtten(9.0f);
        s.ANTRxAtten(r.given);
        s.ANTTxAtten(r.given);
        EXPECT_EQ(s.ANTRxAtten(), r.stored) << "given " << r.given;
        EXPECT_EQ(s.ANTTxAtten(), r.stored) << "given " << r.given << " (transmit)";
    }
}

TEST(Settings, DepthWaitKeepsToItsRangeButRangeWaitDoesNot)
{
    const std::vector<AttenRow> rows = {
        {0.1f, 0.1f}, {10.0f, 10.0f}, {5.5f, 5.5f}, {20.0f, 2.0f}, {0.09f, 2.0f}, {10.01f, 2.0f}, {0.0f, 2.0f},
    };
    for (const AttenRow& r : rows) {
        clsSettings s;
        s.ANTDepthWait(2.0f);
        s.ANTDepthWait(r.given);
        EXPECT_EQ(s.ANTDepthWait(), r.stored) << "given " << r.given;
    }
    clsSettings s;
    s.ANTRangeWait(20.0f);
    EXPECT_EQ(s.ANTRangeWait(), 20.0f);
}

TEST(Settings, InterrogationRateKeepsToZeroToAnHour)
{
    const std::vector<std::pair<int16_t, int16_t>> rows = {
        {3600, 3600}, {0, 0}, {1, 1}, {3601, 5}, {-1, 5}, {32767, 5},
    };
    for (const auto& [given, stored] : rows) {
        clsSettings s;
        s.ANTInterrogationRate(5);
        s.ANTInterrogationRate(given);
        EXPECT_EQ(s.ANTInterrogationRate(), stored) << "given " << given;
    }
}

} // namespace
