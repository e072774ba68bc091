#include "error_of.h"
#include "SpanwaveQuickset.h"
#include "clsGeneral.h"
#include "clsSpanwaveParams.h"
#include "vberror.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Preset {
    int16_t index;
    const char* name;
    int16_t mf;
    int16_t address;
    float tat;
    float pulseWidth;
    float block;
    int16_t gain;
    int16_t power;
};

const Preset Presets[] = {
    {1, "A1", 9, 4701, 250, 8.0f, 0.5f, 1, 0},  {2, "A2", 9, 4703, 375, 8.0f, 0.5f, 1, 0},
    {3, "A3", 9, 4705, 500, 8.0f, 0.5f, 1, 0},  {4, "B1", 10, 4601, 250, 8.0f, 0.5f, 1, 0},
    {5, "B2", 10, 4603, 375, 8.0f, 0.5f, 1, 0}, {6, "B3", 10, 4605, 500, 8.0f, 0.5f, 1, 0},
    {7, "C1", 0, 4501, 250, 8.0f, 0.5f, 1, 0},  {8, "C2", 0, 4503, 375, 8.0f, 0.5f, 1, 0},
    {9, "C3", 0, 4505, 500, 8.0f, 0.5f, 1, 0},
};

class Quickset : public ::testing::Test {
protected:
    void SetUp() override { SpanwaveQuickset::InitQuicksets(); }

    // Interrogation channel by its text's number (channel = MF number + 1).
    static void Hold(int16_t mf, int16_t addressCode, int16_t channelCode, float tat, float pulseWidth)
    {
        NavParams.OrvaneIntChan(mf + 1);
        NavParams.AddressCode(false, addressCode);
        NavParams.ChannelCode(false, channelCode);
        EditGenParam.TAT(tat);
        EditGenParam.PulseWidth(pulseWidth);
    }
    static void Hold(const Preset& p)
    {
        Hold(p.mf, static_cast<int16_t>(p.address / 100), static_cast<int16_t>(p.address % 100), p.tat,
             p.pulseWidth);
    }
};

TEST_F(Quickset, TableHoldsTheNinePresets)
{
    for (const auto& p : Presets) {
        const QuicksetRecord& q = Quicksets[static_cast<size_t>(p.index)];
        SCOPED_TRACE(p.name);
        EXPECT_EQ(q.Name, p.name);
        EXPECT_EQ(q.MFNumber, p.mf);
        EXPECT_EQ(q.CommandAddress, p.address);
        EXPECT_EQ(q.TAT, p.tat);
        EXPECT_EQ(q.PulseWidth, p.pulseWidth);
        EXPECT_EQ(q.Block, p.block);
        EXPECT_EQ(q.GainIndex, p.gain);
        EXPECT_EQ(q.PowerIndex, p.power);
    }
}

TEST_F(Quickset, SetQuicksetRejectsIndexesOutsideOneToNine)
{
    for (int16_t index : {0, 10, -1}) {
        EXPECT_EQ(ErrorOf([index] { SpanwaveQuickset::SetQuickset(index, "X", 1, 101, 100, 4.0f, 1.0f, 0, 0); }),
                  ErrNo::SubscriptOutOfRange)
            << index;
    }
}

// Block, gain and power take no part: they are held at values no preset has.
TEST_F(Quickset, EachPresetIsFound)
{
    EditGenParam.Block(2.5f);
    EditGenParam.Gain(3);
    EditGenParam.PowerLevel(2);
    for (const auto& p : Presets) {
        Hold(p);
        EXPECT_EQ(SpanwaveQuickset::FindQuickset(), p.index) << p.name;
    }
}

