#include "SpanwaveQuickset.h"

#include "clsGeneral.h"
#include "clsSpanwaveParams.h"
#include "tpdrnames.h"
#include "vberror.h"

std::array<QuicksetRecord, 10> Quicksets;

namespace SpanwaveQuickset {

namespace {
constexpr int16_t NoInterrogationChannel = Marker::NoIntChan;
}

void InitQuicksets()
{
    SetQuickset(1, "A1", 9, 4701, 250, 8.0f, 0.5f, 1, 0);
    SetQuickset(2, "A2", 9, 4703, 375, 8.0f, 0.5f, 1, 0);
    SetQuickset(3, "A3", 9, 4705, 500, 8.0f, 0.5f, 1, 0);
    SetQuickset(4, "B1", 10, 4601, 250, 8.0f, 0.5f, 1, 0);
    SetQuickset(5, "B2", 10, 4603, 375, 8.0f, 0.5f, 1, 0);
    SetQuickset(6, "B3", 10, 4605, 500, 8.0f, 0.5f, 1, 0);
    SetQuickset(7, "C1", 0, 4501, 250, 8.0f, 0.5f, 1, 0);
    SetQuickset(8, "C2", 0, 4503, 375, 8.0f, 0.5f, 1, 0);
    SetQuickset(9, "C3", 0, 4505, 500, 8.0f, 0.5f, 1, 0);
}

void SetQuickset(int16_t Index, const std::string& Name, int16_t MFNumber, int16_t CommandAddress, int16_t TAT,
                 float PulseWidth, float Block, int16_t GainIndex, int16_t PowerIndex)
{
    if (Index < 1 || Index > 9) {
        Raise(ErrNo::SubscriptOutOfRange);
    }
    Quicksets[static_cast<size_t>(Index)] =
        QuicksetRecord{Name, MFNumber, CommandAddress, static_cast<float>(TAT), PulseWidth, Block, GainIndex,
                       PowerIndex};
}

int16_t FindQuickset()
{
    // Kept at full width: narrowing a stray channel number or a large code to
    // 16 bits could wrap it onto a preset (or overflow) instead of matching none.
    const int32_t chan = NavParams.OrvaneIntChan();
    if (chan == NoInterrogationChannel) {
        return 0;
    }
    const std::string chanText = NavParams.OrvaneIntChanString(chan);
    const int32_t code = int32_t{NavParams.AddressCode(false)} * 100 + NavParams.ChannelCode(false);
    if (code < 1) {
        return 0;
    }
    const float tat = EditGenParam.TAT();
    if (tat <= 0.0f) {
        return 0;
    }
    const float pulseWidth = EditGenParam.PulseWidth();

    for (int16_t i = 1; i <= 9; ++i) {
        const QuicksetRecord& q = Quicksets[static_cast<size_t>(i)];
        // Exact comparisons: a TAT read back as 375.04 is not the 375 preset.
        if (chanText == "MF" + std::to_string(q.MFNumber) && q.CommandAddress == code && q.TAT == tat &&
            q.PulseWidth == pulseWidth) {
            return i;
        }
    }
    return 0;
}

} // namespace SpanwaveQuickset
