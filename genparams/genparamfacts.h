// The ten general parameters described once: how each is compared and copied,
// which control edits it, which controls show its colour and its tool tip, and
// which read group carries it. The dialog's checks, colours, tool tips, copies
// and Set gate all read this table.
#pragma once

#include "clsGeneral.h"
#include "vberror.h"

#include <array>
#include <cstdint>

// What a field's Validate hands over as the edited value.
enum class GenFieldText {
    Text,      // the field's text
    ListIndex, // the list index as decimal text
    None,      // no field of its own (the channel code rides in the full address)
};

struct GenParamFacts {
    int32_t number;
    bool single;                         // a 32-bit float value (else 16-bit integer)
    const char* field;                   // the control that edits it; a pair of twins by base name
    GenFieldText text;
    bool twins;                          // one combo on each panel, kept in step
    std::array<const char*, 3> coloured; // coloured together
    std::array<const char*, 2> tips;     // carry its tool tip
    bool tipByFirmware;                  // the tool tip depends on the firmware
    double (*get)(const clsGeneral&);
    void (*set)(clsGeneral&, double);
};

// clang-format off
inline constexpr std::array<GenParamFacts, 10> GenParamTable{{
    {1,  false, "cboGain",        GenFieldText::ListIndex, true,  {"cboGain_0", "cboGain_1"},                     {"cboGain_0", "cboGain_1"},             false,
     [](const clsGeneral& g) -> double { return g.Gain(); },        [](clsGeneral& g, double v) { g.Gain(static_cast<int16_t>(v)); }},
    {2,  false, "cboAddress",     GenFieldText::Text,      false, {"cboAddress", "txtAddress", "lblQuickData_1"}, {"cboAddress"},                         true,
     [](const clsGeneral& g) -> double { return g.Address(); },     [](clsGeneral& g, double v) { g.Address(static_cast<int16_t>(v)); }},
    {3,  false, "cboIdentity",    GenFieldText::ListIndex, false, {"cboIdentity"},                                {"cboIdentity"},                        false,
     [](const clsGeneral& g) -> double { return g.Identity(); },    [](clsGeneral& g, double v) { g.Identity(static_cast<int16_t>(v)); }},
    {4,  true,  "cboGenTAT",      GenFieldText::Text,      false, {"cboGenTAT", "lblQuickData_2"},                {"cboGenTAT", "lblQuickData_2"},        false,
     [](const clsGeneral& g) -> double { return g.TAT(); },         [](clsGeneral& g, double v) { g.TAT(static_cast<float>(v)); }},
    {5,  true,  "txtPulseWidth",  GenFieldText::Text,      false, {"txtPulseWidth"},                              {"txtPulseWidth"},                      false,
     [](const clsGeneral& g) -> double { return g.PulseWidth(); },  [](clsGeneral& g, double v) { g.PulseWidth(static_cast<float>(v)); }},
    {6,  true,  "cboBlock",       GenFieldText::Text,      false, {"cboBlock"},                                   {"cboBlock"},                           false,
     [](const clsGeneral& g) -> double { return g.Block(); },       [](clsGeneral& g, double v) { g.Block(static_cast<float>(v)); }},
    {7,  true,  "txtRelayOnTime", GenFieldText::Text,      false, {"txtRelayOnTime"},                             {"txtRelayOnTime"},                     false,
     [](const clsGeneral& g) -> double { return g.RelayOnTime(); }, [](clsGeneral& g, double v) { g.RelayOnTime(static_cast<float>(v)); }},
    {8,  false, "",               GenFieldText::None,      false, {"txtAddress", "lblQuickData_1"},               {},                                     false,
     [](const clsGeneral& g) -> double { return g.ChannelCode(); }, [](clsGeneral& g, double v) { g.ChannelCode(static_cast<int16_t>(v)); }},
    {9,  false, "cboPowerLevel",  GenFieldText::ListIndex, true,  {"cboPowerLevel_0", "cboPowerLevel_1"},         {"cboPowerLevel_0", "cboPowerLevel_1"}, false,
     [](const clsGeneral& g) -> double { return g.PowerLevel(); },  [](clsGeneral& g, double v) { g.PowerLevel(static_cast<int16_t>(v)); }},
    {10, true,  "cboVariableTAT", GenFieldText::Text,      false, {"cboVariableTAT"},                             {"cboVariableTAT"},                     false,
     [](const clsGeneral& g) -> double { return g.VariableTAT(); }, [](clsGeneral& g, double v) { g.VariableTAT(static_cast<float>(v)); }},
}};
// clang-format on

inline const GenParamFacts& GenParamRow(int32_t number) { return GenParamTable.at(static_cast<size_t>(number - 1)); }

// Whether a value differs from another as the transponder sees it. A time
// value compares by the code it travels as: 187.48 ms read back and the
// 187.5 ms item both send 12 3A, and 5.5 s of relay-on time is the ten units
// of 5.243 s. Values no code carries, and the others, compare exactly (both
// copies hold the same type).
inline bool GenValueDiffers(int32_t number, double a, double b)
{
    if (number == 4 || number == 5 || number == 6 || number == 7 || number == 10) {
        try {
            return clsGeneral::TimeCode(number, static_cast<float>(a)) !=
                   clsGeneral::TimeCode(number, static_cast<float>(b));
        } catch (const VBError&) {
        }
    }
    return a != b;
}

// What a time value's field shows: the value as it travels, that is the code
// Set sends for it read back (2.3 s of blocking period is 2.5 s, 30 s of
// relay-on time the 57 units of 29.9 s). A value no code carries is shown as
// it is.
inline float GenValueAsSent(int32_t number, float value)
{
    try {
        return clsGeneral::SentValue(number, value);
    } catch (const VBError&) {
        return value;
    }
}

// Whether the edited value differs from the read one. What was not read is
// not known to be the unit's: no value is the same as it.
inline bool GenParamChanged(int32_t number, const clsGeneral& edited, const clsGeneral& read)
{
    if (!read.ReadOK(number)) {
        return true;
    }
    const GenParamFacts& row = GenParamRow(number);
    return GenValueDiffers(number, row.get(edited), row.get(read));
}

// The read groups in the order they are read: the gate item and the
// parameters decoded from the group.
struct GenReadGroup {
    int32_t group;
    int32_t gate;
    std::array<int32_t, 4> params; // 0 ends the list
};
inline constexpr std::array<GenReadGroup, 7> GenReadGroups{{
    {0, 1, {1}}, {1, 2, {2}}, {2, 3, {3, 4, 5, 6}}, {3, 7, {7}}, {4, 8, {8}}, {5, 9, {9}}, {6, 10, {10}},
}};
