#include "store.h"

#include "firmwarereader.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

using State = std::map<std::string, double>;

std::string Key(const std::string& name, int i) { return name + std::to_string(i); }

// Every value the resets may touch, by name, so that a test also sees what
// must stay as it was.
State Snapshot()
{
    State s{{"FWVersion", TpdrFirmware.FWVersion()}, {"BatteryCount", TpdrBattery.BatteryCount()}};
    for (const auto& [n, d] : {std::pair<std::string, clsDepth*>{"R.", &ReadDepth}, {"E.", &EditDepth}}) {
        s.insert({{n + "OnOff", d->OnOff()}, {n + "ZeroOffset", d->ZeroOffset()}, {n + "Sensor", d->Sensor()},
                  {n + "Scale300", d->Scale300()}, {n + "Scale400", d->Scale400()}, {n + "Byte400", d->Byte400()},
                  {n + "HiPap", d->HiPap()}, {n + "Byte300", d->Byte300()}, {n + "Byte400Hi", d->Byte400Hi()},
                  {n + "Byte400Lo", d->Byte400Lo()}, {n + "HiPapShow", d->HiPapShow()},
                  {n + "HasBeenRead", d->HasBeenRead()}});
        for (int i = 0; i <= 13; ++i) {
            s.insert({{Key(n + "ReadOK", i), d->ReadOK(i)}, {Key(n + "OKToWrite", i), d->OKToWrite(i)}});
        }
    }
    for (const auto& [n, t] : {std::pair<std::string, clsMultiTAT*>{"R.TAT.", &ReadMultiTAT}, {"E.TAT.", &EditMultiTAT}}) {
        s[n + "HasBeenRead"] = t->HasBeenRead();
        for (int16_t i = 0; i <= 13; ++i) {
            s.insert({{Key(n + "Value", i), t->Value(i)}, {Key(n + "ReadOK", i), t->ReadOK(i)},
                      {Key(n + "OKToWrite", i), t->OKToWrite(i)}});
        }
    }
    for (const auto& [n, g] : {std::pair<std::string, clsGeneral*>{"R.Gen.", &ReadGenParam}, {"E.Gen.", &EditGenParam}}) {
        s.insert({{n + "Address", g->Address()}, {n + "Gain", g->Gain()}, {n + "TAT", g->TAT()},
                  {n + "Block", g->Block()}, {n + "PulseWidth", g->PulseWidth()}, {n + "Identity", g->Identity()},
                  {n + "RelayOnTime", g->RelayOnTime()}, {n + "ChannelCode", g->ChannelCode()},
                  {n + "HasBeenRead", g->HasBeenRead()}});
        for (int i = 0; i <= 11; ++i) {
            s.insert({{Key(n + "ReadOK", i), g->ReadOK(i)}, {Key(n + "OKToWrite", i), g->OKToWrite(i)}});
        }
    }
    return s;
}

// Everything read and valid, with values no reset writes.
void MakeAllRead(int32_t fw)
{
    TpdrFirmware.FWVersion(fw);
    TpdrBattery.BatteryCount(200);
    for (clsDepth* d : {&ReadDepth, &EditDepth}) {
        d->OnOff(1); d->ZeroOffset(7); d->Sensor(2); d->Scale300(1.5f); d->Scale400(2.5f); d->Byte400(3.5f);
        d->HiPap(4.5f); d->Byte300(9); d->Byte400Hi(10); d->Byte400Lo(11); d->HiPapShow(true); d->HasBeenRead(true);
        for (int i = 0; i <= 13; ++i) {
            d->ReadOK(i, true); d->OKToWrite(i, true);
        }
    }
    for (clsMultiTAT* t : {&ReadMultiTAT, &EditMultiTAT}) {
        t->HasBeenRead(true);
        for (int16_t i = 0; i <= 13; ++i) {
            t->Value(i, 100.0f + static_cast<float>(i)); t->ReadOK(i, true); t->OKToWrite(i, true);
        }
    }
    for (clsGeneral* g : {&ReadGenParam, &EditGenParam}) {
        g->Address(47); g->Gain(2); g->TAT(500); g->Block(1); g->PulseWidth(8); g->Identity(3);
        g->RelayOnTime(57); g->ChannelCode(1); g->HasBeenRead(true);
        for (int i = 0; i <= 11; ++i) {
            g->ReadOK(i, true); g->OKToWrite(i, true);
        }
    }
}

void ExpectState(const State& expected, const std::string& label)
{
    const State now = Snapshot();
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(now.at(key), value) << label << ": " << key;
    }
}

State With(State s, const State& changes)
{
    for (const auto& [k, v] : changes) {
        s.at(k) = v;
    }
    return s;
}