// One compared field off, including onto a neighbouring preset's value.
TEST_F(Quickset, OneFieldOffMatchesNothing)
{
    const struct {
        const char* what;
        std::function<void()> change;
    } misses[] = {
        {"channel +1", [] { NavParams.OrvaneIntChan(NavParams.OrvaneIntChan() + 1); }},
        {"channel CIF", [] { NavParams.OrvaneIntChan(0); }},
        {"address code +1", [] { NavParams.AddressCode(false, NavParams.AddressCode(false) + 1); }},
        {"address code -1", [] { NavParams.AddressCode(false, NavParams.AddressCode(false) - 1); }},
        {"channel code +1", [] { NavParams.ChannelCode(false, NavParams.ChannelCode(false) + 1); }},
        {"channel code of next column",
         [] {
             const int16_t c = NavParams.ChannelCode(false);
             NavParams.ChannelCode(false, c == 5 ? int16_t{1} : static_cast<int16_t>(c + 2));
         }},
        {"TAT +0.04", [] { EditGenParam.TAT(EditGenParam.TAT() + 0.04f); }},
        {"TAT -0.04", [] { EditGenParam.TAT(EditGenParam.TAT() - 0.04f); }},
        {"TAT of next column",
         [] { EditGenParam.TAT(EditGenParam.TAT() == 500 ? 250 : EditGenParam.TAT() + 125); }},
        {"pulse width 4.0", [] { EditGenParam.PulseWidth(4.0f); }},
        {"pulse width 8.04", [] { EditGenParam.PulseWidth(8.04f); }},
    };
    for (const auto& p : Presets) {
        for (const auto& m : misses) {
            Hold(p);
            m.change();
            EXPECT_EQ(SpanwaveQuickset::FindQuickset(), 0) << p.name << ": " << m.what;
        }
    }
}

TEST_F(Quickset, EdgeCases)
{
    const struct {
        const char* what;
        int32_t chan;
        int16_t addressCode, channelCode;
        float tat, pulseWidth;
        int16_t expected;
    } rows[] = {
        {"MF9 4703 375 8", 10, 47, 3, 375.0f, 8.0f, 2},
        {"MF9 4703 375 4", 10, 47, 3, 375.0f, 4.0f, 0},
        {"TAT 375.04", 10, 47, 3, 375.04f, 8.0f, 0},
        {"codes 0 and 0", 10, 0, 0, 375.0f, 8.0f, 0},
        {"codes not read", 10, -1, -1, 375.0f, 8.0f, 0},
        {"no interrogation channel", 19, 47, 3, 375.0f, 8.0f, 0},
        {"TAT 0", 10, 47, 3, 0.0f, 8.0f, 0},
        {"TAT negative", 10, 47, 3, -375.0f, 8.0f, 0},
        // Would wrap onto MF9 / 4701 in 16 bits.
        {"channel 65546", 65546, 47, 1, 250.0f, 8.0f, 0},
        {"address 702 channel 37", 10, 702, 37, 250.0f, 8.0f, 0},
        {"address code 32767", 10, 32767, 1, 250.0f, 8.0f, 0},
    };
    for (const auto& r : rows) {
        NavParams.OrvaneIntChan(r.chan);
        NavParams.AddressCode(false, r.addressCode);
        NavParams.ChannelCode(false, r.channelCode);
        EditGenParam.TAT(r.tat);
        EditGenParam.PulseWidth(r.pulseWidth);
        EXPECT_EQ(SpanwaveQuickset::FindQuickset(), r.expected) << r.what;
    }
}

TEST_F(Quickset, FirstMatchingIndexWins)
{
    SpanwaveQuickset::SetQuickset(5, "A1", 9, 4701, 250, 8.0f, 0.5f, 1, 0);
    SpanwaveQuickset::SetQuickset(1, "Z", 9, 4701, 251, 8.0f, 0.5f, 1, 0);
    Hold(Presets[0]);
    EXPECT_EQ(SpanwaveQuickset::FindQuickset(), 5);
    SpanwaveQuickset::SetQuickset(3, "A1", 9, 4701, 250, 8.0f, 0.5f, 1, 0);
    EXPECT_EQ(SpanwaveQuickset::FindQuickset(), 3);
}

} // namespace