void Flags(State& s, const std::string& name, int first, int last, double v)
{
    for (int i = first; i <= last; ++i) {
        s[Key(name, i)] = v;
    }
}

// The group 5 changes, step by step.
State DepthChanges(bool keepOnOff, bool keepZeroOffset)
{
    State c;
    if (!keepOnOff) {
        c.insert({{"R.OnOff", 0}, {"R.ReadOK1", 0}, {"E.OKToWrite1", 0}, {"E.OnOff", 0}});
    }
    if (!keepZeroOffset) {
        c.insert({{"R.ZeroOffset", -1}, {"R.ReadOK2", 0}, {"E.OKToWrite2", 0}, {"E.ZeroOffset", -1}});
    }
    Flags(c, "R.ReadOK", 3, 12, 0);
    Flags(c, "E.OKToWrite", 3, 12, 0);
    for (const std::string n : {"R.", "E."}) {
        c.insert({{n + "Sensor", -1}, {n + "Scale300", -0.5}, {n + "Scale400", 0}, {n + "Byte400", 0},
                  {n + "HiPap", static_cast<double>(-0.9625f)}, {n + "Byte300", 0}, {n + "Byte400Hi", 0},
                  {n + "Byte400Lo", -1}, {n + "HiPapShow", 0}});
    }
    return c;
}

State TATChanges()
{
    State c;
    Flags(c, "R.TAT.ReadOK", 0, 9, 0);
    Flags(c, "E.TAT.OKToWrite", 0, 9, 0);
    Flags(c, "R.TAT.Value", 0, 9, 61.5);
    Flags(c, "E.TAT.Value", 0, 9, 61.5);
    return c;
}

State GeneralChanges()
{
    State c;
    for (const std::string n : {"R.Gen.", "E.Gen."}) {
        c.insert({{n + "Address", 0}, {n + "Gain", -1}, {n + "TAT", 61.5}, {n + "Block", -0.5},
                  {n + "PulseWidth", 3.0}, {n + "Identity", -1}});
    }
    c["E.Gen.RelayOnTime"] = 0;
    Flags(c, "R.Gen.ReadOK", 2, 7, 0);
    Flags(c, "E.Gen.OKToWrite", 2, 7, 0);
    return c;
}

TEST(Resets, EachGroupChangesOnlyItsObjects)
{
    const struct {
        int32_t group;
        bool keepOnOff, keepZeroOffset;
        State changes;
    } rows[] = {
        {0, true, true, {{"FWVersion", 0}}},
        {1, true, true, {{"BatteryCount", -1}}},
        {2, false, false, {}},
        {3, false, false, {}},
        {4, false, false, {}},
        {5, false, false, DepthChanges(false, false)},
        {5, true, false, DepthChanges(true, false)},
        {5, false, true, DepthChanges(false, true)},
        {5, true, true, DepthChanges(true, true)},
        {6, true, true, TATChanges()},
        {7, true, true, GeneralChanges()},
        {8, false, false, {}},
        {-1, false, false, {}},
    };
    for (const auto& r : rows) {
        MakeAllRead(411);
        const State before = Snapshot();
        CommonProcs::ResetParamGroup(r.group, r.keepOnOff, r.keepZeroOffset);
        ExpectState(With(before, r.changes),
                    "group " + std::to_string(r.group) + " keep " + std::to_string(r.keepOnOff) + "/" +
                        std::to_string(r.keepZeroOffset));
    }
}

TEST(Resets, ClearUnsupportedReads)
{
    const struct {
        int32_t fw;
        bool reset;
        bool depthKept, tatKept, generalKept;
    } rows[] = {
        {0, false, true, true, true},    // firmware unknown: nothing changes
        {0, true, false, false, false},
        {411, true, false, false, false},
        {453, false, true, true, true},  // test mode supplies all three
        {411, false, true, false, false},
        {100, false, true, false, true},
        {340, false, false, true, false},
        {61, false, false, false, false},
    };
    for (const auto& r : rows) {
        MakeAllRead(r.fw);
        const State before = Snapshot();
        CommonProcs::ClearUnsupportedReads(r.reset);
        ExpectState(With(before, {{"R.HasBeenRead", r.depthKept},
                                  {"R.TAT.HasBeenRead", r.tatKept},
                                  {"R.Gen.HasBeenRead", r.generalKept}}),
                    "fw " + std::to_string(r.fw) + (r.reset ? " reset" : ""));
    }
}

TEST(Resets, FirmwareReaderClearsThroughTheWiredHook)
{
    WireStore();
    MakeAllRead(411);
    ClearUnsupportedReadsHook(false);
    EXPECT_TRUE(ReadDepth.HasBeenRead());
    EXPECT_FALSE(ReadMultiTAT.HasBeenRead());
}

} // namespace
